#pragma once
// SilentHostAdaptor: the adaptor the plug-in class derives from inside the project's own tools
// (the benchmark, the panel snapshot): a host that asks for nothing and is told nothing, so a
// tool can build the real plug-in, set values, process audio and render the panel.

#include "core/IPlugBase.h"

class SilentHostAdaptor : public IPlugBase {
 public:
  using HostCallback = void*;
  static constexpr int kPluginApi = kApiVST3;

  SilentHostAdaptor(HostCallback, const IPlugIdentity& identity)
      : IPlugBase(identity, kPluginApi) {}

  //---toward the host: there is none---
  void BeginParamGesture(int) override {}
  void InformHostParamValue(int, double) override {}
  void EndParamGesture(int) override {}
  void NotifyHostPresetChange() override {}
  int HostSamplePos() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int* numerator, int* denominator) override {
    if (numerator) *numerator = 4;
    if (denominator) *denominator = 4;
  }
  void HostTime(HostTimeInfo* info) override {
    if (info) *info = HostTimeInfo();
  }
  void ResizeEditor(int, int) override {}
  bool SendMidiToHost(const MidiMessage*) override { return false; }
};

using PluginAdaptor = SilentHostAdaptor;
