#pragma once
// ProgramMaterial: deterministic test signals that resemble what a compressor meets: a drum
// loop (kick sweeps and snare noise bursts), a bass line, white noise and steady tones.

#include <cmath>
#include <cstdint>

#include "BraskRig.h"

enum class Material { kDrums, kBass, kNoise, kTones };

inline const char* MaterialName(Material m) {
  switch (m) {
    case Material::kDrums:
      return "drums";
    case Material::kBass:
      return "bass";
    case Material::kNoise:
      return "noise";
    case Material::kTones:
      return "tones";
  }
  return "?";
}

// Uniform noise in -1..1 from a linear congruential generator.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed) : state(seed) {}
  double Next() {
    state = state * 1664525u + 1013904223u;
    return double(state >> 8) / double(1u << 23) - 1.0;
  }

 private:
  uint32_t state;
};

inline double MaterialSample(Material m, int n, double sampleRate, NoiseSource& noise) {
  const double twoPi = 6.283185307179586;
  const double t = n / sampleRate;
  switch (m) {
    case Material::kDrums: {
      const double beat = std::fmod(t, 0.5);  // 120 bpm
      const double kick =
          std::exp(-beat * 18.0) * std::sin(twoPi * (50.0 + 90.0 * std::exp(-beat * 30.0)) * beat);
      const double offbeat = std::fmod(t + 0.25, 0.5);
      const double snare = std::exp(-offbeat * 25.0) * noise.Next() * 0.6;
      return 0.9 * kick + snare;
    }
    case Material::kBass: {
      const double note = std::floor(t * 4.0);
      const double f = 41.2 * std::pow(2.0, std::fmod(note * 5.0, 12.0) / 12.0);
      const double phase = twoPi * f * t;
      return 0.7 * std::sin(phase) + 0.2 * std::sin(2.0 * phase) + 0.08 * std::sin(3.0 * phase);
    }
    case Material::kNoise:
      return 0.5 * noise.Next();
    case Material::kTones:
      return 0.4 * std::sin(twoPi * 440.0 * t) + 0.3 * std::sin(twoPi * 3520.0 * t) +
             0.2 * std::sin(twoPi * 15000.0 * t);
  }
  return 0.0;
}

// frames of the material at a level, on the main input or the side chain; the right channel
// is a slightly different mix, so the channels differ.
inline Signal MakeMaterial(Material m, int frames, double sampleRate, double level,
                           bool onSideChain = false) {
  Signal s(frames);
  NoiseSource noiseLeft(7u), noiseRight(99u);
  for (int n = 0; n < frames; ++n) {
    const double left = MaterialSample(m, n, sampleRate, noiseLeft);
    const double right = MaterialSample(m, n + 37, sampleRate, noiseRight);
    s[onSideChain ? 2 : 0][size_t(n)] = level * left;
    s[onSideChain ? 3 : 1][size_t(n)] = level * (0.7 * right + 0.3 * left);
  }
  return s;
}
