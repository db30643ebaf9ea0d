#include "HostAudio.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}  // namespace

Channels Signal(int frames, double mainLevel, double sideLevel, int start) {
  Channels channels(4, std::vector<double>(size_t(frames)));
  const double hz[4] = {220.0, 330.0, 97.0, 131.0};
  for (size_t c = 0; c < 4; ++c) {
    double level = c < 2 ? mainLevel : sideLevel;
    for (int n = 0; n < frames; ++n) {
      double phase = kTwoPi * hz[c] * double(start + n) / kHostSampleRate;
      channels[c][size_t(n)] = float(level * std::sin(phase));
    }
  }
  return channels;
}

Channels Silent(int channels, int frames) {
  return Channels(size_t(channels), std::vector<double>(size_t(frames), 0.0));
}

Channels WithSilentSideChain(Channels channels) {
  for (size_t c = 2; c < 4; ++c) channels[c].assign(channels[c].size(), 0.0);
  return channels;
}

Channels ToFloatPrecision(Channels channels) {
  for (auto& channel : channels) {
    for (double& x : channel) x = float(x);
  }
  return channels;
}

Channels ProcessDouble(const HostedEffect& plug, Channels inputs) {
  int frames = int(inputs[0].size());
  Channels outputs = Silent(2, frames);
  double* in[4] = {inputs[0].data(), inputs[1].data(), inputs[2].data(), inputs[3].data()};
  double* out[2] = {outputs[0].data(), outputs[1].data()};
  plug.Effect()->processDoubleReplacing(plug.Effect(), in, out, frames);
  return outputs;
}

Channels ProcessFloat(const HostedEffect& plug, const Channels& inputs, bool accumulate,
                      float initial) {
  size_t frames = inputs[0].size();
  std::vector<std::vector<float>> in(4), out(2, std::vector<float>(frames, initial));
  for (size_t c = 0; c < 4; ++c) in[c].assign(inputs[c].begin(), inputs[c].end());
  float* inPointers[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
  float* outPointers[2] = {out[0].data(), out[1].data()};
  AEffect* effect = plug.Effect();
  AEffectProcessProc process = accumulate ? effect->process : effect->processReplacing;
  process(effect, inPointers, outPointers, VstInt32(frames));
  Channels result(2);
  for (size_t c = 0; c < 2; ++c) result[c].assign(out[c].begin(), out[c].end());
  return result;
}
