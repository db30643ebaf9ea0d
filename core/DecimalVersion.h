#pragma once
// A packed version (major << 16 | minor << 8 | revision) as VST 2 reports it, in effect records
// and preset files: major * 10000 + minor * 100 + revision.

#include <cstdint>

constexpr int32_t DecimalVersion(int32_t packed) {
  return ((packed >> 16) & 0xffff) * 10000 + ((packed >> 8) & 0xff) * 100 + (packed & 0xff);
}
