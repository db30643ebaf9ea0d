#pragma once
// StereoFilters: a left and a right filter of the same kind run side by side, in the two low
// lanes of one SSE2 register. Each lane performs exactly the scalar filter's operations in the
// scalar order (no contraction, the same roundings), so the results are bit for bit those of
// NyquistLowpass::ProcessSample and Biquad::ProcessSample; a recursive filter cannot be
// vectorised over time, but the two channels can share one instruction stream, which halves
// the work and keeps every state in a register. A pair is loaded from the two scalar filters
// before a chunk and stored back after it. SSE2 is part of every x86-64 processor.

#include <emmintrin.h>

#include <cfloat>

#include "Biquad.h"
#include "NyquistLowpass.h"

// Left and right in lanes 0 and 1.
inline __m128 StereoFloat(float left, float right) { return _mm_setr_ps(left, right, 0.0f, 0.0f); }
inline __m128d StereoDouble(double left, double right) { return _mm_setr_pd(left, right); }
inline double LeftOf(__m128d v) { return _mm_cvtsd_f64(v); }
inline double RightOf(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

// double(float(v)) in both lanes.
inline __m128d RoundedToFloat(__m128d v) { return _mm_cvtps_pd(_mm_cvtpd_ps(v)); }

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
    float v[4][4];
    _mm_storeu_ps(v[0], x1);
    _mm_storeu_ps(v[1], x2);
    _mm_storeu_ps(v[2], y1);
    _mm_storeu_ps(v[3], y2);
    for (int c = 0; c < 2; ++c) {
      pair[c].x1 = v[0][c];
      pair[c].x2 = v[1][c];
      pair[c].y1 = v[2][c];
      pair[c].y2 = v[3][c];
    }
  }

  __m128 ProcessSample(__m128 x) {
    __m128 y = _mm_add_ps(_mm_mul_ps(x1, b1), _mm_mul_ps(x, b0));
    y = _mm_add_ps(y, _mm_mul_ps(b2, x2));
    y = _mm_sub_ps(y, _mm_mul_ps(y1, a1));
    y = _mm_sub_ps(y, _mm_mul_ps(a2, y2));
    // The scalar filter flushes 0 < |y| < kDenormalThreshold to 0. No float lies between
    // FLT_MIN and that threshold, so this is 0 < |y| <= FLT_MIN; -0 and NaN stay as they are.
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), y);
    const __m128 tiny = _mm_and_ps(_mm_cmple_ps(magnitude, _mm_set1_ps(FLT_MIN)),
                                   _mm_cmpneq_ps(y, _mm_setzero_ps()));
    y = _mm_andnot_ps(tiny, y);
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }

 private:
  __m128 x1, x2, y1, y2;  // state
  __m128 b0, b1, b2, a1, a2;
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

  __m128d ProcessSample(__m128d in) {
    const __m128d out = _mm_add_pd(_mm_mul_pd(in, a0), z1);
    z1 = _mm_sub_pd(_mm_add_pd(_mm_mul_pd(in, a1), z2), _mm_mul_pd(b1, out));
    z2 = _mm_sub_pd(_mm_mul_pd(in, a2), _mm_mul_pd(b2, out));
    return out;
  }

 private:
  __m128d z1, z2;  // state
  __m128d a0, a1, a2, b1, b2;
};
