#pragma once
// DenormalGuard: keeps subnormal arithmetic off the audio path for one processing call.
//
// After the signal stops, the double-precision filter states decay through subnormal values for
// seconds, and every operation on a subnormal costs tens of cycles on x86. While a guard lives,
// the SSE unit flushes subnormal results to zero (FTZ) and reads subnormal operands as zero
// (DAZ); the host's own floating-point mode is restored when the guard goes out of scope. Most
// hosts flush already, and then the mode is left alone: writing it costs as much as a few
// frames of a small block. On other processors the guard does nothing.

#if defined(__x86_64__) || defined(_M_X64)
#include <pmmintrin.h>
#include <xmmintrin.h>
#endif

class DenormalGuard {
 public:
  DenormalGuard() : mSavedMode(ReadMode()) {
    if (!Flushing()) WriteMode(mSavedMode | kFlushToZeroBits);
  }
  ~DenormalGuard() {
    if (!Flushing()) WriteMode(mSavedMode);
  }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

#if defined(__x86_64__) || defined(_M_X64)
  static constexpr unsigned int kFlushToZeroBits = _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;
  static unsigned int ReadMode() { return _mm_getcsr(); }
  static void WriteMode(unsigned int mode) { _mm_setcsr(mode); }
#else
  static constexpr unsigned int kFlushToZeroBits = 0;
  static unsigned int ReadMode() { return 0; }
  static void WriteMode(unsigned int) {}
#endif

 private:
  bool Flushing() const { return (mSavedMode & kFlushToZeroBits) == kFlushToZeroBits; }

  unsigned int mSavedMode;
};
