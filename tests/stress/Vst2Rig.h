#pragma once
// Vst2Rig: a VST 2 effect made through VSTPluginMain (see fuzz/FuzzVst2Host.h) with host
// buffers for four inputs (main and side chain) and two outputs in both precisions.

#include <cmath>
#include <vector>

#include "core/IPlugBase.h"
#include "fuzz/FuzzVst2Host.h"
#include "vst2/IPlugVST.h"

class Vst2Rig {
 public:
  explicit Vst2Rig(int maxBlock) : effect(maxBlock) {
    for (int c = 0; c < 6; ++c) {
      samples64[c].assign(size_t(maxBlock) * 4, 0.0);
      samples32[c].assign(size_t(maxBlock) * 4, 0.0f);
      pointers64[c] = samples64[c].data();
      pointers32[c] = samples32[c].data();
    }
  }

  bool Valid() const { return effect.Get() != nullptr; }
  // The record's object is the IPlugVST behind it.
  IPlugBase* Core() const { return static_cast<IPlugVST*>(effect->object); }

  void SetInput(int c, int s, double value) {
    samples64[c][size_t(s)] = value;
    samples32[c][size_t(s)] = float(value);
  }
  double Output(int c, int s, bool is64) const {
    return is64 ? samples64[4 + c][size_t(s)] : double(samples32[4 + c][size_t(s)]);
  }
  bool OutputsFinite(int count, bool is64) const {
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < count; ++s) {
        if (!std::isfinite(Output(c, s, is64))) return false;
      }
    }
    return true;
  }
  void ProcessDouble(int count) {
    effect->processDoubleReplacing(effect.Get(), pointers64, pointers64 + 4, count);
  }
  void ProcessFloat(int count) {
    effect->processReplacing(effect.Get(), pointers32, pointers32 + 4, count);
  }
  void ProcessAccumulate(int count) {
    effect->process(effect.Get(), pointers32, pointers32 + 4, count);
  }

  FuzzVst2Effect effect;

 private:
  std::vector<double> samples64[6];
  std::vector<float> samples32[6];
  double* pointers64[6];
  float* pointers32[6];
};
