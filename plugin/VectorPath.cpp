#include "VectorPath.h"

#include <atomic>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <cpuid.h>
#endif

namespace {

struct CpuFeatures {
  bool sse4 = false;    // SSE4.2, SSE4.1 and SSSE3
  bool avx2 = false;    // with FMA, BMI1/2, F16C, SSE4.2 and the YMM state saved by the OS
  bool avx512 = false;  // F, VL, DQ, BW, with the ZMM state saved by the OS
};

#if defined(__x86_64__) || defined(_M_X64)

// XCR0, the register states the operating system saves on a context switch. Read with the raw
// instruction so this file needs no target attribute for it.
uint64_t EnabledRegisterStates() {
  uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (uint64_t(high) << 32) | low;
}

bool Bit(uint32_t word, int bit) { return (word >> bit) & 1u; }

CpuFeatures DetectFeatures() {
  CpuFeatures f;
  uint32_t a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
  const bool osSavesRegisters = Bit(c, 27);                  // OSXSAVE: XGETBV may be used
  const bool sse42 = Bit(c, 19) && Bit(c, 20) && Bit(c, 9);  // SSE4.2, SSE4.1, SSSE3
  // The XMM state is part of every x86-64 operating system's context switch.
  f.sse4 = sse42;
  const bool fma = Bit(c, 12);
  const bool avx = Bit(c, 28);
  const bool f16c = Bit(c, 29);
  if (!osSavesRegisters || !avx) return f;
  const uint64_t xcr0 = EnabledRegisterStates();
  constexpr uint64_t kYmmState = 0x6;   // SSE and AVX state
  constexpr uint64_t kZmmState = 0xE6;  // plus opmask and both ZMM halves
  if (__get_cpuid_max(0, nullptr) < 7) return f;
  __cpuid_count(7, 0, a, b, c, d);
  const bool avx2 = Bit(b, 5) && Bit(b, 3) && Bit(b, 8);  // AVX2, BMI1, BMI2
  f.avx2 = sse42 && fma && f16c && avx2 && (xcr0 & kYmmState) == kYmmState;
  const bool avx512 = Bit(b, 16) && Bit(b, 17) && Bit(b, 30) && Bit(b, 31);  // F, DQ, BW, VL
  f.avx512 = f.avx2 && avx512 && (xcr0 & kZmmState) == kZmmState;
  return f;
}

#else

CpuFeatures DetectFeatures() { return CpuFeatures(); }

#endif

const CpuFeatures& Features() {
  static const CpuFeatures features = DetectFeatures();
  return features;
}

constexpr int kNotForced = -1;
std::atomic<int> gForcedPath{kNotForced};

VectorPath DetectBestPath();

// Settled when the module loads, so the first audio block finds it ready: no guard, no lock.
const VectorPath gBestPath = DetectBestPath();

}  // namespace

const char* VectorPathName(VectorPath path) {
  switch (path) {
    case VectorPath::kSse2:
      return "SSE2";
    case VectorPath::kSse4:
      return "SSE4";
    case VectorPath::kAvx2:
      return "AVX2";
    case VectorPath::kAvx512:
      return "AVX-512";
  }
  return "?";
}

bool CpuSupports(VectorPath path) {
  switch (path) {
    case VectorPath::kSse2:
      return true;
    case VectorPath::kSse4:
      return Features().sse4;
    case VectorPath::kAvx2:
      return Features().avx2;
    case VectorPath::kAvx512:
      return Features().avx512;
  }
  return false;
}

namespace {

VectorPath DetectBestPath() {
  if (CpuSupports(VectorPath::kAvx512)) return VectorPath::kAvx512;
  if (CpuSupports(VectorPath::kAvx2)) return VectorPath::kAvx2;
  if (CpuSupports(VectorPath::kSse4)) return VectorPath::kSse4;
  return VectorPath::kSse2;
}

}  // namespace

VectorPath BestVectorPath() { return gBestPath; }

VectorPath ActiveVectorPath() {
  const int forced = gForcedPath.load(std::memory_order_relaxed);
  if (forced != kNotForced) return VectorPath(forced);
  return gBestPath;
}

bool ForceVectorPath(VectorPath path) {
  if (!CpuSupports(path)) return false;
  gForcedPath.store(int(path), std::memory_order_relaxed);
  return true;
}

void ClearForcedVectorPath() { gForcedPath.store(kNotForced, std::memory_order_relaxed); }
