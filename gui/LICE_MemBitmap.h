#pragma once
// LICE_MemBitmap: a surface whose pixels live on the heap. Decoded pictures are stored in
// these. The first pixel is 64-byte aligned and rows are padded to a multiple of 4 pixels;
// growing reserves a quarter more than asked so that repeated growth reallocates rarely, and
// shrinking keeps the larger buffer.

#include <cstdint>

#include "gui/LICE_IBitmap.h"

class LICE_MemBitmap : public LICE_IBitmap {
 public:
  LICE_MemBitmap() = default;  // 0 x 0, no buffer
  ~LICE_MemBitmap() override;

  LICE_pixel* GetPixels() override;
  int GetWidth() override { return mWidth; }
  int GetHeight() override { return mHeight; }
  int GetStride() override { return (mWidth + kRowAlignMask) & ~kRowAlignMask; }
  bool Resize(int width, int height) override;

  int AllocatedBytes() const { return mAllocatedBytes; }

 private:
  static constexpr int kRowAlignMask = 3;  // rows padded to a multiple of 4 pixels

  void FreeBuffer();

  void* mRaw = nullptr;  // owned; GetPixels is this rounded up to 64 bytes
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  int32_t mAllocatedBytes = 0;  // usable bytes after the alignment slack
};
