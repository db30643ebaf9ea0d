#pragma once
// DemoSignal: a short stereo groove for hearing what the compressor does, made from scratch
// and the same on every run: a drum pattern (kick on every beat, snare on two and four, closed
// hi-hats on eighths) over a bass line, at 120 beats per minute, plus the kick alone as a
// side-chain signal for ducking.

#include <vector>

struct DemoSignal {
  double sampleRate = 48000.0;
  std::vector<double> mix[2];   ///< left, right: drums and bass
  std::vector<double> kick[2];  ///< left, right: the kick drum only

  // Builds `seconds` of the groove at the given sample rate.
  static DemoSignal Make(double sampleRate, double seconds);
};
