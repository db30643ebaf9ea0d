#pragma once
// LICE_IBitmap: the abstract 32-bit drawing surface every picture, glyph and editor frame
// lives in. A pixel is one 32-bit word: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7
// (bytes B, G, R, A in memory), colour channels straight, not multiplied by alpha. Rows are
// stored top row first unless IsBottomUp says otherwise; a stored row holds GetStride pixels,
// of which the first GetWidth belong to the picture.
//
// A surface that failed to allocate reports 0 x 0 and no pixels, and every blit into or out
// of it does nothing, so a missing picture degrades to an empty area instead of a crash.

#include <cstdint>

using LICE_pixel = uint32_t;

#ifdef _WIN32
struct HDC__;
using LICE_DeviceContext = HDC__*;  // HDC
#else
using LICE_DeviceContext = void*;
#endif

// Byte positions inside a pixel word, in memory order.
enum LICE_PixelByte { kPixelBlue = 0, kPixelGreen = 1, kPixelRed = 2, kPixelAlpha = 3 };

constexpr LICE_pixel LICE_Argb(unsigned a, unsigned r, unsigned g, unsigned b) {
  return LICE_pixel(a & 0xff) << 24 | LICE_pixel(r & 0xff) << 16 | LICE_pixel(g & 0xff) << 8 |
         LICE_pixel(b & 0xff);
}
constexpr unsigned LICE_GetA(LICE_pixel p) { return p >> 24; }
constexpr unsigned LICE_GetR(LICE_pixel p) { return (p >> 16) & 0xff; }
constexpr unsigned LICE_GetG(LICE_pixel p) { return (p >> 8) & 0xff; }
constexpr unsigned LICE_GetB(LICE_pixel p) { return p & 0xff; }

class LICE_IBitmap {
 public:
  LICE_IBitmap() = default;
  LICE_IBitmap(const LICE_IBitmap&) = delete;
  LICE_IBitmap& operator=(const LICE_IBitmap&) = delete;

  // ---virtual operations, in table order---
  virtual ~LICE_IBitmap() = default;
  virtual LICE_pixel* GetPixels() = 0;  // first pixel of the first stored row, or null
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual int GetStride() = 0;  // distance between stored rows, in pixels
  virtual bool IsBottomUp() { return false; }
  // Changes the size; answers whether anything changed. Pixel contents are not cleared.
  virtual bool Resize(int width, int height) = 0;
  virtual LICE_DeviceContext GetDeviceContext() { return nullptr; }
  virtual intptr_t QueryExtension(int /*code*/, void* /*data*/) { return 0; }
};
