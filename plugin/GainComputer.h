#pragma once
// GainComputer: the level detector, gain law and gain smoothing of the Brask compressor, as
// pure functions of one sample's values, so the law can be read and checked on its own.
//
// Levels and the threshold are compared on the scale kLogScale * ln; the threshold sits at -I
// (I is ten times "Input"), and the excess of the level over it is multiplied by the slope a.

#include <cmath>

#include "Saturate.h"

// Scale of the log domain. Deliberately not 20 / ln(10): the whole gain law (threshold, slope)
// is tuned to this value.
constexpr double kLogScale = 8.65617025;

// The detector level from the saturated detector sum N, with the detector pole D. A sum of 0 or
// below (or NaN) is never above the threshold: its root would be NaN, which compares false, so
// it is answered as level 0 without taking the root of a negative number.
inline double DetectorLevel(double N, double D) {
  if (!(N > 0.0)) return 0.0;
  const double O = N * (1.0 - D);
  if (N > std::sqrt(O)) return N;
  return std::sqrt(O + D * O);
}

// The slope from the sum of the two filtered detector samples dL + dR.
inline double Slope(double detectorSum) { return 1.0 / std::pow(10.0, detectorSum / 20.0); }

// The factor that brings level L to its compressed level; 1 at or below the threshold T (a
// positive number). The slope is only needed above the threshold, so it is computed there.
inline double TargetGain(double L, double T, double detectorSum, double I) {
  if (!(L > T)) return 1.0;
  const double a = Slope(detectorSum);
  return std::exp(((std::log(L) * kLogScale + I) * a - I) / kLogScale) / L;
}

// Attack and release act on the gain itself: from S towards R it falls by at most the factor F
// and rises by at most the factor 1/G per sample.
inline double SmoothedGain(double S, double R, double F, double G) {
  if (S > R) return R > S * F ? R : S * F;
  return S / G < R ? S / G : R;
}

// The meter's smoothed level after a sample with gain S: it follows |1 - S|, pushed 1.25 %
// beyond it on the way up and short of it on the way down, through the one-pole smoothing.
inline double NextMeterLevel(double level, double S, double smoothing) {
  const double v = std::fabs(1.0 - S);
  const double target = v > level ? v * 1.0125 : v * 0.9875;
  return (level - target) * smoothing + target;
}

// The per-block constants of the detector and the gain law.
struct DetectorLaw {
  double gin;  // detector drive, 10^(Input/20)
  double k;    // saturation amount
  double D;    // detector pole
  double T;    // threshold
  double I;    // ten times "Input"
};

// The target gain for one pair of filtered detector samples: the detector curve, the level and
// the gain law, exactly in the scalar order.
inline double DetectorTargetGain(double dL, double dR, const DetectorLaw& law) {
  const double N = Saturate(dR * law.gin, law.k) + Saturate(dL * law.gin, law.k);
  return TargetGain(DetectorLevel(N, law.D), law.T, dL + dR, law.I);
}
