#pragma once
// IPlugLV2Base: what the LV2 plug-in and its UI have in common. Both talk to the host only
// through ports: the host offers no transport, preset or window requests through these calls,
// and a port's value reaches a parameter the same way in both.
//
// Both answer the VST 3 format code: the same channel configurations, side chain as inputs 3
// and 4, and a host that sizes the editor's window.

#include <cstdint>

#include "core/IPlugBase.h"
#include "lv2/Lv2PortValue.h"

class IPlugLV2Base : public IPlugBase {
 public:
  static constexpr int kPluginApi = kApiVST3;

  explicit IPlugLV2Base(const IPlugIdentity& identity) : IPlugBase(identity, kPluginApi) {}

  //---from IPlugBase: requests a host that only reads ports has no answer to---
  void NotifyHostPresetChange() override {}
  int HostSamplePos() override { return 0; }
  double HostTempo() override { return 0.0; }
  void HostTimeSignature(int* numerator, int* denominator) override {
    if (numerator) *numerator = 0;
    if (denominator) *denominator = 0;
  }
  void HostTime(HostTimeInfo*) override {}
  void ResizeEditor(int, int) override {}
  bool SendMidiToHost(const MidiMessage*) override { return false; }

 protected:
  // Port value v reaches parameter index as host automation does: record, editor, then the
  // plug-in. Nothing happens for a value that names none (NaN).
  void ApplyPortValue(int index, float v) {
    const IParamRecord* record = ParamAt(index);
    double plain = 0.0;
    if (record && PlainFromPortValue(*record, v, &plain)) SetParamFromHost(index, plain, false);
  }
};
