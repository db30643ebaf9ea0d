#pragma once
// DenormalGuard: keeps subnormal arithmetic off the audio path for one processing call.
//
// After the signal stops, the double-precision filter states decay through subnormal values for
// seconds, and every operation on a subnormal costs tens of cycles on x86 and on many ARM cores.
// While a guard lives, subnormal results are flushed to zero and subnormal operands read as
// zero: on x86-64 the SSE unit's FTZ and DAZ bits, on AArch64 the FPCR's FZ bit (which does
// both, for scalar and vector arithmetic alike). The host's own floating-point mode is
// restored when the guard goes out of scope. Most hosts flush already, and then the mode is
// left alone: writing it costs as much as a few frames of a small block.

#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <pmmintrin.h>
#include <xmmintrin.h>
#elif !defined(__aarch64__)
#error "DenormalGuard knows the floating-point mode of x86-64 and AArch64 only"
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
  static constexpr uint64_t kFlushToZeroBits = _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;
  static uint64_t ReadMode() { return _mm_getcsr(); }
  static void WriteMode(uint64_t mode) { _mm_setcsr(unsigned(mode)); }
#else
  static constexpr uint64_t kFlushToZeroBits = uint64_t(1) << 24;  // FPCR.FZ
  static uint64_t ReadMode() {
    uint64_t mode;
    __asm__ volatile("mrs %0, fpcr" : "=r"(mode));
    return mode;
  }
  static void WriteMode(uint64_t mode) {
    __asm__ volatile("msr fpcr, %0" : : "r"(mode) : "memory");
  }
#endif

 private:
  bool Flushing() const { return (mSavedMode & kFlushToZeroBits) == kFlushToZeroBits; }

  uint64_t mSavedMode;
};
