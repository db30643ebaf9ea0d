#pragma once
// StereoFilters: a left and a right filter of the same kind run side by side, in the two low
// lanes of one 128-bit vector. Each lane performs exactly the scalar filter's operations in the
// scalar order (no contraction, the same roundings), so the results are bit for bit those of
// NyquistLowpass::ProcessSample and Biquad::ProcessSample; a recursive filter cannot be
// vectorised over time, but the two channels can share one instruction stream, which halves
// the work and keeps every state in a register. A pair is loaded from the two scalar filters
// before a chunk and stored back after it.
//
// The lanes are the compiler's generic vectors: every x86-64 processor has SSE2 and every
// AArch64 one NEON, and each lane operation below is one instruction of either, with IEEE
// rounding per lane as in scalar code.

#include <cfloat>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Biquad.h"
#include "NyquistLowpass.h"

// Left and right in lanes 0 and 1 (the float vector's lanes 2 and 3 are unused).
typedef float StereoFloats __attribute__((vector_size(16)));
typedef double StereoDoubles __attribute__((vector_size(16)));

inline StereoFloats StereoFloat(float left, float right) { return StereoFloats{left, right, 0, 0}; }
inline StereoDoubles StereoDouble(double left, double right) { return StereoDoubles{left, right}; }
inline double LeftOf(StereoDoubles v) { return v[0]; }
inline double RightOf(StereoDoubles v) { return v[1]; }

// Lanes 0 and 1 widened to double, and double(float(v)) in both lanes. GCC writes the generic
// conversions on x86-64 as one scalar conversion per lane, so SSE2's own instructions stay there.
#if defined(__SSE2__)
inline StereoDoubles Widened(StereoFloats v) { return _mm_cvtps_pd(v); }
inline StereoDoubles RoundedToFloat(StereoDoubles v) { return _mm_cvtps_pd(_mm_cvtpd_ps(v)); }
#else
inline StereoDoubles Widened(StereoFloats v) {
  return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1), StereoDoubles);
}
inline StereoDoubles RoundedToFloat(StereoDoubles v) {
  typedef float FloatPair __attribute__((vector_size(8)));
  return __builtin_convertvector(__builtin_convertvector(v, FloatPair), StereoDoubles);
}
#endif

class StereoNyquistLowpass {
 public:
  explicit StereoNyquistLowpass(const NyquistLowpass* pair)
      : x1(StereoFloat(pair[0].x1, pair[1].x1)),
        x2(StereoFloat(pair[0].x2, pair[1].x2)),
        y1(StereoFloat(pair[0].y1, pair[1].y1)),
        y2(StereoFloat(pair[0].y2, pair[1].y2)),
        b0(StereoFloat(pair[0].b0, pair[1].b0)),
        b1(StereoFloat(pair[0].b1, pair[1].b1)),
        b2(StereoFloat(pair[0].b2, pair[1].b2)),
        a1(StereoFloat(pair[0].a1, pair[1].a1)),
        a2(StereoFloat(pair[0].a2, pair[1].a2)) {}

  void StoreTo(NyquistLowpass* pair) const {
    for (int c = 0; c < 2; ++c) {
      pair[c].x1 = x1[c];
      pair[c].x2 = x2[c];
      pair[c].y1 = y1[c];
      pair[c].y2 = y2[c];
    }
  }

  StereoFloats ProcessSample(StereoFloats x) {
    typedef int32_t Bits __attribute__((vector_size(16)));
    StereoFloats y = x1 * b1 + x * b0;
    y = y + b2 * x2;
    y = y - y1 * a1;
    y = y - a2 * y2;
    // The scalar filter flushes 0 < |y| < kDenormalThreshold to 0. No float lies between
    // FLT_MIN and that threshold, so this is 0 < |y| <= FLT_MIN; -0 and NaN stay as they are
    // (an ordered and an unordered comparison, as in the scalar code).
    const StereoFloats magnitude = StereoFloats(Bits(y) & INT32_MAX);
    const Bits tiny = (magnitude <= FLT_MIN) & (y != 0.0f);
    y = StereoFloats(Bits(y) & ~tiny);
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }

 private:
  StereoFloats x1, x2, y1, y2;  // state
  StereoFloats b0, b1, b2, a1, a2;
};

class StereoBiquad {
 public:
  explicit StereoBiquad(const Biquad* pair)
      : z1(StereoDouble(pair[0].z1, pair[1].z1)),
        z2(StereoDouble(pair[0].z2, pair[1].z2)),
        a0(StereoDouble(pair[0].a0, pair[1].a0)),
        a1(StereoDouble(pair[0].a1, pair[1].a1)),
        a2(StereoDouble(pair[0].a2, pair[1].a2)),
        b1(StereoDouble(pair[0].b1, pair[1].b1)),
        b2(StereoDouble(pair[0].b2, pair[1].b2)) {}

  void StoreTo(Biquad* pair) const {
    pair[0].z1 = LeftOf(z1);
    pair[1].z1 = RightOf(z1);
    pair[0].z2 = LeftOf(z2);
    pair[1].z2 = RightOf(z2);
  }

  StereoDoubles ProcessSample(StereoDoubles in) {
    const StereoDoubles out = in * a0 + z1;
    z1 = in * a1 + z2 - b1 * out;
    z2 = in * a2 - b2 * out;
    return out;
  }

 private:
  StereoDoubles z1, z2;  // state
  StereoDoubles a0, a1, a2, b1, b2;
};
