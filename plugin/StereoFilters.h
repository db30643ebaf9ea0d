// StereoFilters: a left and a right filter of the same kind run side by side, in the two low
// lanes of one 128-bit vector. Each lane performs exactly the scalar filter's operations in the
// scalar order (no contraction, the same roundings), so the results are bit for bit those of
// NyquistLowpass::ProcessSample and Biquad::ProcessSample; a recursive filter cannot be
// vectorised over time, but the two channels can share one instruction stream, which halves
// the work and keeps every state in a register. A pair is loaded from the two scalar filters
// before a chunk and stored back after it.
//
// Compiled once per vector path: include it inside a file that Highway's foreach_target
// compiles per target. Vector targets use Highway's fixed 128-bit vectors, which every SIMD
// instruction set has; the baseline (Highway's static target) runs the two scalar filters.

// Per-target include guard: on for each target in turn.
#if defined(BRASK_STEREO_FILTERS_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef BRASK_STEREO_FILTERS_H_
#undef BRASK_STEREO_FILTERS_H_
#else
#define BRASK_STEREO_FILTERS_H_
#endif

#include <hwy/highway.h>

#include <cfloat>

#include "Biquad.h"
#include "NyquistLowpass.h"

HWY_BEFORE_NAMESPACE();
namespace brask {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR || HWY_TARGET == HWY_EMU128  // the baseline

// Left and right as two numbers.
struct StereoDouble {
  double left, right;
};
struct StereoFloat {
  float left, right;
};

inline StereoDouble MakeStereo(double left, double right) { return {left, right}; }
inline StereoFloat MakeStereo(float left, float right) { return {left, right}; }
inline double LeftOf(StereoDouble v) { return v.left; }
inline double RightOf(StereoDouble v) { return v.right; }
inline float LeftOf(StereoFloat v) { return v.left; }
inline float RightOf(StereoFloat v) { return v.right; }
inline StereoFloat RoundedToFloat(StereoDouble v) { return {float(v.left), float(v.right)}; }
inline StereoDouble Widened(StereoFloat v) { return {double(v.left), double(v.right)}; }

class StereoNyquistLowpass {
 public:
  explicit StereoNyquistLowpass(const NyquistLowpass* pair) : filters{pair[0], pair[1]} {}
  void StoreTo(NyquistLowpass* pair) const {
    for (int c = 0; c < 2; ++c) {
      pair[c].x1 = filters[c].x1;
      pair[c].x2 = filters[c].x2;
      pair[c].y1 = filters[c].y1;
      pair[c].y2 = filters[c].y2;
    }
  }
  StereoFloat ProcessSample(StereoFloat x) {
    return {filters[0].ProcessSample(x.left), filters[1].ProcessSample(x.right)};
  }

 private:
  NyquistLowpass filters[2];
};

class StereoBiquad {
 public:
  explicit StereoBiquad(const Biquad* pair) : filters{pair[0], pair[1]} {}
  void StoreTo(Biquad* pair) const {
    for (int c = 0; c < 2; ++c) {
      pair[c].z1 = filters[c].z1;
      pair[c].z2 = filters[c].z2;
    }
  }
  StereoDouble ProcessSample(StereoDouble in) {
    return {filters[0].ProcessSample(in.left), filters[1].ProcessSample(in.right)};
  }

 private:
  Biquad filters[2];
};

#else  // vector targets

namespace hn = hwy::HWY_NAMESPACE;

using StereoDoubleTag = hn::FixedTag<double, 2>;
using StereoFloatTag = hn::FixedTag<float, 2>;
using StereoDouble = hn::Vec<StereoDoubleTag>;
using StereoFloat = hn::Vec<StereoFloatTag>;

// Left in lane 0, right in lane 1, built in registers: a load of two separate stores would
// wait for both to reach memory.
HWY_INLINE StereoDouble MakeStereo(double left, double right) {
  const StereoDoubleTag d;
  return hn::InterleaveLower(d, hn::Set(d, left), hn::Set(d, right));
}
HWY_INLINE StereoFloat MakeStereo(float left, float right) {
  const StereoFloatTag d;
  return hn::InterleaveLower(d, hn::Set(d, left), hn::Set(d, right));
}
HWY_INLINE double LeftOf(StereoDouble v) { return hn::GetLane(v); }
HWY_INLINE double RightOf(StereoDouble v) { return hn::ExtractLane(v, 1); }
HWY_INLINE float LeftOf(StereoFloat v) { return hn::GetLane(v); }
HWY_INLINE float RightOf(StereoFloat v) { return hn::ExtractLane(v, 1); }
// float(v) in both lanes, and back: each lane rounds as the scalar conversion does.
HWY_INLINE StereoFloat RoundedToFloat(StereoDouble v) { return hn::DemoteTo(StereoFloatTag(), v); }
HWY_INLINE StereoDouble Widened(StereoFloat v) { return hn::PromoteTo(StereoDoubleTag(), v); }

class StereoNyquistLowpass {
 public:
  explicit StereoNyquistLowpass(const NyquistLowpass* pair)
      : x1(MakeStereo(pair[0].x1, pair[1].x1)),
        x2(MakeStereo(pair[0].x2, pair[1].x2)),
        y1(MakeStereo(pair[0].y1, pair[1].y1)),
        y2(MakeStereo(pair[0].y2, pair[1].y2)),
        b0(MakeStereo(pair[0].b0, pair[1].b0)),
        b1(MakeStereo(pair[0].b1, pair[1].b1)),
        b2(MakeStereo(pair[0].b2, pair[1].b2)),
        a1(MakeStereo(pair[0].a1, pair[1].a1)),
        a2(MakeStereo(pair[0].a2, pair[1].a2)) {}

  void StoreTo(NyquistLowpass* pair) const {
    const StereoFloatTag d;
    float v[4][2];
    hn::StoreU(x1, d, v[0]);
    hn::StoreU(x2, d, v[1]);
    hn::StoreU(y1, d, v[2]);
    hn::StoreU(y2, d, v[3]);
    for (int c = 0; c < 2; ++c) {
      pair[c].x1 = v[0][c];
      pair[c].x2 = v[1][c];
      pair[c].y1 = v[2][c];
      pair[c].y2 = v[3][c];
    }
  }

  HWY_INLINE StereoFloat ProcessSample(StereoFloat x) {
    const StereoFloatTag d;
    StereoFloat y = hn::Add(hn::Mul(x1, b1), hn::Mul(x, b0));
    y = hn::Add(y, hn::Mul(b2, x2));
    y = hn::Sub(y, hn::Mul(y1, a1));
    y = hn::Sub(y, hn::Mul(a2, y2));
    // The scalar filter flushes 0 < |y| < kDenormalThreshold to 0. No float lies between
    // FLT_MIN and that threshold, so this is 0 < |y| <= FLT_MIN; -0 and NaN stay as they are.
    // Such results are rare, so the test stays off the feedback path: the branch is predicted
    // and the next sample starts from y at once.
    const auto tiny = hn::And(hn::Le(hn::Abs(y), hn::Set(d, FLT_MIN)), hn::Ne(y, hn::Zero(d)));
    if (HWY_UNLIKELY(!hn::AllFalse(d, tiny))) y = hn::IfThenZeroElse(tiny, y);
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }

 private:
  StereoFloat x1, x2, y1, y2;  // state
  StereoFloat b0, b1, b2, a1, a2;
};

class StereoBiquad {
 public:
  explicit StereoBiquad(const Biquad* pair)
      : z1(MakeStereo(pair[0].z1, pair[1].z1)),
        z2(MakeStereo(pair[0].z2, pair[1].z2)),
        a0(MakeStereo(pair[0].a0, pair[1].a0)),
        a1(MakeStereo(pair[0].a1, pair[1].a1)),
        a2(MakeStereo(pair[0].a2, pair[1].a2)),
        b1(MakeStereo(pair[0].b1, pair[1].b1)),
        b2(MakeStereo(pair[0].b2, pair[1].b2)) {}

  void StoreTo(Biquad* pair) const {
    pair[0].z1 = LeftOf(z1);
    pair[1].z1 = RightOf(z1);
    pair[0].z2 = LeftOf(z2);
    pair[1].z2 = RightOf(z2);
  }

  HWY_INLINE StereoDouble ProcessSample(StereoDouble in) {
    const StereoDouble out = hn::Add(hn::Mul(in, a0), z1);
    z1 = hn::Sub(hn::Add(hn::Mul(in, a1), z2), hn::Mul(b1, out));
    z2 = hn::Sub(hn::Mul(in, a2), hn::Mul(b2, out));
    return out;
  }

 private:
  StereoDouble z1, z2;  // state
  StereoDouble a0, a1, a2, b1, b2;
};

#endif  // vector targets

// NOLINTNEXTLINE(google-readability-namespace-comments)
}  // namespace HWY_NAMESPACE
}  // namespace brask
HWY_AFTER_NAMESPACE();

#endif  // BRASK_STEREO_FILTERS_H_
