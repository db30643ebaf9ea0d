#pragma once
// FUZZ_CHECK: a property every input must keep. A broken one prints what broke and aborts, which
// libFuzzer reports as a crash and saves the input; a replay run fails the same way.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

// Canary bytes after a text buffer the plug-in writes into: they must come back untouched.
constexpr unsigned char kCanaryByte = 0xA5;
constexpr int kCanaryBytes = 64;

template <typename T>
bool CanaryIntact(const T* afterBuffer) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(afterBuffer);
  for (int i = 0; i < kCanaryBytes; ++i) {
    if (bytes[i] != kCanaryByte) return false;
  }
  return true;
}

inline bool AllFinite(const double* samples, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}

inline bool AllFinite(const float* samples, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}
