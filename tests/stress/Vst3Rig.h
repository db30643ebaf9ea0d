#pragma once
// Vst3Rig: a VST 3 instance made through the module's factory (see fuzz/FuzzVst3Host.h) with
// host buffers for one bus layout (stereo main input, stereo side chain, stereo output) in
// either precision, and a parameter change list the test fills before each block.

#include <cmath>
#include <vector>

#include "core/IPlugBase.h"
#include "fuzz/FuzzVst3Host.h"

class Vst3Rig {
 public:
  Vst3Rig(Steinberg::int32 sampleSize, int maxBlock, double sampleRate = 44100.0)
      : is64(sampleSize == Steinberg::Vst::kSample64), frames(maxBlock) {
    if (plug.Valid()) plug.SetUp(sampleSize, maxBlock, sampleRate);
    for (int c = 0; c < 6; ++c) {
      samples64[c].assign(size_t(maxBlock) * 4, 0.0);
      samples32[c].assign(size_t(maxBlock) * 4, 0.0f);
      pointers64[c] = samples64[c].data();
      pointers32[c] = samples32[c].data();
    }
    for (int b = 0; b < 3; ++b) {
      buses[b].numChannels = 2;
      if (is64) {
        buses[b].channelBuffers64 = pointers64 + 2 * b;
      } else {
        buses[b].channelBuffers32 = pointers32 + 2 * b;
      }
    }
    data.processMode = Steinberg::Vst::kRealtime;
    data.symbolicSampleSize = sampleSize;
    data.numInputs = 2;
    data.numOutputs = 1;
    data.inputs = buses;
    data.outputs = buses + 2;
    data.inputParameterChanges = &changes;
  }

  bool Valid() const { return plug.Valid(); }
  IPlugBase* Core() const { return dynamic_cast<IPlugBase*>(plug.component); }

  // Input channel c (0, 1 main; 2, 3 side chain), sample s.
  void SetInput(int c, int s, double value) {
    samples64[c][size_t(s)] = value;
    samples32[c][size_t(s)] = float(value);
  }
  double Output(int c, int s) const {
    return is64 ? samples64[4 + c][size_t(s)] : double(samples32[4 + c][size_t(s)]);
  }
  bool OutputsFinite(int count) const {
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < count; ++s) {
        if (!std::isfinite(Output(c, s))) return false;
      }
    }
    return true;
  }
  // Runs one block of count frames (up to four times the maximum block).
  Steinberg::tresult Process(int count) {
    data.numSamples = count;
    return plug.processor->process(data);
  }

  FuzzVst3Instance plug;
  FuzzChanges changes;
  const bool is64;
  const int frames;

 private:
  std::vector<double> samples64[6];
  std::vector<float> samples32[6];
  double* pointers64[6];
  float* pointers32[6];
  Steinberg::Vst::AudioBusBuffers buses[3] = {};
  Steinberg::Vst::ProcessData data{};
};
