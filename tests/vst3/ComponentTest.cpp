// The component side: buses, bus arrangements, processing setup and sample sizes.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Vst3Plugin.h"
#include "pluginterfaces/vst/vstspeaker.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string NameOf(const BusInfo& info) {
  std::string out;
  for (const char16* c = info.name; *c; ++c) out += char(*c);
  return out;
}

BusInfo InfoOf(Vst3Plugin& plug, BusDirection dir, int index) {
  BusInfo info = {};
  EXPECT_EQ(plug.component->getBusInfo(kAudio, dir, index, info), kResultOk);
  return info;
}

class Component : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plug.Valid());
    ASSERT_EQ(plug.component->initialize(&plug.host), kResultOk);
  }

  tresult Arrange(std::vector<SpeakerArrangement> ins, SpeakerArrangement out) {
    return plug.processor->setBusArrangements(ins.data(), int32(ins.size()), &out, 1);
  }

  Vst3Plugin plug;
};

}  // namespace

TEST(ComponentBuses, NoBusesBeforeInitialize) {
  Vst3Plugin plug;
  ASSERT_TRUE(plug.Valid());
  EXPECT_EQ(plug.component->getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(plug.component->getBusCount(kAudio, kOutput), 0);
}

TEST_F(Component, InitializeBuildsMainAuxAndOutputBuses) {
  ASSERT_EQ(plug.component->getBusCount(kAudio, kInput), 2);
  ASSERT_EQ(plug.component->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(plug.component->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(plug.component->getBusCount(kEvent, kOutput), 0);

  BusInfo main = InfoOf(plug, kInput, 0);
  EXPECT_EQ(NameOf(main), "Main Input");
  EXPECT_EQ(main.busType, kMain);
  EXPECT_EQ(main.flags, uint32(BusInfo::kDefaultActive));
  EXPECT_EQ(main.channelCount, 2);
  EXPECT_EQ(main.mediaType, kAudio);
  EXPECT_EQ(main.direction, kInput);

  BusInfo aux = InfoOf(plug, kInput, 1);
  EXPECT_EQ(NameOf(aux), "Aux Input");
  EXPECT_EQ(aux.busType, kAux);
  EXPECT_EQ(aux.flags, 0u);
  EXPECT_EQ(aux.channelCount, 2);

  BusInfo output = InfoOf(plug, kOutput, 0);
  EXPECT_EQ(NameOf(output), "Output");
  EXPECT_EQ(output.busType, kMain);
  EXPECT_EQ(output.flags, uint32(BusInfo::kDefaultActive));
  EXPECT_EQ(output.channelCount, 2);

  SpeakerArrangement arr = 0;
  EXPECT_EQ(plug.processor->getBusArrangement(kInput, 1, arr), kResultOk);
  EXPECT_EQ(arr, SpeakerArr::kStereo);
  EXPECT_NE(plug.processor->getBusArrangement(kInput, 2, arr), kResultOk);
  EXPECT_NE(plug.processor->getBusArrangement(kOutput, -1, arr), kResultOk);
}

TEST_F(Component, BusQueriesOutsideTheListsAreRefused) {
  BusInfo info = {};
  EXPECT_NE(plug.component->getBusInfo(kAudio, kInput, 2, info), kResultOk);
  EXPECT_NE(plug.component->getBusInfo(kAudio, kOutput, -1, info), kResultOk);
  EXPECT_NE(plug.component->getBusInfo(kEvent, kInput, 0, info), kResultOk);
  EXPECT_NE(plug.component->getBusInfo(7, kInput, 0, info), kResultOk);
  EXPECT_NE(plug.component->activateBus(kAudio, kInput, 5, true), kResultOk);
  EXPECT_NE(plug.component->activateBus(kAudio, 9, 0, true), kResultOk);
  EXPECT_EQ(plug.component->activateBus(kAudio, kInput, 1, true), kResultOk);
}

TEST_F(Component, SecondInitializeIsRefusedAndBuildsNothingMore) {
  EXPECT_EQ(plug.component->initialize(&plug.host), kResultFalse);
  EXPECT_EQ(plug.component->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(plug.controller->getParameterCount(), 10);
}

TEST_F(Component, StereoMainSideChainAndOutputAreAcceptedUnchanged) {
  EXPECT_EQ(Arrange({SpeakerArr::kStereo, SpeakerArr::kStereo}, SpeakerArr::kStereo), kResultOk);
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 0)), "Main Input");
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 1)), "Aux Input");
  EXPECT_EQ(NameOf(InfoOf(plug, kOutput, 0)), "Output");
}

TEST_F(Component, IllegalChannelPairsAreRefusedWithBusesUnchanged) {
  EXPECT_EQ(Arrange({SpeakerArr::kMono, SpeakerArr::kStereo}, SpeakerArr::kStereo), kResultFalse);
  EXPECT_EQ(Arrange({SpeakerArr::kStereo, SpeakerArr::kStereo}, SpeakerArr::kMono), kResultFalse);
  EXPECT_EQ(Arrange({SpeakerArr::kStereo, SpeakerArr::kStereo}, SpeakerArr::k51), kResultFalse);
  EXPECT_EQ(plug.processor->setBusArrangements(nullptr, 0, nullptr, 0), kResultFalse);
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 0)), "Main Input");
  EXPECT_EQ(InfoOf(plug, kInput, 0).channelCount, 2);
  EXPECT_EQ(InfoOf(plug, kOutput, 0).channelCount, 2);
}

TEST_F(Component, ArrangementWithoutTheSideChainBusIsRefused) {
  EXPECT_EQ(Arrange({SpeakerArr::kStereo}, SpeakerArr::kStereo), kResultFalse);
  EXPECT_EQ(plug.component->getBusCount(kAudio, kInput), 2);
}

TEST_F(Component, MonoSideChainRebuildsTheInputBuses) {
  EXPECT_EQ(Arrange({SpeakerArr::kStereo, SpeakerArr::kMono}, SpeakerArr::kStereo), kResultOk);
  ASSERT_EQ(plug.component->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 0)), "Input");
  EXPECT_EQ(InfoOf(plug, kInput, 0).busType, kMain);
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 1)), "Sidechain Input");
  EXPECT_EQ(InfoOf(plug, kInput, 1).channelCount, 1);
  EXPECT_EQ(InfoOf(plug, kInput, 1).busType, kAux);
  EXPECT_EQ(InfoOf(plug, kInput, 1).flags, 0u);
}

TEST_F(Component, MainInputRebuildThatDropsTheSideChainBusIsRefused) {
  // Four main channels form a legal pair; rebuilding the main input removes bus 1.
  EXPECT_EQ(Arrange({SpeakerArr::k40Music, SpeakerArr::kStereo}, SpeakerArr::kStereo),
            kResultFalse);
  ASSERT_EQ(plug.component->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(NameOf(InfoOf(plug, kInput, 0)), "Input");
  EXPECT_EQ(InfoOf(plug, kInput, 0).channelCount, 4);
  // A later stereo request finds the main input to rebuild and still no side-chain bus.
  EXPECT_EQ(Arrange({SpeakerArr::kStereo, SpeakerArr::kStereo}, SpeakerArr::kStereo), kResultFalse);
  EXPECT_EQ(InfoOf(plug, kInput, 0).channelCount, 2);
}

TEST_F(Component, SampleSizesAreThirtyTwoAndSixtyFourBitOnly) {
  EXPECT_EQ(plug.processor->canProcessSampleSize(kSample32), kResultOk);
  EXPECT_EQ(plug.processor->canProcessSampleSize(kSample64), kResultOk);
  EXPECT_EQ(plug.processor->canProcessSampleSize(2), kResultFalse);
  EXPECT_EQ(plug.processor->canProcessSampleSize(-1), kResultFalse);
  EXPECT_EQ(plug.Setup(44100.0, 512, 2), kResultFalse);
  EXPECT_EQ(plug.Setup(44100.0, 512, -1), kResultFalse);
  EXPECT_EQ(plug.Setup(44100.0, 512, kSample64), kResultOk);
}

TEST_F(Component, LatencyTailAndDefaultAnswers) {
  EXPECT_EQ(plug.processor->getLatencySamples(), 0u);
  EXPECT_EQ(plug.processor->getTailSamples(), 0u);
  EXPECT_EQ(plug.component->setActive(true), kResultOk);
  EXPECT_EQ(plug.component->setActive(false), kResultOk);
  TUID id;
  EXPECT_EQ(plug.component->getControllerClassId(id), kNotImplemented);
  EXPECT_EQ(plug.component->setIoMode(kSimple), kNotImplemented);
  RoutingInfo in = {}, out = {};
  EXPECT_EQ(plug.component->getRoutingInfo(in, out), kNotImplemented);
  EXPECT_EQ(plug.processor->setProcessing(true), kNotImplemented);
}

// Hosts switch the plug-in off through 'bpas' and set up again for every bounce, export or
// block size change: the switch must hold through each setup, whatever it came from.
TEST_F(Component, BypassHoldsThroughSetupProcessing) {
  ASSERT_EQ(plug.Setup(48000.0, 256, kSample64), kResultOk);
  TestParameterChanges on;
  on.Add(kBypassId, {1.0});
  ProcessRig rig(256, true);
  plug.processor->process(rig.Data(0, 0, 0, &on));
  TestStream saved;
  plug.controller->getState(&saved);
  ASSERT_EQ(saved.bytes[64], 1);

  // The offline setup Ardour makes for a bounce, then a block that would compress hard.
  ProcessSetup offline{kOffline, kSample64, 1024, 44100.0};
  ASSERT_EQ(plug.processor->setupProcessing(offline), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
  plug.ActivateBus(kInput, 0, true);
  plug.ActivateBus(kOutput, 0, true);
  plug.component->setActive(true);
  TestParameterChanges loud;
  loud.Add(kParamInput, {1.0});
  auto signal = [](int c, long s) { return (c == 0 ? 0.9 : -0.7) * std::sin(0.05 * double(s)); };
  rig.FillInputs(256, 0, signal);
  ASSERT_EQ(plug.processor->process(rig.Data(256, 1, 1, &loud)), kResultOk);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 256; ++s) {
      ASSERT_EQ(rig.Output(c, s), signal(c, s)) << "channel " << c << " frame " << s;
    }
  }

  // A state that says "off" is kept through the next setup as well.
  saved.position = 0;
  ASSERT_EQ(plug.controller->setState(&saved), kResultOk);
  plug.Setup(22050.0, 64, kSample32);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
}
