// Fuzz target: LICE_DecodePngMemory on arbitrary bytes. Properties: no read outside the input,
// no leak, and a picture that decodes has a size of at least one pixel and a pixel buffer that
// holds every row it claims.

#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzCheck.h"
#include "gui/LICE_DecodePng.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy: libFuzzer's own buffer may be followed by readable bytes.
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
  if (size > 0) std::memcpy(bytes.get(), data, size);
  std::unique_ptr<LICE_MemBitmap> bitmap(LICE_DecodePngMemory(bytes.get(), size));
  if (!bitmap) return 0;
  const int width = bitmap->GetWidth();
  const int height = bitmap->GetHeight();
  FUZZ_CHECK(width >= 1 && height >= 1);
  FUZZ_CHECK(bitmap->GetStride() >= width);
  const LICE_pixel* pixels = bitmap->GetPixels();
  FUZZ_CHECK(pixels != nullptr);
  // Touches the last pixel of every row: a buffer too small for the rows shows up here.
  volatile LICE_pixel sum = 0;
  for (int row = 0; row < height; ++row) {
    sum = sum + pixels[int64_t(row) * bitmap->GetStride() + width - 1];
  }
  return 0;
}
