#include "NyquistLowpass.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

struct Coefficients {
  float b0, b1, b2, a1, a2;
  bool exists;  // false when the pre-warped frequency is not a positive number
};

// Magnitude of the analog prototype 1 / (s^2/w0^2 + s/wq + 1) at the digital frequency w.
float PrototypeMagnitude(float w, float wq, float w0) {
  const float p = w / wq;
  const float r = 1.0f - (w / w0) * (w / w0);
  return 1.0f / sqrtf(p * p + r * r);
}

// Pre-warped frequency g.
float PrewarpedFrequency(float q, float w0, float G) {
  if (double(q) <= std::sqrt(0.5)) {
    const float qq = q * q;
    const float t = (1.0f - 4.0f * qq) / powf(q, 4.0f) + 4.0f / G;
    const float u = (sqrtf(t) + (2.0f - 1.0f / (2.0f * qq))) * 0.5f;
    const float halfW0 = w0 * 0.5f;
    const float tangent = tanf(sqrtf(u) * w0 * 0.5f);
    return tangent < halfW0 ? tangent : halfW0;
  }
  const float twoQ = 2.0f * q;
  return tanf(sqrtf(1.0f - 1.0f / (twoQ * twoQ)) * w0 * 0.5f);
}

// The matched design; double precision only where the formulas ask for it.
Coefficients Design(float cutoffHz, float q, float sampleRate) {
  const float w0 = float(kTwoPi * double(cutoffHz) / double(sampleRate));
  const float wq = w0 * q;
  const double nyquistRatio = std::sqrt(2.0) * kPi / double(w0);
  const double nyquistTerm = 2.0 - nyquistRatio * nyquistRatio;
  const double dampingTerm = kTwoPi / double(wq);
  const float G = float(2.0 / std::sqrt(dampingTerm * dampingTerm + nyquistTerm * nyquistTerm));
  const float g = PrewarpedFrequency(q, w0, G);
  // The matched filter exists only for a cutoff below the Nyquist frequency and a positive
  // pre-warped frequency. For 19 kHz, below about 43340 Hz the tangent's argument passes pi/2
  // and the tangent turns negative; lower still the formulas may even come out finite and
  // stable again, but they no longer describe this low-pass.
  const bool exists = w0 > 0.0f && double(w0) < kPi && g > 0.0f;
  if (!exists) return {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, false};
  const float wA = 2.0f * atanf(g);
  const float wB = 2.0f * atanf(g / sqrtf(G));
  const float hA = PrototypeMagnitude(wA, wq, w0);
  const float hB = PrototypeMagnitude(wB, wq, w0);
  const float H1 = hA * hA;
  const float H2 = hB * hB;
  const float d = H1 - H2;
  const float gm1Squared = (G - 1.0f) * (G - 1.0f);
  const float o = sqrtf(d * G / ((H2 + G) * gm1Squared));
  const float r = sqrtf(G * G * d / ((H1 + G) * H2 * gm1Squared));
  const float gg = g * g;
  const float go = (1.0f / o) * g;
  const float gr = (sqrtf(G) / r) * g;
  const float den = (gg + go) + 1.0f;
  return {((gg + gr) + G) / den,      ((gg - G) * 2.0f) / den,  ((gg - gr) + G) / den,
          ((gg - 1.0f) * 2.0f) / den, ((gg - go) + 1.0f) / den, true};
}

// The design exists, every value is finite and both poles lie strictly inside the unit circle
// (the stability triangle).
bool IsUsable(const Coefficients& c) {
  if (!c.exists) return false;
  for (float v : {c.b0, c.b1, c.b2, c.a1, c.a2}) {
    if (!std::isfinite(v)) return false;
  }
  return std::fabs(c.a2) < 1.0f && std::fabs(c.a1) < 1.0f + c.a2;
}

}  // namespace

void NyquistLowpass::DesignLowpass(float cutoffHz, float q, float sampleRate) {
  const Coefficients c = Design(cutoffHz, q, sampleRate);
  mBypassed = !IsUsable(c);
  if (mBypassed) {
    b0 = 1.0f;
    b1 = b2 = a1 = a2 = 0.0f;
    return;
  }
  b0 = c.b0;
  b1 = c.b1;
  b2 = c.b2;
  a1 = c.a1;
  a2 = c.a2;
}

void NyquistLowpass::ClearState() { x1 = x2 = y1 = y2 = 0.0f; }

bool NyquistLowpass::StateIsFinite() const {
  return std::isfinite(x1) && std::isfinite(x2) && std::isfinite(y1) && std::isfinite(y2);
}
