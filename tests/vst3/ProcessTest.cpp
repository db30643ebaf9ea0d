// The audio callback: parameter queues, bypass and preset parameters, buffer binding for both
// sample sizes, side-chain switching, and blocks of unusual shapes.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "Vst3Plugin.h"
#include "pluginterfaces/vst/vstspeaker.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Main input: a moderate two-tone signal; side chain: a loud low tone. Values are exact floats
// so both sample sizes see the same input.
double TestSignal(int channel, long frame) {
  const double t = double(frame);
  double value = channel < 2
                     ? 0.3 * std::sin(0.031 * t * (channel + 1)) + 0.1 * std::sin(0.0013 * t)
                     : 0.9 * std::sin(0.05 * t + channel);
  return double(float(value));
}

double Plain(Vst3Plugin& plug, ParamID id) {
  return plug.controller->normalizedParamToPlain(id, plug.controller->getParamNormalized(id));
}

// Processes frames of the test signal starting at startFrame.
void RunBlock(Vst3Plugin& plug, ProcessRig& rig, int frames, long startFrame, int inputBuses = 2,
              int outputBuses = 1, IParameterChanges* changes = nullptr) {
  rig.FillInputs(frames, startFrame, TestSignal);
  ASSERT_EQ(plug.processor->process(rig.Data(frames, inputBuses, outputBuses, changes)), kResultOk);
}

void Apply(Vst3Plugin& plug, ParamID id, std::vector<double> values) {
  TestParameterChanges changes;
  changes.Add(id, std::move(values));
  ProcessRig rig(1, true);
  ASSERT_EQ(plug.processor->process(rig.Data(0, 0, 0, &changes)), kResultOk);
}

std::vector<double> Outputs(const ProcessRig& rig, int frames) {
  std::vector<double> out;
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < frames; ++s) out.push_back(rig.Output(c, s));
  }
  return out;
}

}  // namespace

TEST(ProcessParameters, OnlyTheLastPointOfEachQueueIsApplied) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 64, kSample64);
  TestParameterChanges changes;
  changes.Add(kParamMix, {0.1, 0.2, 0.75});
  changes.Add(kParamAttack, {});
  changes.Add(kParamRelease, {0.9}).unreadable = true;
  changes.Add(999, {0.3});
  changes.Add(kParamBypass, {0.4});
  ProcessRig rig(64, true);
  RunBlock(plug, rig, 64, 0, 2, 1, &changes);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.75);
  EXPECT_DOUBLE_EQ(Plain(plug, kParamAttack), 10.0) << "a queue without points is skipped";
  EXPECT_DOUBLE_EQ(Plain(plug, kParamRelease), 400.0) << "an unreadable point is skipped";
  EXPECT_DOUBLE_EQ(Plain(plug, kParamBypass), 0.0);
}

TEST(ProcessParameters, BypassSwitchesAboveOneHalfAndPassesTheMainInputThrough) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 128, kSample64, true);
  Apply(plug, kBypassId, {0.5});
  EXPECT_EQ(plug.controller->getParamNormalized(kBypassId), 0.0);
  Apply(plug, kBypassId, {0.51});
  EXPECT_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);

  ProcessRig rig(128, true);
  rig.MarkOutputs();
  RunBlock(plug, rig, 128, 500);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 128; ++s) ASSERT_EQ(rig.Output(c, s), TestSignal(c, 500 + s)) << c << s;
  }
  EXPECT_TRUE(rig.UntouchedFrom(128));
}

TEST(ProcessParameters, PresetParameterLoadsPresetZeroBelowOne) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 64, kSample64);
  Apply(plug, kParamMix, {0.25});
  Apply(plug, kPresetId, {1.0});
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.25)
      << "preset 1 does not exist";
  Apply(plug, kPresetId, {0.99});
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 1.0)
      << "preset 0 holds defaults";
  Apply(plug, kParamMix, {0.25});
  Apply(plug, kPresetId, {-3.0});
  Apply(plug, kPresetId, {1e300});
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.25);
}

TEST(ProcessParameters, FlushWithoutBusesAppliesChangesAndTouchesNoAudio) {
  Vst3Plugin plug;
  plug.Prepare(48000.0, 256, kSample32);
  TestParameterChanges changes;
  changes.Add(kParamMix, {0.5});
  changes.Add(kBypassId, {1.0});
  ProcessRig rig(256, false);
  EXPECT_EQ(plug.processor->process(rig.Data(0, 0, 0, &changes)), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.5);
  EXPECT_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
  rig.MarkOutputs();
  EXPECT_EQ(plug.processor->process(rig.Data(0, 2, 1)), kResultOk);
  EXPECT_TRUE(rig.UntouchedFrom(0));
}

TEST(ProcessBuffers, ThirtyTwoBitBlockWritesExactlyItsSamples) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 256, kSample32);
  ProcessRig rig(256, false);
  rig.MarkOutputs();
  RunBlock(plug, rig, 100, 0);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 100; ++s) {
      ASSERT_NE(rig.Output(c, s), double(ProcessRig::kMarker));
      ASSERT_TRUE(std::isfinite(rig.Output(c, s)));
    }
  }
  EXPECT_TRUE(rig.UntouchedFrom(100));
}

TEST(ProcessBuffers, InactiveOutputBusLeavesTheHostBuffersAlone) {
  for (int32 sampleSize : {kSample32, kSample64}) {
    Vst3Plugin plug;
    plug.component->initialize(&plug.host);
    plug.Setup(44100.0, 64, sampleSize);
    plug.component->setActive(true);
    ProcessRig rig(64, sampleSize == kSample64);
    rig.MarkOutputs();
    RunBlock(plug, rig, 64, 0);
    EXPECT_TRUE(rig.UntouchedFrom(0)) << "buses start inactive";
    plug.ActivateBus(kOutput, 0, true);
    RunBlock(plug, rig, 64, 64);
    EXPECT_FALSE(rig.UntouchedFrom(0));
    EXPECT_TRUE(rig.UntouchedFrom(64));
    plug.ActivateBus(kOutput, 0, false);
    rig.MarkOutputs();
    RunBlock(plug, rig, 64, 128);
    EXPECT_TRUE(rig.UntouchedFrom(0));
  }
}

TEST(ProcessBuffers, BlocksWithoutHostBuffersUseScratchOnly) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 64, kSample64);
  ProcessRig rig(64, true);
  rig.MarkOutputs();
  RunBlock(plug, rig, 64, 0, 0, 0);
  EXPECT_TRUE(rig.UntouchedFrom(0));
  RunBlock(plug, rig, 64, 64, 0, 1);
  for (int s = 0; s < 64; ++s) ASSERT_TRUE(std::isfinite(rig.Output(0, s)));
  EXPECT_TRUE(rig.UntouchedFrom(64));
  RunBlock(plug, rig, 64, 128, 1, 1);  // main bus only, side chain missing
  EXPECT_TRUE(rig.UntouchedFrom(64));
}

// Blocks beyond the announced maximum, and announced maxima beyond what the scratch buffers
// hold (a host's INT_MAX-sized promise), both run in slices that sound like short blocks.
TEST(ProcessBuffers, LongBlockIsProcessedInSlicesOfTheMaximumSize) {
  struct Case {
    int announced;
    int length;
  };
  for (const Case c : {Case{64, 1000}, Case{1 << 30, 20000}}) {
    for (int32 sampleSize : {kSample32, kSample64}) {
      const bool is64 = sampleSize == kSample64;
      Vst3Plugin whole, sliced;
      whole.Prepare(44100.0, c.announced, sampleSize);
      sliced.Prepare(44100.0, 64, sampleSize);
      ProcessRig wholeRig(c.length, is64), slicedRig(64, is64);
      wholeRig.MarkOutputs();
      RunBlock(whole, wholeRig, c.length, 0);
      EXPECT_TRUE(wholeRig.UntouchedFrom(c.length));
      for (int start = 0; start < c.length; start += 64) {
        const int frames = std::min(64, c.length - start);
        RunBlock(sliced, slicedRig, frames, start);
        for (int ch = 0; ch < 2; ++ch) {
          for (int s = 0; s < frames; ++s) {
            ASSERT_EQ(wholeRig.Output(ch, start + s), slicedRig.Output(ch, s))
                << c.announced << ": " << ch << " " << start + s;
          }
        }
      }
    }
  }
}

TEST(ProcessBuffers, ThirtyTwoBitOutputIsTheSixtyFourBitOutputRounded) {
  Vst3Plugin narrow, wide;
  narrow.Prepare(48000.0, 512, kSample32, true);
  wide.Prepare(48000.0, 512, kSample64, true);
  for (Vst3Plugin* plug : {&narrow, &wide}) {
    Apply(*plug, kParamInput, {0.8});
    Apply(*plug, kParamSidechain, {1.0});
    Apply(*plug, kParamMix, {0.7});
  }
  ProcessRig narrowRig(512, false), wideRig(512, true);
  for (long start = 0; start < 4096; start += 512) {
    RunBlock(narrow, narrowRig, 512, start);
    RunBlock(wide, wideRig, 512, start);
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < 512; ++s) {
        ASSERT_EQ(float(narrowRig.Output(c, s)), float(wideRig.Output(c, s))) << start + s;
      }
    }
  }
}

TEST(SideChain, FirstBlockAfterSwitchingOffHearsSilence) {
  // Three instances share a loud side-chain block, then: one switches the bus off, one keeps
  // it on with silence, one keeps it on and loud.
  Vst3Plugin off, silent, loud;
  for (Vst3Plugin* plug : {&off, &silent, &loud}) {
    plug->Prepare(48000.0, 256, kSample32, true);
    Apply(*plug, kParamSidechain, {1.0});
    Apply(*plug, kParamInput, {1.0});
  }
  ProcessRig offRig(256, false), silentRig(256, false), loudRig(256, false);
  RunBlock(off, offRig, 256, 0);
  RunBlock(silent, silentRig, 256, 0);
  RunBlock(loud, loudRig, 256, 0);

  off.ActivateBus(kInput, 1, false);
  RunBlock(off, offRig, 256, 256);
  loudRig.FillInputs(256, 256, TestSignal);
  ASSERT_EQ(loud.processor->process(loudRig.Data(256, 2, 1)), kResultOk);
  silentRig.FillInputs(256, 256, [](int c, long f) { return c < 2 ? TestSignal(c, f) : 0.0; });
  ASSERT_EQ(silent.processor->process(silentRig.Data(256, 2, 1)), kResultOk);

  EXPECT_EQ(Outputs(offRig, 256), Outputs(silentRig, 256));
  EXPECT_NE(Outputs(loudRig, 256), Outputs(silentRig, 256)) << "the side chain must matter";

  // Switched on again, the side chain is heard again.
  off.ActivateBus(kInput, 1, true);
  RunBlock(off, offRig, 256, 512);
  silentRig.FillInputs(256, 512, [](int c, long f) { return c < 2 ? TestSignal(c, f) : 0.0; });
  ASSERT_EQ(silent.processor->process(silentRig.Data(256, 2, 1)), kResultOk);
  EXPECT_NE(Outputs(offRig, 256), Outputs(silentRig, 256));
}

// Ardour switches a new side-chain bus on before it arranges the buses (mono, then stereo side
// chain); other hosts arrange first. Either way the key must duck the output, and alike.
TEST(SideChain, KeyActsWhetherTheBusIsActivatedBeforeOrAfterArranging) {
  auto arrange = [](Vst3Plugin& plug, SpeakerArrangement sideChain) {
    SpeakerArrangement inputs[2] = {SpeakerArr::kStereo, sideChain};
    SpeakerArrangement output = SpeakerArr::kStereo;
    ASSERT_EQ(plug.processor->setBusArrangements(inputs, 2, &output, 1), kResultOk);
  };
  using Order = std::function<void(Vst3Plugin&)>;
  const std::vector<std::pair<const char*, Order>> orders = {
      {"activate, then arrange mono and stereo",
       [&](Vst3Plugin& plug) {
         plug.ActivateBus(kInput, 1, true);
         arrange(plug, SpeakerArr::kMono);
         arrange(plug, SpeakerArr::kStereo);
       }},
      {"arrange mono and stereo, then activate",
       [&](Vst3Plugin& plug) {
         arrange(plug, SpeakerArr::kMono);
         arrange(plug, SpeakerArr::kStereo);
         plug.ActivateBus(kInput, 1, true);
       }},
  };
  std::vector<std::vector<double>> results;
  for (const auto& [name, order] : orders) {
    Vst3Plugin keyed, unkeyed;
    for (Vst3Plugin* plug : {&keyed, &unkeyed}) {
      plug->component->initialize(&plug->host);
      order(*plug);
      plug->Setup(48000.0, 256, kSample32);
      plug->ActivateBus(kInput, 0, true);
      plug->ActivateBus(kOutput, 0, true);
      plug->component->setActive(true);
      Apply(*plug, kParamSidechain, {1.0});
      Apply(*plug, kParamInput, {1.0});
    }
    ProcessRig keyedRig(256, false), unkeyedRig(256, false);
    RunBlock(keyed, keyedRig, 256, 0);
    unkeyedRig.FillInputs(256, 0, [](int c, long f) { return c < 2 ? TestSignal(c, f) : 0.0; });
    ASSERT_EQ(unkeyed.processor->process(unkeyedRig.Data(256, 2, 1)), kResultOk);
    EXPECT_NE(Outputs(keyedRig, 256), Outputs(unkeyedRig, 256)) << name << ": the key is ignored";
    results.push_back(Outputs(keyedRig, 256));
  }
  EXPECT_EQ(results[0], results[1]) << "the order of the calls changed the sound";
}

TEST(SideChain, MissingSideChainBusReadsSilence) {
  Vst3Plugin missing, silent;
  for (Vst3Plugin* plug : {&missing, &silent}) {
    plug->Prepare(48000.0, 256, kSample32, true);
    Apply(*plug, kParamSidechain, {1.0});
    Apply(*plug, kParamInput, {1.0});
  }
  ProcessRig missingRig(256, false), silentRig(256, false);
  RunBlock(missing, missingRig, 256, 0);
  RunBlock(silent, silentRig, 256, 0);
  RunBlock(missing, missingRig, 256, 256, 1, 1);
  silentRig.FillInputs(256, 256, [](int c, long f) { return c < 2 ? TestSignal(c, f) : 0.0; });
  ASSERT_EQ(silent.processor->process(silentRig.Data(256, 2, 1)), kResultOk);
  EXPECT_EQ(Outputs(missingRig, 256), Outputs(silentRig, 256));
}

TEST(ProcessBuffers, BlockBeforeAnySetupIsSilence) {
  Vst3Plugin plug;
  plug.component->initialize(&plug.host);
  plug.ActivateBus(kOutput, 0, true);
  plug.component->setActive(true);
  ProcessRig rig(64, false);  // the sample size hosts get before any setup
  rig.MarkOutputs();
  RunBlock(plug, rig, 64, 0);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 64; ++s) ASSERT_EQ(rig.Output(c, s), 0.0);
  }
  EXPECT_TRUE(rig.UntouchedFrom(64));
}

TEST(ProcessBuffers, MalformedHostBusesAreNeitherReadNorWritten) {
  Vst3Plugin plug;
  plug.Prepare(44100.0, 64, kSample64, true);
  ProcessRig rig(64, true);
  rig.FillInputs(64, 0, TestSignal);
  rig.MarkOutputs();

  ProcessData& data = rig.Data(64, 2, 1);
  data.outputs[0].channelBuffers64 = nullptr;
  data.inputs[1].channelBuffers64 = nullptr;
  EXPECT_EQ(plug.processor->process(data), kResultOk);
  EXPECT_TRUE(rig.UntouchedFrom(0));

  ProcessData& negative = rig.Data(64, 2, 1);
  negative.outputs[0].numChannels = -3;
  negative.inputs[0].numChannels = -1;
  EXPECT_EQ(plug.processor->process(negative), kResultOk);
  EXPECT_TRUE(rig.UntouchedFrom(0));

  ProcessData& noSamples = rig.Data(-5, 2, 1);
  EXPECT_EQ(plug.processor->process(noSamples), kResultOk);
  EXPECT_TRUE(rig.UntouchedFrom(0));

  ProcessData& oneChannel = rig.Data(64, 2, 1);
  oneChannel.outputs[0].numChannels = 1;
  EXPECT_EQ(plug.processor->process(oneChannel), kResultOk);
  EXPECT_FALSE(rig.UntouchedFrom(0));
  for (int s = 0; s < 64 + ProcessRig::kGuard; ++s) {
    ASSERT_EQ(rig.Output(1, s), double(ProcessRig::kMarker)) << "second channel not handed over";
  }
}
