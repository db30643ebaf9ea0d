#pragma once
// DenormalGuard: flush-to-zero and denormals-are-zero on the calling thread while it lives,
// as DAWs set them on their audio threads; the previous mode comes back afterwards.

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

class DenormalGuard {
 public:
#if defined(__SSE__)
  DenormalGuard() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(saved); }
#endif
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
#if defined(__SSE__)
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned saved;
#endif
};
