#include "Biquad.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A second-order section with denominator 1 + b1 z^-1 + b2 z^-2 has both poles strictly
// inside the unit circle exactly when |b2| < 1 and |b1| < 1 + b2 (the stability triangle).
bool IsStableAndFinite(double a0, double a1, double a2, double b1, double b2) {
  if (!std::isfinite(a0) || !std::isfinite(a1) || !std::isfinite(a2)) return false;
  if (!std::isfinite(b1) || !std::isfinite(b2)) return false;
  return std::fabs(b2) < 1.0 && std::fabs(b1) < 1.0 + b2;
}

}  // namespace

void Biquad::ComputeCoefficients() {
  if (type != kBiquadHighpass) return;
  const double K = std::tan(kPi * fc);
  const double norm = 1.0 / ((K / q + 1.0) + K * K);
  const double newA0 = norm;
  const double newA1 = -2.0 * norm;
  const double newA2 = norm;
  const double newB1 = 2.0 * (K * K - 1.0) * norm;
  const double newB2 = ((1.0 - K / q) + K * K) * norm;
  if (!IsStableAndFinite(newA0, newA1, newA2, newB1, newB2)) {
    MakeTransparent();
    return;
  }
  a0 = newA0;
  a1 = newA1;
  a2 = newA2;
  b1 = newB1;
  b2 = newB2;
}

bool Biquad::StateIsFinite() const { return std::isfinite(z1) && std::isfinite(z2); }

void Biquad::ClearState() {
  z1 = 0.0;
  z2 = 0.0;
}

void Biquad::MakeTransparent() {
  a0 = 1.0;
  a1 = 0.0;
  a2 = 0.0;
  b1 = 0.0;
  b2 = 0.0;
}
