// The chunk kernels, compiled once per vector path. Highway's foreach_target re-includes this
// file once per instruction set; the code is built each time with that set's target
// attributes, and the dispatch table once.

// Highway's static target (scalar, or emulated 128-bit with Clang) is the x86-64 baseline,
// which evaluates the curves with the C library; on AArch64 the static target is NEON, a vector
// target. The vector targets are listed in VectorTargets.h.
#include "VectorTargets.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ChunkKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Must follow foreach_target.h.
#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "ChunkKernels.h"
#include "GainComputer.h"
#include "SampleGuards.h"
#include "Saturate.h"
#include "StereoFilters.h"

HWY_BEFORE_NAMESPACE();
namespace brask {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR || HWY_TARGET == HWY_EMU128  // the baseline

// The baseline: the scalar C library computation itself, sample by sample, a few at a time.
constexpr int kGroupFrames = 4;

void SaturateAudio(const double* in, float* out, int frames, double k) {
  for (int n = 0; n < frames; ++n) out[n] = float(Saturate(Sanitized(in[n]), k));
}

void TargetGains(const double* dL, const double* dR, double* targetGain, int frames,
                 const DetectorLaw& law) {
  for (int n = 0; n < frames; ++n) targetGain[n] = DetectorTargetGain(dL[n], dR[n], law);
}

// A group of frames between which the first chunk's detector filter runs, kGroupFrames or fewer.
void SaturateGroup(const double* in, float* out, int frames, double k) {
  SaturateAudio(in, out, frames, k);
}

#else  // vector targets

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

// Within |x| <= 1, the common case for audio, the curve's functions need no range reduction:
// sin(v) for 0 <= v <= 1 is its Taylor series up to v^17 (truncation below 1e-17 of it), and
// tanh(z) for |z| <= 1 is z P(z^2) / Q(z^2), a convergent of its continued fraction (below 2e-17
// of it). Every coefficient is positive in P and Q, so their evaluation adds only a few ulp.
// Checked against the C library in the tests, as the general routines are.
HWY_INLINE Vec SinOfUnitRange(Tag d, Vec v) {
  const Vec w = hn::Mul(v, v);
  Vec p = hn::Set(d, 2.8114572543455206e-15);  // 1/17!
  p = hn::MulAdd(p, w, hn::Set(d, -7.647163731819816e-13));
  p = hn::MulAdd(p, w, hn::Set(d, 1.6059043836821613e-10));
  p = hn::MulAdd(p, w, hn::Set(d, -2.505210838544172e-08));
  p = hn::MulAdd(p, w, hn::Set(d, 2.7557319223985893e-06));
  p = hn::MulAdd(p, w, hn::Set(d, -0.0001984126984126984));
  p = hn::MulAdd(p, w, hn::Set(d, 0.008333333333333333));
  p = hn::MulAdd(p, w, hn::Set(d, -0.16666666666666666));  // -1/3!
  return hn::MulAdd(hn::Mul(p, w), v, v);
}

// The numerator z P(z^2) and the denominator Q(z^2) of tanh(z), |z| <= 1 (P: 1, 8/57, 7/1615,
// 4/101745, 1/11904165; Q: 1, 9/19, 28/969, 7/14535, 1/440895, 1/654729075).
HWY_INLINE void TanhFractionOfUnitRange(Tag d, Vec z, Vec* numerator, Vec* denominator) {
  const Vec w = hn::Mul(z, z);
  const Vec one = hn::Set(d, 1.0);
  Vec p = hn::Set(d, 8.400421197118823e-08);
  p = hn::MulAdd(p, w, hn::Set(d, 3.9313971202516095e-05));
  p = hn::MulAdd(p, w, hn::Set(d, 0.0043343653250774));
  p = hn::MulAdd(p, w, hn::Set(d, 0.14035087719298245));
  p = hn::MulAdd(p, w, one);
  Vec q = hn::Set(d, 1.5273493085670588e-09);
  q = hn::MulAdd(q, w, hn::Set(d, 2.2681137232220826e-06));
  q = hn::MulAdd(q, w, hn::Set(d, 0.00048159614723082214));
  q = hn::MulAdd(q, w, hn::Set(d, 0.02889576883384933));
  q = hn::MulAdd(q, w, hn::Set(d, 0.47368421052631576));
  q = hn::MulAdd(q, w, one);
  *numerator = hn::Mul(z, p);
  *denominator = q;
}

// tanh(a) - tanh(b) for |a|, |b| <= 1 with one division: (nA qB - nB qA) / (qA qB).
HWY_INLINE Vec TanhDifferenceOfUnitRange(Tag d, Vec a, Vec b) {
  Vec nA, qA, nB, qB;
  TanhFractionOfUnitRange(d, a, &nA, &qA);
  TanhFractionOfUnitRange(d, b, &nB, &qB);
  return hn::Div(hn::MulSub(nA, qB, hn::Mul(nB, qA)), hn::Mul(qA, qB));
}

// Saturate's curve in the scalar order, (sin(x^4) - (tanh(x^3) - tanh(x^4))) * k + x, and the
// bound |sin| + |t| + 2 min(|x^3|, 1) on the magnitude of its terms, which is at least
// |sin| + |tanh x^3| + |tanh x^4|.
HWY_INLINE Vec Curve(Tag d, Vec x, Vec k, Vec* termMagnitude) {
  const Vec x3 = hn::Mul(hn::Mul(x, x), x);
  const Vec x4 = hn::Mul(x3, x);
  Vec s, t;
  if (hn::AllTrue(d, hn::Le(hn::Abs(x), hn::Set(d, 1.0)))) {
    s = SinOfUnitRange(d, x4);
    t = TanhDifferenceOfUnitRange(d, x3, x4);
  } else {
    s = hn::Sin(d, x4);
    t = TanhDifference(d, x3, x4);
  }
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

// One group of frames (a vector's lanes or fewer); a partial vector is computed in a padded copy.
HWY_INLINE void SaturateGroup(const double* in, float* out, int frames, double k) {
  const Tag d;
  if (frames == int(hn::Lanes(d))) return SaturateAudioVector(d, in, out, k);
  double padded[kMaxLanes] = {};
  float result[kMaxLanes];
  std::copy(in, in + frames, padded);
  SaturateAudioVector(d, padded, result, k);
  std::copy(result, result + frames, out);
}

void SaturateAudio(const double* in, float* out, int frames, double k) {
  const int lanes = int(hn::Lanes(Tag()));
  for (int n = 0; n < frames; n += lanes) {
    SaturateGroup(in + n, out + n, std::min(lanes, frames - n), k);
  }
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

// The detector's saturated sum N of one vector of frames; NaN in lanes outside the vector
// routines' range, which the C library settles.
HWY_INLINE void DetectorSumVector(Tag d, const double* dL, const double* dR, double* sums,
                                  const DetectorLaw& law) {
  const Vec left = hn::LoadU(d, dL);
  const Vec right = hn::LoadU(d, dR);
  // A silent detector has no level: N = 0 gives the target 1.
  const Vec zero = hn::Zero(d);
  if (hn::AllTrue(d, hn::And(hn::Eq(left, zero), hn::Eq(right, zero)))) {
    hn::StoreU(zero, d, sums);
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
  hn::StoreU(hn::IfThenElse(inRange, N, hn::NaN(d)), d, sums);
}

// From one vector of detector sums: which lanes lie above the threshold (flag 1), and the
// exponent of the gain law there; NaN in lanes the C library settles.
HWY_INLINE void GainExponentVector(Tag d, const double* dL, const double* dR, const double* sums,
                                   double* exponents, double* aboveFlags, const DetectorLaw& law) {
  const Vec one = hn::Set(d, 1.0);
  const Vec N = hn::LoadU(d, sums);
  const Vec jump = hn::Set(d, 1.0 - law.D);
  const Vec L = Level(d, N, jump, law.D);
  const Mask nearJump = hn::Lt(hn::Abs(hn::Sub(N, jump)), hn::Mul(jump, hn::Set(d, kJumpMargin)));
  const Mask settledByLibrary = hn::Or(hn::IsNaN(N), nearJump);
  const Mask above = hn::Gt(L, hn::Set(d, law.T));
  hn::StoreU(hn::IfThenElseZero(above, one), d, aboveFlags);
  if (hn::AllFalse(d, above)) {  // quiet passages: no gain law to evaluate
    hn::StoreU(hn::IfThenElseZero(settledByLibrary, hn::NaN(d)), d, exponents);
    return;
  }
  // Above the threshold R = exp(((ln(L) C + I) a - I) / C) / L with a = 10^-((dL + dR) / 20),
  // which is exp((a - 1)(ln(L) + I / C)): no division, and a - 1 from expm1 keeps its
  // precision where a is close to 1. ln(L) + I / C is not negative above the threshold.
  const Vec level = hn::IfThenElse(above, L, one);  // keeps log's argument positive
  const Vec sum = hn::Add(hn::LoadU(d, dL), hn::LoadU(d, dR));
  const Vec slopeMinusOne = hn::Expm1(d, hn::Mul(sum, hn::Set(d, -kLn10 / 20.0)));
  const Vec excess = hn::Add(hn::Log(d, level), hn::Set(d, law.I / kLogScale));
  const Vec exponent = hn::Mul(slopeMinusOne, excess);
  const Mask lawInRange = hn::And(hn::Le(hn::Abs(sum), hn::Set(d, kSlopeSumLimit)),
                                  hn::Le(hn::Abs(exponent), hn::Set(d, kExpLimit)));
  const Mask library = hn::Or(settledByLibrary, hn::AndNot(lawInRange, above));
  hn::StoreU(hn::IfThenElse(library, hn::NaN(d), exponent), d, exponents);
}

// One vector of target gains from its exponents and flags.
HWY_INLINE void GainVector(Tag d, const double* dL, const double* dR, const double* exponents,
                           const double* aboveFlags, double* out, const DetectorLaw& law) {
  const Vec one = hn::Set(d, 1.0);
  const Vec exponent = hn::LoadU(d, exponents);
  const Mask above = hn::Ne(hn::LoadU(d, aboveFlags), hn::Zero(d));
  const Mask library = hn::IsNaN(exponent);
  if (hn::AllFalse(d, above)) {
    hn::StoreU(one, d, out);
  } else {
    const Vec R = hn::Exp(d, hn::IfThenElseZero(hn::Not(library), exponent));
    hn::StoreU(hn::IfThenElse(above, R, one), d, out);
  }
  RecomputeGainLanes(d, library, dL, dR, out, law);
}

// The target gains of up to kChunkFrames frames, in three passes: the detector curves, then the
// level and the law's exponent, then the exponential. One vector's whole chain (curves,
// logarithm, exponential) is longer than the processor's window of waiting instructions, so
// done vector by vector the next vector's work could hardly overlap it; each pass's chain is
// short enough for several vectors to be in flight. A partial last vector is computed from a
// padded copy.
HWY_INLINE void TargetGainsOfChunk(const double* dL, const double* dR, double* out, int frames,
                                   const DetectorLaw& law) {
  const Tag d;
  const int lanes = int(hn::Lanes(d));
  const int whole = frames / lanes * lanes;
  double left[kMaxLanes] = {}, right[kMaxLanes] = {}, tail[kMaxLanes];
  std::copy(dL + whole, dL + frames, left);
  std::copy(dR + whole, dR + frames, right);
  const auto forEachVector = [&](const auto& pass) {
    for (int n = 0; n < whole; n += lanes) pass(dL + n, dR + n, n);
    if (whole < frames) pass(left, right, whole);
  };
  double sums[kChunkFrames + kMaxLanes];
  double exponents[kChunkFrames + kMaxLanes];
  double aboveFlags[kChunkFrames + kMaxLanes];
  forEachVector(
      [&](const double* l, const double* r, int n) { DetectorSumVector(d, l, r, sums + n, law); });
  forEachVector([&](const double* l, const double* r, int n) {
    GainExponentVector(d, l, r, sums + n, exponents + n, aboveFlags + n, law);
  });
  forEachVector([&](const double* l, const double* r, int n) {
    GainVector(d, l, r, exponents + n, aboveFlags + n, n < whole ? out + n : tail, law);
  });
  std::copy(tail, tail + (frames - whole), out + whole);
}

void TargetGains(const double* dL, const double* dR, double* targetGain, int frames,
                 const DetectorLaw& law) {
  for (int n = 0; n < frames; n += kChunkFrames) {
    TargetGainsOfChunk(dL + n, dR + n, targetGain + n, std::min(kChunkFrames, frames - n), law);
  }
}

// The first chunk's detector filter runs between groups of a vector's frames.
constexpr int kGroupFrames = HWY_LANES(double);

#endif  // vector targets

namespace hn = hwy::HWY_NAMESPACE;
// The element-wise steps around the recursive loop; on the baseline, a lane at a time.
using FrameTag = hn::ScalableTag<double>;

// in[c][n] = double(float(Sanitized(x[c][n]))): the detector filter's input, for both channels.
void RoundedDetectorInput(const ChunkFrames& frames, double (*in)[kChunkFrames]) {
  const FrameTag d;
  const hn::Rebind<float, FrameTag> df;
  const auto limit = hn::Set(d, double(FLT_MAX));
  const int lanes = int(hn::Lanes(d));
  int n = 0;
  for (; n + lanes <= frames.count; n += lanes) {
    for (int c = 0; c < 2; ++c) {
      const auto x = hn::LoadU(d, frames.detector[c] + n);
      const auto sane = hn::IfThenElseZero(hn::Le(hn::Abs(x), limit), x);  // false for NaN
      hn::StoreU(hn::PromoteTo(d, hn::DemoteTo(df, sane)), d, in[c] + n);
    }
  }
  for (; n < frames.count; ++n) {
    for (int c = 0; c < 2; ++c) in[c][n] = double(float(Sanitized(frames.detector[c][n])));
  }
}

// The detector's high-pass pair and its latest samples (dL, dR) in registers for a chunk. With
// "Sidechain" out of range the filters stand still and the previous samples repeat.
class DetectorFilter {
 public:
  DetectorFilter(const RecursiveState& state, int sidechain)
      : filters(state.detectorHighpass),
        d(MakeStereo(state.detectorSample[0], state.detectorSample[1])),
        running(sidechain >= 0) {}

  // Filters frame n of the rounded input into out[0][n] and out[1][n].
  HWY_INLINE void Step(const double (*in)[kChunkFrames], int n, double (*out)[kChunkFrames]) {
    if (running) d = Widened(RoundedToFloat(filters.ProcessSample(MakeStereo(in[0][n], in[1][n]))));
    out[0][n] = LeftOf(d);
    out[1][n] = RightOf(d);
  }

  void StoreTo(RecursiveState& state) const {
    filters.StoreTo(state.detectorHighpass);
    state.detectorSample[0] = LeftOf(d);
    state.detectorSample[1] = RightOf(d);
  }

 private:
  StereoBiquad filters;
  StereoDouble d;
  bool running;
};

// The detector input of the first chunk of a block, filtered while the audio curve is
// evaluated: no loop before it hides the filter's chain, so the curve's vectors do.
void FilterDetectorWhileSaturating(const ChunkFrames& frames, const BlockSettings& settings,
                                   RecursiveState& state, ChunkBuffers& buffers,
                                   float (*saturated)[kChunkFrames]) {
  double in[2][kChunkFrames];
  RoundedDetectorInput(frames, in);
  DetectorFilter filter(state, settings.sidechain);
  for (int start = 0; start < frames.count; start += kGroupFrames) {
    const int count = std::min(kGroupFrames, frames.count - start);
    SaturateGroup(frames.main[0] + start, saturated[0] + start, count, settings.law.k);
    SaturateGroup(frames.main[1] + start, saturated[1] + start, count, settings.law.k);
    for (int n = start; n < start + count; ++n) filter.Step(in, n, buffers.detector);
  }
  filter.StoreTo(state);
}

// The outputs from the gain and the shaped audio of every frame, "Mix" applied.
void Mix(const ChunkFrames& frames, const BlockSettings& settings, const double* gain,
         const double (*shaped)[kChunkFrames]) {
  const double m = settings.m, oneMinusM = 1.0 - settings.m, outputGain = settings.outputGain;
  const FrameTag d;
  const auto vm = hn::Set(d, m), vOneMinusM = hn::Set(d, oneMinusM);
  const auto vGain = hn::Set(d, outputGain);
  const int lanes = int(hn::Lanes(d));
  int n = 0;
  for (; n + lanes <= frames.count; n += lanes) {
    const auto S = hn::LoadU(d, gain + n);
    const auto aL = hn::LoadU(d, shaped[0] + n);
    const auto aR = hn::LoadU(d, shaped[1] + n);
    const auto wetL = hn::Mul(hn::Mul(S, aL), vGain);
    const auto wetR = hn::Mul(hn::Mul(S, aR), vGain);
    hn::StoreU(hn::Add(hn::Mul(vm, wetL), hn::Mul(vOneMinusM, aL)), d, frames.out[0] + n);
    hn::StoreU(hn::Add(hn::Mul(vOneMinusM, aR), hn::Mul(vm, wetR)), d, frames.out[1] + n);
  }
  for (; n < frames.count; ++n) {
    const double S = gain[n], aL = shaped[0][n], aR = shaped[1][n];
    const double wetL = (S * aL) * outputGain;
    const double wetR = (S * aR) * outputGain;
    frames.out[0][n] = m * wetL + oneMinusM * aL;
    frames.out[1][n] = oneMinusM * aR + m * wetR;
  }
}

// "Bypass" at 0 or out of range: the main input passes.
void PassInput(const ChunkFrames& frames, int bypass) {
  for (int c = 0; c < 2; ++c) {
    for (int n = 0; n < frames.count; ++n) {
      const double x = frames.main[c][n];
      // Switched off means untouched: the input leaves bit for bit, whatever it holds. A
      // switch value a host pushed out of range passes it too, with non-finite samples as
      // silence, rather than leave the host whatever its buffer held.
      frames.out[c][n] = bypass == 0 || std::isfinite(x) ? x : 0.0;
    }
  }
}

// The curves of the chunk, then one loop that smooths the gain, filters the audio and keeps the
// meter, and meanwhile filters the next chunk's detector input: its filter chain is independent
// of the chains here, so the processor overlaps them (with kFilterAhead: there is a chunk ahead).
// The element-wise mix follows.
template <bool kFilterAhead>
HWY_INLINE void RenderOneChunk(const ChunkFrames& frames, const ChunkFrames& ahead, bool first,
                               const BlockSettings& settings, RecursiveState& state,
                               ChunkBuffers& buffers) {
  float saturated[2][kChunkFrames];
  if (first) {
    FilterDetectorWhileSaturating(frames, settings, state, buffers, saturated);
  } else {
    SaturateAudio(frames.main[0], saturated[0], frames.count, settings.law.k);
    SaturateAudio(frames.main[1], saturated[1], frames.count, settings.law.k);
  }
  double R[kChunkFrames];
  TargetGains(buffers.detector[0], buffers.detector[1], R, frames.count, settings.law);
  double detectorIn[2][kChunkFrames];
  if (kFilterAhead) RoundedDetectorInput(ahead, detectorIn);

  DetectorFilter detector(state, settings.sidechain);
  StereoNyquistLowpass lowpass(state.audioLowpass);
  StereoBiquad highpass(state.audioHighpass);
  const double F = settings.F, G = settings.G, smoothing = settings.meterSmoothing;
  const bool unityInput = settings.law.I == 0.0;
  const bool metering = settings.metering;
  double S = state.gainState;
  double level = state.meterLevel;
  double gain[kChunkFrames];
  double shaped[2][kChunkFrames];  // aL, aR
  for (int n = 0; n < frames.count; ++n) {
    S = SmoothedGain(S, R[n], F, G);
    gain[n] = S;
    const StereoFloat y = lowpass.ProcessSample(MakeStereo(saturated[0][n], saturated[1][n]));
    const StereoDouble a = Widened(RoundedToFloat(highpass.ProcessSample(Widened(y))));
    shaped[0][n] = LeftOf(a);
    shaped[1][n] = RightOf(a);
    if (unityInput) S = 1.0;
    if (metering) level = NextMeterLevel(level, S, smoothing);
    if (kFilterAhead && n < ahead.count) detector.Step(detectorIn, n, buffers.detector);
  }
  if (kFilterAhead) {
    for (int n = frames.count; n < ahead.count; ++n) detector.Step(detectorIn, n, buffers.detector);
    detector.StoreTo(state);
  }
  lowpass.StoreTo(state.audioLowpass);
  highpass.StoreTo(state.audioHighpass);
  state.gainState = S;
  state.meterLevel = level;
  if (settings.bypass == 1) {
    Mix(frames, settings, gain, shaped);
  } else {
    PassInput(frames, settings.bypass);
  }
}

// A block's last chunk has no chunk ahead: its version leaves the detector filter out, which
// counts in blocks of a few frames.
void RenderChunk(const ChunkFrames& frames, const ChunkFrames& ahead, bool first,
                 const BlockSettings& settings, RecursiveState& state, ChunkBuffers& buffers) {
  if (ahead.count > 0) return RenderOneChunk<true>(frames, ahead, first, settings, state, buffers);
  RenderOneChunk<false>(frames, ahead, first, settings, state, buffers);
}

// NOLINTNEXTLINE(google-readability-namespace-comments)
}  // namespace HWY_NAMESPACE
}  // namespace brask
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

const ChunkKernels& KernelsFor(VectorPath path) {
  static const ChunkKernels kKernels[kVectorPathCount] = {
#if HWY_ARCH_X86
    // The baseline is Highway's static target: scalar with GCC, emulated 128-bit with Clang.
    {brask::HWY_NAMESPACE::SaturateAudio, brask::HWY_NAMESPACE::TargetGains,
     brask::HWY_NAMESPACE::RenderChunk},
    {brask::N_SSE4::SaturateAudio, brask::N_SSE4::TargetGains, brask::N_SSE4::RenderChunk},
    {brask::N_AVX2::SaturateAudio, brask::N_AVX2::TargetGains, brask::N_AVX2::RenderChunk},
    {brask::N_AVX3::SaturateAudio, brask::N_AVX3::TargetGains, brask::N_AVX3::RenderChunk},
#elif HWY_ARCH_ARM_A64
    {brask::N_NEON::SaturateAudio, brask::N_NEON::TargetGains, brask::N_NEON::RenderChunk},
#else
#error "The vector paths are those of x86-64 and AArch64"
#endif
  };
  const int index = int(path);
  return kKernels[index >= 0 && index < kVectorPathCount ? index : 0];
}

#endif  // HWY_ONCE
