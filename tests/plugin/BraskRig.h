#pragma once
// BraskRig: a Brask instance set up the way an adaptor prepares one before audio flows
// (sample rate, every parameter announced, reset), plus helpers that drive ProcessBlock with
// whole signals split into blocks of a chosen size, holding the instance lock as adaptors do.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

#include "plugin/Brask.h"

// Four input channels: main left and right, side-chain left and right.
struct Signal {
  explicit Signal(int frames) : channels(4, std::vector<double>(size_t(frames), 0.0)) {}
  int Frames() const { return int(channels[0].size()); }
  std::vector<double>& operator[](int channel) { return channels[size_t(channel)]; }
  std::vector<std::vector<double>> channels;
};

struct Output {
  std::vector<double> left;
  std::vector<double> right;
};

class BraskRig {
 public:
  explicit BraskRig(double sampleRate = 48000.0) : plug(nullptr) {
    plug.SetSampleRate(sampleRate);
    for (int i = 0; i < plug.ParamCount(); ++i) plug.OnParamChanged(i);
    plug.OnReset();
  }

  void Set(int paramIdx, double value) {
    plug.ParamAt(paramIdx)->SetValueClamped(value);
    plug.OnParamChanged(paramIdx);
  }

  Output Process(Signal& signal, int blockFrames = 512) {
    Output out;
    out.left.assign(size_t(signal.Frames()), -77.0);
    out.right.assign(size_t(signal.Frames()), -77.0);
    for (int start = 0; start < signal.Frames(); start += blockFrames) {
      const int n = std::min(blockFrames, signal.Frames() - start);
      double* inputs[4];
      for (int c = 0; c < 4; ++c) inputs[c] = signal[c].data() + start;
      double* outputs[2] = {out.left.data() + start, out.right.data() + start};
      std::lock_guard<std::recursive_mutex> lock(plug.Mutex());
      plug.ProcessBlock(inputs, outputs, n);
    }
    return out;
  }

  // The gain after each frame, processing one frame per block.
  std::vector<double> GainTrace(Signal& signal) {
    std::vector<double> gains;
    for (int n = 0; n < signal.Frames(); ++n) {
      double* inputs[4];
      for (int c = 0; c < 4; ++c) inputs[c] = signal[c].data() + n;
      double left = 0.0, right = 0.0;
      double* outputs[2] = {&left, &right};
      plug.ProcessBlock(inputs, outputs, 1);
      gains.push_back(plug.GainState());
    }
    return gains;
  }

  Brask plug;
};

// Deterministic program material: a few partials under a moving envelope, plus a little noise.
inline Signal MusicLike(int frames, double sampleRate = 48000.0, double level = 0.5,
                        bool onSideChain = false) {
  Signal s(frames);
  uint32_t seed = 12345u;
  const double twoPi = 6.283185307179586;
  for (int n = 0; n < frames; ++n) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = (double(seed >> 8) / double(1u << 24) - 0.5) * 0.05;
    const double t = n / sampleRate;
    const double envelope = 0.55 + 0.45 * std::sin(twoPi * 2.3 * t);
    const double tone = 0.6 * std::sin(twoPi * 110.0 * t) + 0.3 * std::sin(twoPi * 1234.0 * t) +
                        0.1 * std::sin(twoPi * 7100.0 * t);
    const double left = level * envelope * tone + noise;
    const double right = level * envelope * (0.8 * tone + 0.2 * std::sin(twoPi * 440.0 * t));
    s[onSideChain ? 2 : 0][size_t(n)] = left;
    s[onSideChain ? 3 : 1][size_t(n)] = right;
  }
  return s;
}
