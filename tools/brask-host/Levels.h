#pragma once
// Levels: peak and RMS of a stream of samples, in linear terms and in dB relative to full
// scale. Silence reads as minus infinity.

#include <cmath>
#include <cstdint>

struct Levels {
  double peak = 0.0;
  double sumSquares = 0.0;
  int64_t count = 0;

  void Add(double sample) {
    peak = std::fmax(peak, std::fabs(sample));
    sumSquares += sample * sample;
    ++count;
  }
  double Rms() const { return count > 0 ? std::sqrt(sumSquares / double(count)) : 0.0; }
  double PeakDb() const { return ToDb(peak); }
  double RmsDb() const { return ToDb(Rms()); }

  static double ToDb(double linear) { return 20.0 * std::log10(linear); }
};
