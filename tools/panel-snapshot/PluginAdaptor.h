#pragma once
// The adaptor Brask derives from inside panel-snapshot: a host that asks for nothing and is
// told nothing. The tool only builds the plug-in, sets parameter values and renders the panel.

#include "core/IPlugBase.h"

class SnapshotAdaptor : public IPlugBase {
 public:
  using HostCallback = void*;
  static constexpr int kPluginApi = kApiVST3;

  SnapshotAdaptor(HostCallback, const IPlugIdentity& identity) : IPlugBase(identity, kPluginApi) {}

  // ---toward the host: there is none---
  void BeginParamGesture(int) override {}
  void InformHostParamValue(int, double) override {}
  void EndParamGesture(int) override {}
  void NotifyHostPresetChange() override {}
  int HostSamplePos() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTime(HostTimeInfo* info) override;
  void ResizeEditor(int, int) override {}
  bool SendMidiToHost(const MidiMessage*) override { return false; }
};

using PluginAdaptor = SnapshotAdaptor;
