// The three process callbacks: they deliver exactly the compressor's output (double in place,
// float through conversion, accumulating on top of the host's buffers), honour unconnected
// side-chain inputs, and run blocks longer than the block size without overrunning anything.

#include "HostAudio.h"
#include "ReferenceCompressor.h"
#include "Vst2Test.h"

namespace {

constexpr double kSampleRate = kHostSampleRate;

// Loud, compressing settings: Input 19.6, fast attack, short release.
const ReferenceCompressor::Settings kCompressing = {{0, 0.7f}, {2, 0.2f}, {3, 0.3f}};
const ReferenceCompressor::Settings kSideChained = {{0, 0.7f}, {2, 0.2f}, {3, 0.3f}, {7, 1.0f}};

}  // namespace

class Processing : public Vst2Test {
 protected:
  std::unique_ptr<HostedEffect> Started(const ReferenceCompressor::Settings& settings,
                                        int blockSize, RecordingHost& server) {
    auto plug = CreateStarted(server, blockSize, float(kSampleRate));
    for (const auto& setting : settings) plug->SetParam(setting.first, setting.second);
    return plug;
  }
  std::unique_ptr<HostedEffect> Started(const ReferenceCompressor::Settings& settings,
                                        int blockSize) {
    return Started(settings, blockSize, host);
  }
};

TEST_F(Processing, DoubleCallbackDeliversTheCompressorOutput) {
  auto plug = Started(kCompressing, 512);
  ReferenceCompressor reference(kSampleRate, kCompressing);
  Channels input = Signal(512, 0.8, 0.0);
  Channels expected = reference.Process(input);
  ASSERT_NE(expected[0], ToFloatPrecision(input)[0]) << "the settings must compress audibly";
  EXPECT_EQ(ProcessDouble(*plug, input), expected);
  Channels next = Signal(512, 0.8, 0.0, 512);
  EXPECT_EQ(ProcessDouble(*plug, next), reference.Process(next)) << "state carries over";
}

TEST_F(Processing, FloatCallbackDeliversTheCompressorOutputRounded) {
  auto plug = Started(kCompressing, 512);
  ReferenceCompressor reference(kSampleRate, kCompressing);
  Channels input = Signal(512, 0.8, 0.0);
  EXPECT_EQ(ProcessFloat(*plug, input, false, 123.0f), ToFloatPrecision(reference.Process(input)))
      << "replacing overwrites whatever the host's buffers held";
}

TEST_F(Processing, AccumulatingCallbackAddsToTheHostBuffers) {
  auto plug = Started(kCompressing, 512);
  ReferenceCompressor reference(kSampleRate, kCompressing);
  Channels input = Signal(512, 0.8, 0.0);
  Channels expected = reference.Process(input);
  for (auto& channel : expected) {
    for (double& x : channel) x = double(0.25f + float(x));
  }
  EXPECT_EQ(ProcessFloat(*plug, input, true, 0.25f), expected);
}

TEST_F(Processing, OversizeBlocksRunInSlices) {
  const int kFrames = 1000;  // many times the block size, not a multiple of it
  ReferenceCompressor doubleReference(kSampleRate, kCompressing);
  ReferenceCompressor floatReference(kSampleRate, kCompressing);
  Channels input = Signal(kFrames, 0.8, 0.3);
  auto doublePlug = Started(kCompressing, 64);
  EXPECT_EQ(ProcessDouble(*doublePlug, input), doubleReference.Process(input));
  RecordingHost floatHost;
  auto floatPlug = Started(kCompressing, 64, floatHost);
  EXPECT_EQ(ProcessFloat(*floatPlug, input, false),
            ToFloatPrecision(floatReference.Process(input)));
}

TEST_F(Processing, BadBlocksAreIgnored) {
  auto plug = Started(kCompressing, 64);
  float buffer[64] = {};
  float* pointers[4] = {buffer, buffer, nullptr, buffer};
  float* outputs[2] = {buffer, buffer};
  plug->Effect()->processReplacing(plug->Effect(), pointers, outputs, 64);
  plug->Effect()->processReplacing(plug->Effect(), nullptr, outputs, 64);
  plug->Effect()->processReplacing(plug->Effect(), pointers, nullptr, 64);
  plug->Effect()->processReplacing(plug->Effect(), pointers, outputs, -5);
  plug->Effect()->processDoubleReplacing(plug->Effect(), nullptr, nullptr, 64);
  plug->Dispatch(effSetBlockSize, 0, 0);
  plug->Dispatch(effSetBlockSize, 0, -100);
  float* full[4] = {buffer, buffer, buffer, buffer};
  plug->Effect()->processReplacing(plug->Effect(), full, outputs, 64);
  EXPECT_EQ(plug->Text(effGetParamName, 0), "Input") << "the instance survives";
}

TEST_F(Processing, SpeakerArrangementSilencesAndRestoresTheSideChain) {
  ReferenceCompressor silentSide(kSampleRate, kSideChained);
  ReferenceCompressor liveSide(kSampleRate, kSideChained);
  Channels first = Signal(256, 0.1, 0.9);
  Channels second = Signal(256, 0.1, 0.9, 256);
  ASSERT_NE(silentSide.Process(WithSilentSideChain(first)), liveSide.Process(first))
      << "the side chain must matter with these settings";

  ReferenceCompressor expected(kSampleRate, kSideChained);
  auto plug = Started(kSideChained, 256);
  VstSpeakerArrangement two = {};
  two.numChannels = 2;
  VstSpeakerArrangement four = {};
  four.numChannels = 4;
  EXPECT_EQ(plug->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&two)), 1);
  EXPECT_EQ(ProcessDouble(*plug, first), expected.Process(WithSilentSideChain(first)));
  EXPECT_EQ(plug->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&four)), 1);
  EXPECT_EQ(ProcessDouble(*plug, second), expected.Process(second)) << "live again";
}

TEST_F(Processing, SideChainCutAfterFloatBlocksReadsSilence) {
  ReferenceCompressor expected(kSampleRate, kSideChained);
  auto plug = Started(kSideChained, 256);
  Channels first = Signal(256, 0.1, 0.9);
  Channels second = Signal(256, 0.1, 0.9, 256);
  EXPECT_EQ(ProcessFloat(*plug, first, false), ToFloatPrecision(expected.Process(first)));
  VstSpeakerArrangement two = {};
  two.numChannels = 2;
  plug->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&two));
  // Entries 2 and 3 of the host's list hold loud audio, but only the main pair is read now.
  EXPECT_EQ(ProcessFloat(*plug, second, false),
            ToFloatPrecision(expected.Process(WithSilentSideChain(second))));
}

TEST_F(Processing, NegativeChannelCountsConnectNothing) {
  ReferenceCompressor expected(kSampleRate, kSideChained);
  auto plug = Started(kSideChained, 128);
  VstSpeakerArrangement negative = {};
  negative.numChannels = -3;
  EXPECT_EQ(plug->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&negative),
                           &negative),
            1);
  // Nothing connected: no host buffer is read or written, every channel runs on silence.
  plug->Effect()->processDoubleReplacing(plug->Effect(), nullptr, nullptr, 128);
  expected.Process(Silent(4, 128));
  VstSpeakerArrangement* in = nullptr;
  plug->Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in));
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->numChannels, 4) << "the stored arrangement is not changed";
  EXPECT_EQ(plug->Effect()->numInputs, 4);

  VstSpeakerArrangement four = {};
  four.numChannels = 4;
  VstSpeakerArrangement two = {};
  two.numChannels = 2;
  plug->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&four), &two);
  Channels input = Signal(128, 0.5, 0.9);
  EXPECT_EQ(ProcessDouble(*plug, input), expected.Process(input));
}
