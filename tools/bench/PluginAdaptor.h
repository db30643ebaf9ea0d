#pragma once
// The adaptor the plug-in class derives from in the benchmark: a host that asks nothing and
// hears nothing, so the measured time is the processing alone.

#include "core/IPlugBase.h"

class BenchAdaptor : public IPlugBase {
 public:
  using HostCallback = void*;
  static constexpr int kPluginApi = kApiVST3;

  BenchAdaptor(HostCallback, const IPlugIdentity& identity) : IPlugBase(identity, kPluginApi) {}

  //---toward the host: nothing to tell---
  void BeginParamGesture(int) override {}
  void InformHostParamValue(int, double) override {}
  void EndParamGesture(int) override {}
  void NotifyHostPresetChange() override {}
  int HostSamplePos() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int* numerator, int* denominator) override {
    *numerator = 4;
    *denominator = 4;
  }
  void HostTime(HostTimeInfo*) override {}
  void ResizeEditor(int, int) override {}
  bool SendMidiToHost(const MidiMessage*) override { return false; }
};

using PluginAdaptor = BenchAdaptor;
