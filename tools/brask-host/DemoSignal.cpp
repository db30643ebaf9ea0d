#include "DemoSignal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeatsPerSecond = 2.0;  // 120 beats per minute
constexpr double kPeak = 0.891250938;    // -1 dBFS

// A small deterministic noise source (xorshift), so every run makes the same file.
class Noise {
 public:
  double Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return double(state >> 11) / double(uint64_t(1) << 53) * 2.0 - 1.0;
  }

 private:
  uint64_t state = 0x9E3779B97F4A7C15ull;
};

// Kick: a sine whose pitch falls from 150 Hz to 50 Hz, with a fast decay.
double Kick(double t) {
  const double phase = 2.0 * kPi * (50.0 * t + 100.0 * 0.03 * (1.0 - std::exp(-t / 0.03)));
  return 0.9 * std::sin(phase) * std::exp(-t / 0.18);
}

// Snare: a 190 Hz body and a noise burst.
double Snare(double t, double noise) {
  return 0.35 * std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t / 0.05) +
         0.45 * noise * std::exp(-t / 0.09);
}

// The bass line's notes, one per beat over two bars (E1 E1 G1 A1 | E1 E1 D2 B1).
double BassFrequency(int beat) {
  static const double kNotes[8] = {41.20, 41.20, 49.00, 55.00, 41.20, 41.20, 73.42, 61.74};
  return kNotes[beat % 8];
}

// Bass: the first four harmonics of a sawtooth, plucked.
double Bass(double t, double frequency) {
  double sum = 0.0;
  for (int h = 1; h <= 4; ++h) sum += std::sin(2.0 * kPi * frequency * h * t) / h;
  return 0.3 * sum * std::exp(-t / 0.35);
}

}  // namespace

DemoSignal DemoSignal::Make(double sampleRate, double seconds) {
  DemoSignal demo;
  demo.sampleRate = sampleRate;
  const size_t frames = size_t(std::lround(sampleRate * seconds));
  for (int c = 0; c < 2; ++c) {
    demo.mix[c].assign(frames, 0.0);
    demo.kick[c].assign(frames, 0.0);
  }
  Noise noise;
  double previousNoise = 0.0;
  for (size_t n = 0; n < frames; ++n) {
    const double t = double(n) / sampleRate;
    const double beats = t * kBeatsPerSecond;
    const int beat = int(beats);
    const double sinceBeat = (beats - beat) / kBeatsPerSecond;
    const double sinceEighth = (beats * 2.0 - std::floor(beats * 2.0)) / (2.0 * kBeatsPerSecond);
    const double white = noise.Next();
    // Differenced noise leans to the highs, which is what a closed hi-hat sounds like.
    const double hiss = white - previousNoise;
    previousNoise = white;

    const double kick = Kick(sinceBeat);
    const double snare = beat % 2 == 1 ? Snare(sinceBeat, white) : 0.0;
    const double hat = 0.12 * hiss * std::exp(-sinceEighth / 0.02);
    const double bass = Bass(sinceBeat, BassFrequency(beat));
    // Hi-hats sit a little right, the snare a little left; kick and bass in the middle.
    demo.mix[0][n] = kick + bass + 0.55 * snare + 0.4 * hat;
    demo.mix[1][n] = kick + bass + 0.45 * snare + 0.6 * hat;
    demo.kick[0][n] = kick;
    demo.kick[1][n] = kick;
  }
  // Peak at -1 dBFS: loud enough to drive the compressor, with no clipping.
  double peak = 0.0;
  for (int c = 0; c < 2; ++c) {
    for (double sample : demo.mix[c]) peak = std::fmax(peak, std::fabs(sample));
  }
  const double scale = peak > 0.0 ? kPeak / peak : 1.0;
  for (int c = 0; c < 2; ++c) {
    for (double& sample : demo.mix[c]) sample *= scale;
    for (double& sample : demo.kick[c]) sample *= scale;
  }
  return demo;
}
