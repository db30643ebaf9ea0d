#pragma once
// LazyPngSurface: an embedded PNG picture as a surface that costs nothing until it is drawn.
//
// Hosts create plug-in instances far more often than they open editors (every plug-in scan,
// every session load, LV2 instances that never show a panel), yet every instance builds its
// editor with the same controls. Each control needs only its picture's size, which the PNG
// header gives; the pixels are decoded the first time anything asks for them (GetPixels,
// GetStride, Resize), once, whichever thread asks first.
//
// A picture that turns out not to decode reports 0 x 0 and no pixels from then on, as a
// surface that failed to allocate does, so every blit from it does nothing.

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

#include "gui/LICE_MemBitmap.h"

class LazyPngSurface : public LICE_IBitmap {
 public:
  // A surface over bytes that stay valid for its whole life (embedded in the module), or null
  // when they do not begin with a PNG header that gives a size.
  static LazyPngSurface* Open(const unsigned char* bytes, size_t length);

  LICE_pixel* GetPixels() override;
  int GetWidth() override { return mFailed ? 0 : mWidth; }
  int GetHeight() override { return mFailed ? 0 : mHeight; }
  int GetStride() override;
  bool Resize(int width, int height) override;

  // Whether the pixels have been decoded (successfully or not).
  bool IsDecoded() const { return mDecodeTried; }

 private:
  LazyPngSurface(const unsigned char* bytes, size_t length, int width, int height)
      : mBytes(bytes), mLength(length), mWidth(width), mHeight(height) {}
  LICE_MemBitmap* Decoded();

  const unsigned char* mBytes;
  size_t mLength;
  int mWidth;  ///< from the header
  int mHeight;
  std::once_flag mDecodeOnce;
  std::unique_ptr<LICE_MemBitmap> mDecoded;
  std::atomic<bool> mDecodeTried{false};
  std::atomic<bool> mFailed{false};
};
