#pragma once
// PresetBytes: fixed-width integers in preset files, written to and read from a byte vector.
// VST 3 preset files are little-endian, VST 2 preset files big-endian; every read is checked
// against the end of the data by the caller before it is made.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using PresetByteVector = std::vector<uint8_t>;

inline void PutLittle(PresetByteVector* out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out->push_back(uint8_t(value >> (8 * i)));
}

inline void PutBig(PresetByteVector* out, uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out->push_back(uint8_t(value >> (8 * i)));
}

inline uint64_t GetLittle(const PresetByteVector& in, size_t at, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | in[at + size_t(i)];
  return value;
}

inline uint64_t GetBig(const PresetByteVector& in, size_t at, int width) {
  uint64_t value = 0;
  for (int i = 0; i < width; ++i) value = value << 8 | in[at + size_t(i)];
  return value;
}

inline void PutText(PresetByteVector* out, const std::string& text) {
  for (char c : text) out->push_back(uint8_t(c));
}

// Four bytes at `at` as text, with anything unprintable shown as '?', for messages.
inline std::string ChunkIdText(const PresetByteVector& in, size_t at) {
  std::string text;
  for (size_t i = at; i < at + 4 && i < in.size(); ++i) {
    text += in[i] >= 0x20 && in[i] < 0x7F ? char(in[i]) : '?';
  }
  return text;
}
