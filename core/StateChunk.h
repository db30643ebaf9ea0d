#pragma once
// StateChunk: the growable byte buffer every saved state travels in.
//
// Values are appended at the end in little-endian order with no padding (int32: 4 bytes,
// double: 8 bytes, bool: 1 byte) and read back at a caller-kept position. Every read checks
// its bounds and answers the next position, or -1 without touching the destination when the
// bytes run out, so host-supplied bytes can be parsed without trusting them. Sizes and
// positions are 32-bit signed, as in the saved formats.

#include <cstdint>
#include <vector>

class StateChunk {
 public:
  // Largest size a chunk accepts; anything bigger from a host is treated as malformed.
  static constexpr int kMaxSize = 0x40000000;

  // ---appending (false when the storage could not grow; nothing is appended then)---
  bool PutInt32(int32_t value);
  bool PutDouble(double value);
  bool PutBool(bool value);
  bool PutBytes(const void* data, int size);
  bool PutChunk(const StateChunk* other);
  bool PutText(const char* text);  // int32 length, then the characters without terminator

  // ---reading: next position, or -1 when the value is not wholly inside the chunk---
  int GetInt32(int32_t* value, int pos) const;
  int GetDouble(double* value, int pos) const;
  int GetBool(bool* value, int pos) const;  // any non-zero byte reads as true
  int GetBytes(void* data, int size, int pos) const;
  // Reads a text written by PutText into buffer (cut at the first zero byte and to
  // bufferSize - 1 characters). A negative length is malformed and fails.
  int GetText(char* buffer, int bufferSize, int pos) const;

  // ---whole buffer---
  int Size() const { return mSize; }
  int Capacity() const { return int(mStore.size()); }
  uint8_t* Data() { return mStore.data(); }
  const uint8_t* Data() const { return mStore.data(); }
  void Clear();  // size 0, storage released
  // Replaces the contents with a copy of size bytes; a negative, absurd or unallocatable size
  // (or null data with a positive size) leaves the chunk empty and answers false.
  bool Assign(const void* data, int size);
  // Sets the size; new bytes are zero. Answers false (size unchanged) when it cannot.
  bool Resize(int size);

  // The capacity reserved for a request of size bytes.
  static int CapacityFor(int size);

 private:
  bool Grow(int extra);  // makes room for extra more bytes
  bool InBounds(int pos, int width) const;

  std::vector<uint8_t> mStore;  // its size is the capacity
  int mSize = 0;
};
