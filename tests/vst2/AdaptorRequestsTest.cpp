// IPlugVST's requests to the host, which the compressor never makes on its own and which a host
// therefore cannot provoke through the effect record: transport queries, edit gestures and
// automation from the editor, events sent out, latency and editor size. The adaptor is built
// here around a small probe plug-in and served by the recording host.

#include <gtest/gtest.h>

#include <cmath>

#include "IPlugVST.h"
#include "RecordingHost.h"
#include "gui/IGraphicsPortable.h"

namespace {

// Two parameters, one stereo pair plus a mono configuration, version 1.2.3.
const IPlugIdentity kProbeIdentity = {
    "Probe", "", "Maker", FourCharCode("Prb1"), FourCharCode("Mkr1"), 0x10203, 2, 1, "1-1 2-2"};

class AdaptorProbe : public IPlugVST {
 public:
  explicit AdaptorProbe(audioMasterCallback host) : IPlugVST(host, kProbeIdentity) {
    ParamAt(0)->DefineDouble("Level", 0.0, 0.0, 100.0, 0.01, "dB", "", 1.0);
    ParamAt(1)->DefineInt("Switch", 0, 0, 1, "", "");
  }
};

VstTimeInfo TransportAt(VstInt32 flags) {
  VstTimeInfo time = {};
  time.samplePos = 1234.4;
  time.ppqPos = 8.5;
  time.tempo = 128.0;
  time.barStartPos = 8.0;
  time.cycleStartPos = 4.0;
  time.cycleEndPos = 12.0;
  time.timeSigNumerator = 7;
  time.timeSigDenominator = 8;
  time.flags = flags;
  return time;
}

}  // namespace

class AdaptorRequests : public ::testing::Test {
 protected:
  AdaptorRequests() : probe(RecordingHost::Callback) { host.Serve(probe.Effect()); }
  RecordingHost host;
  AdaptorProbe probe;
};

TEST_F(AdaptorRequests, RecordFollowsTheIdentity) {
  const AEffect* e = probe.Effect();
  EXPECT_EQ(e->version, 10203);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 0x1018) << "a one-input configuration adds the mono flag";
  ERect* rect = nullptr;
  EXPECT_EQ(e->dispatcher(probe.Effect(), effEditGetRect, 0, 0, &rect, 0.0f), 0) << "no editor";
}

TEST_F(AdaptorRequests, FullTransportIsCopied) {
  host.time = TransportAt(kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid |
                          kVstTimeSigValid | kVstTransportPlaying | kVstTransportCycleActive);
  HostTimeInfo info;
  probe.HostTime(&info);
  ASSERT_EQ(host.timeRequestFlags.size(), 1u);
  EXPECT_EQ(host.timeRequestFlags[0], 0x3e00);
  EXPECT_EQ(info.samplePos, 1234.4);
  EXPECT_EQ(info.ppqPos, 8.5);
  EXPECT_EQ(info.tempo, 128.0);
  EXPECT_EQ(info.lastBarPos, 8.0);
  EXPECT_EQ(info.cycleStart, 4.0);
  EXPECT_EQ(info.cycleEnd, 12.0);
  EXPECT_EQ(info.numerator, 7);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_TRUE(info.transportPlaying);
  EXPECT_TRUE(info.cycleActive);
}

TEST_F(AdaptorRequests, OnlyValidTransportFieldsAreCopied) {
  host.time = TransportAt(kVstTempoValid);
  host.time.tempo = 90.0;
  HostTimeInfo info;
  info.ppqPos = -1.0;
  info.numerator = 3;
  probe.HostTime(&info);
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_EQ(info.samplePos, 1234.4) << "always taken once a record is valid";
  EXPECT_EQ(info.ppqPos, -1.0);
  EXPECT_EQ(info.numerator, 3);
  EXPECT_FALSE(info.transportPlaying);

  host.time = TransportAt(kVstPpqPosValid | kVstTimeSigValid);
  host.time.ppqPos = -2.0;
  host.time.timeSigDenominator = 0;
  probe.HostTime(&info);
  EXPECT_EQ(info.ppqPos, -1.0) << "negative positions are refused";
  EXPECT_EQ(info.numerator, 3) << "a zero denominator refuses the signature";
}

TEST_F(AdaptorRequests, MissingTransportLeavesTheInfoAlone) {
  HostTimeInfo info;
  info.tempo = 77.0;
  host.hasTime = false;
  probe.HostTime(&info);
  EXPECT_EQ(info.tempo, 77.0);
  host.hasTime = true;
  host.time = TransportAt(kVstTransportPlaying);  // no valid bit of interest
  probe.HostTime(&info);
  EXPECT_EQ(info.samplePos, 0.0);
  EXPECT_FALSE(info.transportPlaying);
  probe.HostTime(nullptr);
}

TEST_F(AdaptorRequests, TempoSignatureAndPosition) {
  host.time = TransportAt(kVstTempoValid | kVstTimeSigValid);
  EXPECT_EQ(probe.HostTempo(), 128.0);
  int numerator = -1, denominator = -1;
  probe.HostTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
  EXPECT_EQ(probe.HostSamplePos(), 1234);
  host.time.samplePos = 99.5;
  EXPECT_EQ(probe.HostSamplePos(), 100);
  host.time.samplePos = -3.0;
  EXPECT_EQ(probe.HostSamplePos(), 0);

  host.time.flags = 0;
  EXPECT_EQ(probe.HostTempo(), 0.0);
  probe.HostTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator, 0);
  EXPECT_EQ(denominator, 0);
  EXPECT_EQ(host.timeRequestFlags, (std::vector<VstInt32>{0x400, 0x2000, 0, 0, 0, 0x400, 0x2000}));
}

TEST_F(AdaptorRequests, OfflineRenderingIsLevelFour) {
  host.processLevel = 4;
  EXPECT_TRUE(probe.IsOfflineRender());
  host.processLevel = 2;
  EXPECT_FALSE(probe.IsOfflineRender());
}

TEST_F(AdaptorRequests, EditorChangesBecomeAutomationInsideGestures) {
  probe.BeginParamGesture(0);
  probe.SetParamFromEditor(0, 0.25);
  probe.EndParamGesture(0);
  ASSERT_EQ(host.requests.size(), 3u);
  EXPECT_EQ(host.requests[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(host.requests[0].index, 0);
  EXPECT_EQ(host.requests[1].opcode, audioMasterAutomate);
  EXPECT_EQ(host.requests[1].index, 0);
  EXPECT_EQ(host.requests[1].opt, 0.25f);
  EXPECT_EQ(host.requests[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(probe.ParamAt(0)->Value(), 25.0);
  probe.NotifyHostPresetChange();
  EXPECT_EQ(host.CountOf(audioMasterUpdateDisplay), 1);
}

TEST_F(AdaptorRequests, SysExGoesOutAsOneEvent) {
  const uint8_t dump[5] = {0xf0, 1, 2, 3, 0xf7};
  SysExMessage message;
  message.offset = 9;
  message.size = 5;
  message.data = dump;
  EXPECT_TRUE(probe.SendSysExToHost(&message));
  ASSERT_EQ(host.sysexEvents.size(), 1u);
  const VstMidiSysexEvent& sent = host.sysexEvents[0];
  EXPECT_EQ(sent.type, kVstSysExType);
  EXPECT_EQ(sent.byteSize, 48);
  EXPECT_EQ(sent.deltaFrames, 9);
  EXPECT_EQ(sent.dumpBytes, 5);
  EXPECT_EQ(static_cast<const void*>(sent.sysexDump), static_cast<const void*>(dump));
  host.processEventsAnswer = 0;
  EXPECT_FALSE(probe.SendSysExToHost(&message)) << "only an answer of 1 is success";
  MidiMessage note;
  EXPECT_FALSE(probe.SendMidiToHost(&note));
}

TEST_F(AdaptorRequests, HostIdentityIsAskedOnceAndPacked) {
  host.productString = "Orion Platinum";
  host.vendorVersion = 80100;
  EXPECT_EQ(probe.GetHostKind(), Orion);
  EXPECT_EQ(probe.HostVersion(), 0x080100);
  EXPECT_EQ(probe.GetHostKind(), Orion);
  EXPECT_EQ(host.CountOf(audioMasterGetProductString), 1);
}

TEST_F(AdaptorRequests, LatencyReachesTheRecord) {
  probe.SetLatencySamples(64);
  EXPECT_EQ(probe.Effect()->initialDelay, 64);
  EXPECT_EQ(probe.Latency(), 64);
}

TEST_F(AdaptorRequests, EditorSizeFollowsTheEditor) {
  probe.AttachEditor(new IGraphicsPortable(&probe, 300, 200, 25));
  EXPECT_EQ(probe.Effect()->flags & effFlagsHasEditor, effFlagsHasEditor);
  ERect* rect = nullptr;
  ASSERT_EQ(probe.Effect()->dispatcher(probe.Effect(), effEditGetRect, 0, 0, &rect, 0.0f), 1);
  EXPECT_EQ(rect->bottom, 200);
  EXPECT_EQ(rect->right, 300);
  probe.Editor()->Resize(320, 240);
  EXPECT_EQ(rect->bottom, 240);
  EXPECT_EQ(rect->right, 320);
}

TEST(AdaptorWithoutHost, AnswersNeutrally) {
  AdaptorProbe probe(nullptr);
  EXPECT_EQ(probe.HostTempo(), 0.0);
  EXPECT_EQ(probe.HostSamplePos(), 0);
  EXPECT_FALSE(probe.IsOfflineRender());
  EXPECT_EQ(probe.GetHostKind(), Unknown);
  probe.SetParamFromEditor(1, 1.0);
  EXPECT_EQ(probe.ParamAt(1)->Value(), 1.0);
}
