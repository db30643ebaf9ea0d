#pragma once
// SampleConversion: a host's 32-bit samples into the processing's 64-bit ones and back, on every
// 32-bit block and every channel, so four at a time with the vector instructions every x86-64
// (SSE2) and AArch64 (NEON) processor has. Each lane converts as the scalar conversion does:
// widening is exact, narrowing rounds under the current floating-point mode.

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__ARM_NEON)
#include <arm_neon.h>
#endif

inline void WidenSamples(const float* from, double* to, int frames) {
  int s = 0;
#if defined(__SSE2__)
  for (; s + 4 <= frames; s += 4) {
    const __m128 four = _mm_loadu_ps(from + s);
    _mm_storeu_pd(to + s, _mm_cvtps_pd(four));
    _mm_storeu_pd(to + s + 2, _mm_cvtps_pd(_mm_movehl_ps(four, four)));
  }
#elif defined(__ARM_NEON)
  for (; s + 4 <= frames; s += 4) {
    const float32x4_t four = vld1q_f32(from + s);
    vst1q_f64(to + s, vcvt_f64_f32(vget_low_f32(four)));
    vst1q_f64(to + s + 2, vcvt_high_f64_f32(four));
  }
#endif
  for (; s < frames; ++s) to[s] = double(from[s]);
}

inline void NarrowSamples(const double* from, float* to, int frames) {
  int s = 0;
#if defined(__SSE2__)
  for (; s + 4 <= frames; s += 4) {
    const __m128 low = _mm_cvtpd_ps(_mm_loadu_pd(from + s));
    const __m128 high = _mm_cvtpd_ps(_mm_loadu_pd(from + s + 2));
    _mm_storeu_ps(to + s, _mm_movelh_ps(low, high));
  }
#elif defined(__ARM_NEON)
  for (; s + 4 <= frames; s += 4) {
    const float32x2_t low = vcvt_f32_f64(vld1q_f64(from + s));
    vst1q_f32(to + s, vcvt_high_f32_f64(low, vld1q_f64(from + s + 2)));
  }
#endif
  for (; s < frames; ++s) to[s] = float(from[s]);
}
