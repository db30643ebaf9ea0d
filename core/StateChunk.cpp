#include "StateChunk.h"

#include <cstring>
#include <new>
#include <utility>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "saved states are little-endian byte copies of the values");

int StateChunk::CapacityFor(int size) {
  int half = size / 2;
  int spare = (half > 4096 ? half : 4096) & ~4095;
  if (spare > 0x400000) spare = 0x400000;
  return ((size + 96 + spare) & ~4095) - 96;
}

bool StateChunk::Grow(int extra) {
  if (extra < 0 || extra > kMaxSize - mSize) return false;
  int needed = mSize + extra;
  if (needed <= Capacity()) return true;
  try {
    mStore.resize(size_t(CapacityFor(needed)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool StateChunk::PutBytes(const void* data, int size) {
  if (size == 0) return true;
  if (!data || !Grow(size)) return false;
  memcpy(mStore.data() + mSize, data, size_t(size));
  mSize += size;
  return true;
}

bool StateChunk::PutInt32(int32_t value) { return PutBytes(&value, sizeof(value)); }

bool StateChunk::PutDouble(double value) { return PutBytes(&value, sizeof(value)); }

bool StateChunk::PutBool(bool value) {
  uint8_t byte = value ? 1 : 0;
  return PutBytes(&byte, 1);
}

bool StateChunk::PutChunk(const StateChunk* other) {
  if (!other) return false;
  return PutBytes(other->Data(), other->Size());
}

bool StateChunk::PutText(const char* text) {
  size_t length = text ? strlen(text) : 0;
  if (length > size_t(kMaxSize)) return false;
  int32_t count = int32_t(length);
  if (!Grow(4 + count)) return false;
  return PutInt32(count) && PutBytes(text, count);
}

bool StateChunk::InBounds(int pos, int width) const {
  return pos >= 0 && width >= 0 && int64_t(pos) + width <= mSize;
}

int StateChunk::GetBytes(void* data, int size, int pos) const {
  if (!data || !InBounds(pos, size)) return -1;
  if (size > 0) memcpy(data, mStore.data() + pos, size_t(size));
  return pos + size;
}

int StateChunk::GetInt32(int32_t* value, int pos) const {
  return GetBytes(value, sizeof(*value), pos);
}

int StateChunk::GetDouble(double* value, int pos) const {
  return GetBytes(value, sizeof(*value), pos);
}

int StateChunk::GetBool(bool* value, int pos) const {
  uint8_t byte = 0;
  if (!value || GetBytes(&byte, 1, pos) < 0) return -1;
  *value = byte != 0;
  return pos + 1;
}

int StateChunk::GetText(char* buffer, int bufferSize, int pos) const {
  int32_t length = 0;
  int start = GetInt32(&length, pos);
  if (start < 0 || length < 0 || !InBounds(start, length)) return -1;
  if (!buffer || bufferSize <= 0) return -1;
  const char* text = reinterpret_cast<const char*>(mStore.data() + start);
  size_t kept = strnlen(text, size_t(length));
  if (kept > size_t(bufferSize - 1)) kept = size_t(bufferSize - 1);
  if (kept > 0) memcpy(buffer, text, kept);
  buffer[kept] = '\0';
  return start + length;
}

void StateChunk::Clear() {
  std::vector<uint8_t>().swap(mStore);
  mSize = 0;
}

bool StateChunk::Assign(const void* data, int size) {
  // Built aside first, so data may point into this chunk.
  StateChunk copy;
  bool ok = size >= 0 && copy.PutBytes(data, size);
  std::swap(mStore, copy.mStore);
  mSize = ok ? size : 0;
  return ok;
}

bool StateChunk::Resize(int size) {
  if (size < 0) return false;
  if (size > mSize) {
    if (!Grow(size - mSize)) return false;
    memset(mStore.data() + mSize, 0, size_t(size - mSize));
  }
  mSize = size;
  return true;
}
