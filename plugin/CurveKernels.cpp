// The curve kernels, compiled once per vector path. Highway's foreach_target re-includes this
// file once per instruction set; the vector code is built each time with that set's target
// attributes, the rest (the baseline kernels and the dispatch table) once.

// The vector paths: on x86-64 AVX2 with FMA, and AVX-512; AES and carry-less multiply are not
// needed, so the AVX2 path does not require them. On AArch64 NEON, the static target: Highway
// compiles it with the crypto extension enabled, but nothing here uses AES, so the code also
// runs on cores without it (the Raspberry Pi 4's). Highway's debug assertions would need its
// library.
#if defined(__aarch64__)
#define HWY_TARGETS HWY_NEON
#else
#define HWY_TARGETS (HWY_AVX3 | HWY_AVX2)
#define HWY_DISABLE_PCLMUL_AES
#endif
#define HWY_IS_DEBUG_BUILD 0

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "CurveKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Must follow foreach_target.h.
#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include "CurveKernels.h"
#include "GainComputer.h"
#include "SampleGuards.h"
#include "Saturate.h"

// The x86-64 baseline (Highway's static target there) needs no vector code: it uses the C library.
#if HWY_TARGET == HWY_AVX2 || HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_NEON
HWY_BEFORE_NAMESPACE();
namespace brask {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using Tag = hn::ScalableTag<double>;
using Vec = hn::Vec<Tag>;
using Mask = hn::Mask<Tag>;

// Room for one vector of the widest path (AVX-512: eight doubles).
constexpr int kMaxLanes = 8;

// Inputs beyond this leave the vector routines' checked range (sin of x^4 up to about 2.7e8).
constexpr double kCurveVectorLimit = 128.0;

// Slack for the audio curve's float rounding. The vector routines and the C library each lie
// within a few ulp of the exact sin and tanh; 2^-43 of the terms' magnitudes allows thousands,
// plus the roundings of the two subtractions. 2^-50 of the result covers the final multiply
// and add, which round on both sides.
constexpr double kTermSlack = 0x1p-43;
constexpr double kResultSlack = 0x1p-50;

// A level this close to the level law's jump at N = 1 - D (relative) is settled by the C
// library, so that a last-ulp difference in N can never pick the other branch.
constexpr double kJumpMargin = 1e-9;

// The gain law's vector range: the slope 10^-((dL + dR) / 20) within 1e-2..1e2, and exp's
// argument well inside its valid range.
constexpr double kSlopeSumLimit = 40.0;
constexpr double kExpLimit = 700.0;

constexpr double kLn10 = 2.302585092994045684;

// tanh(a) - tanh(b) for b >= 0, with one division instead of two: with A = expm1(2|a|) and
// B = expm1(2b), it is (sign(a) A (B + 2) - B (A + 2)) / ((A + 2)(B + 2)). Within a few ulp of
// |tanh a| + |tanh b| (Expm1: 4 ulp, plus five roundings); checked against the C library in the
// tests. Beyond |x| = 20 tanh is 1 to double precision, and the clamp keeps the products finite.
HWY_INLINE Vec TanhDifference(Tag d, Vec a, Vec b) {
  const Vec two = hn::Set(d, 2.0);
  const Vec clamp = hn::Set(d, 20.0);
  const Vec A = hn::Expm1(d, hn::Mul(hn::Min(hn::Abs(a), clamp), two));
  const Vec B = hn::Expm1(d, hn::Mul(hn::Min(b, clamp), two));
  const Vec A2 = hn::Add(A, two);
  const Vec B2 = hn::Add(B, two);
  const Vec numerator = hn::Sub(hn::CopySign(hn::Mul(A, B2), a), hn::Mul(B, A2));
  return hn::Div(numerator, hn::Mul(A2, B2));
}

// Saturate's curve in the scalar order, (sin(x^4) - (tanh(x^3) - tanh(x^4))) * k + x, and the
// bound |sin| + |t| + 2 min(|x^3|, 1) on the magnitude of its terms, which is at least
// |sin| + |tanh x^3| + |tanh x^4|.
HWY_INLINE Vec Curve(Tag d, Vec x, Vec k, Vec* termMagnitude) {
  const Vec x3 = hn::Mul(hn::Mul(x, x), x);
  const Vec x4 = hn::Mul(x3, x);
  const Vec s = hn::Sin(d, x4);
  const Vec t = TanhDifference(d, x3, x4);
  const Vec tanhCube = hn::Min(hn::Abs(x3), hn::Set(d, 1.0));
  *termMagnitude = hn::Add(hn::Add(hn::Abs(s), hn::Abs(t)), hn::Add(tanhCube, tanhCube));
  return hn::Add(hn::Mul(hn::Sub(s, t), k), x);
}

HWY_INLINE Vec Curve(Tag d, Vec x, Vec k) {
  Vec unused;
  return Curve(d, x, k, &unused);
}

// Calls recompute(i) for every lane i set in a mask; that is rare, so a clear mask costs one test.
template <class Recompute>
HWY_INLINE void ForEachLane(Tag d, Mask lanes, const Recompute& recompute) {
  if (HWY_LIKELY(hn::AllFalse(d, lanes))) return;
  double flags[kMaxLanes];
  hn::StoreU(hn::IfThenElseZero(lanes, hn::Set(d, 1.0)), d, flags);
  for (size_t i = 0; i < hn::Lanes(d); ++i) {
    if (flags[i] != 0.0) recompute(i);
  }
}

// One vector of the audio curve, rounded to float.
HWY_INLINE void SaturateAudioVector(Tag d, const double* in, float* out, double k) {
  const hn::Rebind<float, Tag> df;
  const Vec x = hn::LoadU(d, in);
  // Silence is common, and the curve of zero is zero on every path.
  if (hn::AllTrue(d, hn::Eq(x, hn::Zero(d)))) {
    hn::StoreU(hn::Zero(df), df, out);
    return;
  }
  const Mask inRange = hn::Le(hn::Abs(x), hn::Set(d, kCurveVectorLimit));  // false for NaN
  Vec terms;
  const Vec y = Curve(d, hn::IfThenElseZero(inRange, x), hn::Set(d, k), &terms);
  hn::StoreU(hn::DemoteTo(df, y), df, out);

  // The C library's result lies within y +- slack; if both ends round to the same float, so
  // does it (rounding is monotonic).
  const Vec slack = hn::Add(hn::Mul(terms, hn::Set(d, k * kTermSlack)),
                            hn::Mul(hn::Abs(y), hn::Set(d, kResultSlack)));
  const Vec low = hn::PromoteTo(d, hn::DemoteTo(df, hn::Sub(y, slack)));
  const Vec high = hn::PromoteTo(d, hn::DemoteTo(df, hn::Add(y, slack)));
  ForEachLane(d, hn::Or(hn::Not(inRange), hn::Ne(low, high)),
              [&](size_t i) { out[i] = float(Saturate(Sanitized(in[i]), k)); });
}

void SaturateAudio(const double* in, float* out, int frames, double k) {
  const Tag d;
  const int lanes = int(hn::Lanes(d));
  int n = 0;
  for (; n + lanes <= frames; n += lanes) SaturateAudioVector(d, in + n, out + n, k);
  if (n == frames) return;
  double padded[kMaxLanes] = {};
  float result[kMaxLanes];
  for (int i = n; i < frames; ++i) padded[i - n] = in[i];
  SaturateAudioVector(d, padded, result, k);
  for (int i = n; i < frames; ++i) out[i] = result[i - n];
}

// The detector level of DetectorLevel, lane by lane. For N > 0, N > sqrt(N (1 - D)) is
// N > 1 - D; the lanes close enough to that jump for rounding to matter are recomputed with
// the C library, so the comparison needs no root. Loud vectors lie above it in every lane and
// need no root at all.
HWY_INLINE Vec Level(Tag d, Vec N, Vec jump, double D) {
  const Mask loud = hn::Gt(N, jump);
  Vec L = N;
  if (!hn::AllTrue(d, loud)) {
    const Vec O = hn::Mul(N, jump);
    L = hn::IfThenElse(loud, N, hn::Sqrt(hn::Add(O, hn::Mul(hn::Set(d, D), O))));
  }
  return hn::IfThenElseZero(hn::Gt(N, hn::Zero(d)), L);
}

// The lanes of a target-gain vector that the C library settles, one by one.
HWY_INLINE void RecomputeGainLanes(Tag d, Mask lanes, const double* dL, const double* dR,
                                   double* out, const DetectorLaw& law) {
  ForEachLane(d, lanes, [&](size_t i) { out[i] = DetectorTargetGain(dL[i], dR[i], law); });
}

// One vector of target gains.
HWY_INLINE void TargetGainVector(Tag d, const double* dL, const double* dR, double* out,
                                 const DetectorLaw& law) {
  const Vec one = hn::Set(d, 1.0);
  const Vec left = hn::LoadU(d, dL);
  const Vec right = hn::LoadU(d, dR);
  // A silent detector has no level: the target is exactly 1.
  const Vec zero = hn::Zero(d);
  if (hn::AllTrue(d, hn::And(hn::Eq(left, zero), hn::Eq(right, zero)))) {
    hn::StoreU(one, d, out);
    return;
  }
  const Vec gin = hn::Set(d, law.gin);
  const Vec xR = hn::Mul(right, gin);
  const Vec xL = hn::Mul(left, gin);
  const Vec limit = hn::Set(d, kCurveVectorLimit);
  const Mask inRange = hn::And(hn::Le(hn::Abs(xR), limit), hn::Le(hn::Abs(xL), limit));
  const Vec k = hn::Set(d, law.k);
  const Vec N = hn::Add(Curve(d, hn::IfThenElseZero(inRange, xR), k),
                        Curve(d, hn::IfThenElseZero(inRange, xL), k));
  const Vec jump = hn::Set(d, 1.0 - law.D);
  const Vec L = Level(d, N, jump, law.D);
  const Mask nearJump = hn::Lt(hn::Abs(hn::Sub(N, jump)), hn::Mul(jump, hn::Set(d, kJumpMargin)));
  const Mask settledByLibrary = hn::Or(hn::Not(inRange), nearJump);

  const Mask above = hn::Gt(L, hn::Set(d, law.T));
  if (hn::AllFalse(d, above)) {  // quiet passages: no gain law to evaluate
    hn::StoreU(one, d, out);
    RecomputeGainLanes(d, settledByLibrary, dL, dR, out, law);
    return;
  }
  // Above the threshold R = exp(((ln(L) C + I) a - I) / C) / L with a = 10^-((dL + dR) / 20),
  // which is exp((a - 1)(ln(L) + I / C)): no division, and a - 1 from expm1 keeps its
  // precision where a is close to 1. ln(L) + I / C is not negative above the threshold.
  const Vec level = hn::IfThenElse(above, L, one);  // keeps log's argument positive
  const Vec sum = hn::Add(left, right);
  const Vec slopeMinusOne = hn::Expm1(d, hn::Mul(sum, hn::Set(d, -kLn10 / 20.0)));
  const Vec excess = hn::Add(hn::Log(d, level), hn::Set(d, law.I / kLogScale));
  const Vec exponent = hn::Mul(slopeMinusOne, excess);
  hn::StoreU(hn::IfThenElse(above, hn::Exp(d, exponent), one), d, out);

  const Mask lawInRange = hn::And(hn::Le(hn::Abs(sum), hn::Set(d, kSlopeSumLimit)),
                                  hn::Le(hn::Abs(exponent), hn::Set(d, kExpLimit)));
  RecomputeGainLanes(d, hn::Or(settledByLibrary, hn::AndNot(lawInRange, above)), dL, dR, out, law);
}

void TargetGains(const double* dL, const double* dR, double* targetGain, int frames,
                 const DetectorLaw& law) {
  const Tag d;
  const int lanes = int(hn::Lanes(d));
  int n = 0;
  for (; n + lanes <= frames; n += lanes) {
    TargetGainVector(d, dL + n, dR + n, targetGain + n, law);
  }
  if (n == frames) return;
  double left[kMaxLanes] = {}, right[kMaxLanes] = {}, result[kMaxLanes];
  for (int i = n; i < frames; ++i) {
    left[i - n] = dL[i];
    right[i - n] = dR[i];
  }
  TargetGainVector(d, left, right, result, law);
  for (int i = n; i < frames; ++i) targetGain[i] = result[i - n];
}

// NOLINTNEXTLINE(google-readability-namespace-comments)
}  // namespace HWY_NAMESPACE
}  // namespace brask
HWY_AFTER_NAMESPACE();
#endif  // vector targets

#if HWY_ONCE

namespace {

#if defined(__aarch64__)

const CurveKernels kKernels[kVectorPathCount] = {
    {brask::N_NEON::SaturateAudio, brask::N_NEON::TargetGains},
};

#else

// The x86-64 baseline: the scalar C library computation itself, sample by sample.
void SaturateAudioScalar(const double* in, float* out, int frames, double k) {
  for (int n = 0; n < frames; ++n) out[n] = float(Saturate(Sanitized(in[n]), k));
}

void TargetGainsScalar(const double* dL, const double* dR, double* targetGain, int frames,
                       const DetectorLaw& law) {
  for (int n = 0; n < frames; ++n) targetGain[n] = DetectorTargetGain(dL[n], dR[n], law);
}

const CurveKernels kKernels[kVectorPathCount] = {
    {SaturateAudioScalar, TargetGainsScalar},
    {brask::N_AVX2::SaturateAudio, brask::N_AVX2::TargetGains},
    {brask::N_AVX3::SaturateAudio, brask::N_AVX3::TargetGains},
};

#endif

}  // namespace

const CurveKernels& KernelsFor(VectorPath path) {
  const int index = int(path);
  return kKernels[index >= 0 && index < kVectorPathCount ? index : 0];
}

#endif  // HWY_ONCE
