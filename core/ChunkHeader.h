#pragma once
// The 8-byte header in front of VST 2 program and bank chunks: the magic "tffp" and the
// chunk format version. Kept apart from IPlugBase so build tools that write chunks without an
// instance use the same values.

#include <cstdint>

constexpr int32_t kChunkHeaderMagic = 0x70666674;    // the bytes "tffp"
constexpr int32_t kChunkHeaderVersion = 0x00010000;  // the one version written and read
