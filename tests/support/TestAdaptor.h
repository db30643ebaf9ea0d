#pragma once
// TestAdaptor: a format adaptor for unit tests. It stands where the VST 2 or VST 3 adaptor
// stands in a module, answers the host queries from fields a test sets, and records every call
// the core makes toward the host, so tests can check what a host would have been told.
//
// TestAdaptor reports the VST 3 format and TestAdaptorVst2 the VST 2 format; the plug-in class
// reads the format to choose its channel configurations.

#include <vector>

#include "core/IPlugBase.h"

// Everything the core told the "host", in the order it happened.
struct AdaptorCall {
  enum Kind { BeginGesture, InformValue, EndGesture, PresetChange, Resize, MidiOut };
  Kind kind;
  int index;     // parameter index, or the width for Resize
  double value;  // normalized value, or the height for Resize
};

class RecordingAdaptor : public IPlugBase {
 public:
  using HostCallback = void*;

  RecordingAdaptor(const IPlugIdentity& identity, int pluginApi);

  // ---toward the host---
  void BeginParamGesture(int paramIdx) override;
  void InformHostParamValue(int paramIdx, double normalized) override;
  void EndParamGesture(int paramIdx) override;
  void NotifyHostPresetChange() override;
  int HostSamplePos() override { return hostSamplePos; }
  double HostTempo() override { return hostTime.tempo; }
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTime(HostTimeInfo* info) override;
  void ResizeEditor(int width, int height) override;
  bool SendMidiToHost(const MidiMessage* message) override;

  // Calls of the given kind, in order.
  std::vector<AdaptorCall> CallsOf(AdaptorCall::Kind kind) const;

  std::vector<AdaptorCall> calls;
  std::vector<MidiMessage> midiSent;
  // What the "host" answers.
  int hostSamplePos = 0;
  HostTimeInfo hostTime;
};

template <int Api>
class TestAdaptorFor : public RecordingAdaptor {
 public:
  static constexpr int kPluginApi = Api;
  TestAdaptorFor(HostCallback, const IPlugIdentity& identity)
      : RecordingAdaptor(identity, kPluginApi) {}
};

using TestAdaptor = TestAdaptorFor<kApiVST3>;
using TestAdaptorVst2 = TestAdaptorFor<kApiVST2>;
