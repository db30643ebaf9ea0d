#pragma once
// LICE_SysBitmap: a surface whose pixels the window layer can copy to the screen directly.
// The editor draws every frame into one of these. On Windows the pixels belong to a 32-bit
// top-down DIB section selected into a memory device context (GetDeviceContext answers it);
// elsewhere they are an off-screen 64-byte aligned buffer with the same layout and no device
// context. Rows are padded to a multiple of 4 pixels, and shrinking reuses the larger
// allocation.

#include <cstdint>

#include "gui/LICE_IBitmap.h"

class LICE_SysBitmap : public LICE_IBitmap {
 public:
  LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;

  LICE_pixel* GetPixels() override { return mPixels; }
  int GetWidth() override { return mWidth; }
  int GetHeight() override { return mHeight; }
  int GetStride() override { return mAllocWidth; }
  bool Resize(int width, int height) override;
  LICE_DeviceContext GetDeviceContext() override;

 private:
  // Drops the pixel storage and, on Windows, gives the context back its original bitmap.
  void ReleasePixels();
  // Allocates mAllocWidth x mAllocHeight pixels; false leaves no pixels.
  bool AllocatePixels();

  int32_t mWidth = 0;
  int32_t mHeight = 0;
  void* mContext = nullptr;       // Windows: HDC; elsewhere null
  LICE_pixel* mPixels = nullptr;  // owned by the platform bitmap (or mBuffer)
  int32_t mAllocWidth = 0;        // the stride
  int32_t mAllocHeight = 0;
  void* mBitmap = nullptr;     // Windows: HBITMAP; elsewhere the raw heap buffer
  void* mDisplaced = nullptr;  // Windows: what the DIB section displaced in the context
};
