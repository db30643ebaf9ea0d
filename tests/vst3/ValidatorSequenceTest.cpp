// One instance kept through the kind of long sequence validators and hosts run: terminate and
// initialize again, arrangements accepted and refused, buses switched, odd sample rates and
// block sizes, flushes without buses. Every step answers as it should and the instance keeps
// working afterwards.

#include <gtest/gtest.h>

#include <cmath>

#include "Vst3Plugin.h"
#include "pluginterfaces/vst/vstspeaker.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

double Noise(int channel, long frame) {
  uint32_t x = uint32_t(frame) * 2654435761u + uint32_t(channel) * 40503u;
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  x ^= x >> 15;
  return double(float(double(x % 20001u) / 10000.0 - 1.0));
}

// Processes one block and checks what a host can see of it.
void ProcessAndCheck(Vst3Plugin& plug, ProcessRig& rig, int frames, bool is64, int inputBuses,
                     IParameterChanges* changes = nullptr) {
  rig.FillInputs(frames, 0, Noise);
  rig.MarkOutputs();
  ASSERT_EQ(plug.processor->process(rig.Data(frames, inputBuses, 1, changes)), kResultOk);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < frames; ++s) {
      ASSERT_TRUE(std::isfinite(rig.Output(c, s))) << "channel " << c << " frame " << s;
      ASSERT_NE(rig.Output(c, s), double(ProcessRig::kMarker)) << "channel " << c << " frame " << s;
    }
  }
  ASSERT_TRUE(rig.UntouchedFrom(frames)) << is64;
}

void CheckFreshlyInitialized(Vst3Plugin& plug) {
  EXPECT_EQ(plug.component->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(plug.component->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(plug.controller->getParameterCount(), 10);
  ParameterInfo info = {};
  EXPECT_EQ(plug.controller->getParameterInfo(1, info), kResultOk);
  EXPECT_EQ(info.id, kBypassId);
}

}  // namespace

TEST(ValidatorSequence, InstanceSurvivesALongHostSequence) {
  Vst3Plugin plug;
  ASSERT_TRUE(plug.Valid());
  TestComponentHandler handler;

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(plug.component->initialize(&plug.host), kResultOk);
    CheckFreshlyInitialized(plug);
    EXPECT_EQ(plug.controller->setComponentHandler(&handler), kResultOk);

    SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    SpeakerArrangement mono[2] = {SpeakerArr::kMono, SpeakerArr::kStereo};
    SpeakerArrangement out = SpeakerArr::kStereo;
    EXPECT_EQ(plug.processor->setBusArrangements(stereo, 2, &out, 1), kResultOk);
    EXPECT_EQ(plug.processor->setBusArrangements(mono, 2, &out, 1), kResultFalse);
    EXPECT_EQ(plug.processor->setBusArrangements(stereo, 1, &out, 1), kResultFalse);
    EXPECT_EQ(plug.processor->setBusArrangements(stereo, 2, &out, 1), kResultOk);

    const double rates[] = {1234.5678, 12345.68, 22050.0, 44100.0, 96000.0};
    const int blocks[] = {1, 17, 512, 8191};
    for (int32 sampleSize : {kSample32, kSample64}) {
      const bool is64 = sampleSize == kSample64;
      for (double rate : rates) {
        for (int block : blocks) {
          SCOPED_TRACE(testing::Message() << rate << " Hz, " << block << " frames, " << is64);
          plug.component->setActive(false);
          ASSERT_EQ(plug.Setup(rate, block, sampleSize), kResultOk);
          plug.ActivateBus(kInput, 0, true);
          plug.ActivateBus(kOutput, 0, true);
          plug.ActivateBus(kInput, 1, block % 2 == 1);
          ASSERT_EQ(plug.component->setActive(true), kResultOk);
          ProcessRig rig(block, is64);
          TestParameterChanges changes;
          changes.Add(kParamSidechain, {1.0});
          changes.Add(kParamRelease, {0.1});
          ProcessAndCheck(plug, rig, block, is64, 2, &changes);
          plug.ActivateBus(kInput, 1, block % 2 == 0);
          ProcessAndCheck(plug, rig, block, is64, 2);
          ProcessAndCheck(plug, rig, std::max(1, block / 3), is64, 1);
          TestParameterChanges flush;
          flush.Add(kParamMix, {0.5});
          ASSERT_EQ(plug.processor->process(rig.Data(0, 0, 0, &flush)), kResultOk);
          ASSERT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.5);
        }
      }
    }
    plug.ActivateBus(kInput, 1, false);
    EXPECT_EQ(plug.component->setActive(false), kResultOk);
    EXPECT_EQ(plug.component->terminate(), kResultOk);
    EXPECT_EQ(plug.component->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(plug.controller->getParameterCount(), 0);
    EXPECT_EQ(handler.references, 0) << "terminate gives back the component handler";
    EXPECT_EQ(plug.host.references, 0) << "terminate gives back the host context";
    ParameterInfo info = {};
    EXPECT_EQ(plug.controller->getParameterInfo(0, info), kResultFalse);
  }
  EXPECT_EQ(handler.calls, 0) << "nothing in the sequence is an edit";
}
