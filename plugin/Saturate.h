#pragma once
// Saturate: the memoryless curve that gives Brask its colour, on the audio and the detector.
//
// x + k * (sin(x^4) - (tanh(x^3) - tanh(x^4))): almost transparent for small signals, bending
// large ones unevenly because x^4 is even, so positive and negative peaks are shaped
// differently. Double precision throughout. Inline, because it runs four times per frame.

#include <cmath>

// Brask's amount k, 10^-2.25; the processing recomputes it with pow at the start of each block.
constexpr double kSaturationAmount = 0.005623413251903491;

inline double Saturate(double x, double k) {
  // Silence is the most common input; the full curve gives exactly 0 there as well.
  if (x == 0.0) return 0.0;
  const double x3 = (x * x) * x;
  const double x4 = x3 * x;
  return (std::sin(x4) - (std::tanh(x3) - std::tanh(x4))) * k + x;
}
