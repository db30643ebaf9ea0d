#pragma once
// FuzzInput: reads typed values off the front of a fuzzer's byte string, so that one input
// decodes into a sequence of host calls. Once the bytes run out every read answers zero (or
// the first choice), which keeps short inputs meaningful and every decode total.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  bool Empty() const { return mPos >= mSize; }
  size_t Remaining() const { return mSize - mPos; }

  uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  bool Bool() { return (Byte() & 1) != 0; }

  template <typename T>
  T Raw() {
    T value{};
    uint8_t bytes[sizeof(T)] = {};
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = Byte();
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }

  // A value in lo..hi (inclusive).
  int Range(int lo, int hi) {
    const uint32_t span = uint32_t(int64_t(hi) - lo) + 1u;
    return int(int64_t(lo) + int64_t(Raw<uint16_t>() % span));
  }

  // One of the listed values.
  template <typename T, size_t N>
  T Pick(const T (&choices)[N]) {
    return choices[Byte() % N];
  }

  // A double that is often one a host would never send on purpose.
  double Number() {
    static const double kSpecial[] = {0.0,
                                      1.0,
                                      0.5,
                                      -1.0,
                                      2.0,
                                      1e300,
                                      -1e300,
                                      1e-310,
                                      std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::max(),
                                      std::numeric_limits<double>::lowest(),
                                      std::numeric_limits<double>::denorm_min()};
    const uint8_t mode = Byte();
    if (mode < 64) return Pick(kSpecial);
    if (mode < 160) return double(Raw<uint16_t>()) / 65535.0;  // inside 0..1
    return Raw<double>();
  }

  // Up to maxBytes bytes, as they come.
  std::vector<uint8_t> Bytes(size_t maxBytes) {
    const size_t n = std::min(maxBytes, Remaining());
    std::vector<uint8_t> out(mData + mPos, mData + mPos + n);
    mPos += n;
    return out;
  }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};
