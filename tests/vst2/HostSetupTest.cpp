// Host identification at the open request and what it changes: the product string is asked
// once, the vendor version only with a product, and the hosts limited to two inputs get their
// side-chain inputs disconnected while the effect record keeps reporting four.

#include "HostAudio.h"
#include "ReferenceCompressor.h"
#include "Vst2Test.h"

namespace {

const ReferenceCompressor::Settings kSideChained = {{0, 0.7f}, {2, 0.2f}, {7, 1.0f}};

// A quiet main pair and a loud side chain.
Channels LoudSideChain(int frames) { return Signal(frames, 0.1, 0.9); }

}  // namespace

class HostSetup : public Vst2Test {};

TEST_F(HostSetup, ProductStringIsAskedOnceAtOpen) {
  auto plug = Create(host);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 0) << "nothing asked before the open";
  plug->Dispatch(effOpen);
  plug->Dispatch(effOpen);
  plug->Dispatch(effOpen);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);
  EXPECT_EQ(host.CountOf(audioMasterGetVendorVersion), 1);
}

TEST_F(HostSetup, NoVendorVersionWithoutAProduct) {
  host.productString = "";
  auto plug = Create(host);
  plug->Dispatch(effOpen);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);
  EXPECT_EQ(host.CountOf(audioMasterGetVendorVersion), 0);
}

TEST_F(HostSetup, LimitedHostGetsTheSideChainDisconnected) {
  for (const char* product : {"Audition CC", "FORTE 4", "Orion Platinum", "SAWStudio64"}) {
    RecordingHost limited;
    limited.productString = product;
    auto plug = CreateStarted(limited, 256);
    ASSERT_TRUE(*plug);
    for (const auto& setting : kSideChained) plug->SetParam(setting.first, setting.second);
    EXPECT_EQ(plug->Effect()->numInputs, 4) << product;
    EXPECT_EQ(plug->Effect()->numOutputs, 2) << product;
    VstSpeakerArrangement* in = nullptr;
    plug->Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->numChannels, 4) << product;

    ReferenceCompressor expected(44100.0, kSideChained);
    Channels input = LoudSideChain(256);
    EXPECT_EQ(ProcessDouble(*plug, input), expected.Process(WithSilentSideChain(input))) << product;
  }
}

TEST_F(HostSetup, OtherHostsKeepTheSideChain) {
  host.productString = "Cubase 10.5";
  auto plug = CreateStarted(host, 256);
  for (const auto& setting : kSideChained) plug->SetParam(setting.first, setting.second);
  ReferenceCompressor expected(44100.0, kSideChained);
  Channels input = LoudSideChain(256);
  EXPECT_EQ(ProcessDouble(*plug, input), expected.Process(input));
}

TEST_F(HostSetup, SampleRateReachesTheProcessing) {
  auto plug = CreateStarted(host, 256, 48000.0f);
  for (const auto& setting : kSideChained) plug->SetParam(setting.first, setting.second);
  ReferenceCompressor at48k(48000.0, kSideChained);
  ReferenceCompressor at44k(44100.0, kSideChained);
  Channels input = LoudSideChain(256);
  Channels expected = at48k.Process(input);
  ASSERT_NE(expected, at44k.Process(input));
  EXPECT_EQ(ProcessDouble(*plug, input), expected);
}

TEST_F(HostSetup, ActivationRequestsAnswerZero) {
  auto plug = Create(host);
  EXPECT_EQ(plug->Dispatch(effOpen), 0);
  EXPECT_EQ(plug->Dispatch(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(plug->Dispatch(effMainsChanged, 0, 0), 0);
  EXPECT_EQ(plug->Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
  EXPECT_EQ(plug->Dispatch(effSetBlockSize, 0, 2048), 0);
  EXPECT_EQ(plug->Dispatch(effEditOpen), 0) << "no parent window";
  EXPECT_EQ(plug->Dispatch(effEditClose), 1);
}
