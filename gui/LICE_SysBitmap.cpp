#include "gui/LICE_SysBitmap.h"

#include <climits>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr int kRowAlignMask = 3;  // rows padded to a multiple of 4 pixels

#ifndef _WIN32
constexpr uintptr_t kPixelAlignment = 64;
#endif

}  // namespace

LICE_SysBitmap::LICE_SysBitmap(int width, int height) {
#ifdef _WIN32
  mContext = CreateCompatibleDC(nullptr);
#endif
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() {
  ReleasePixels();
#ifdef _WIN32
  if (mContext) DeleteDC(static_cast<HDC>(mContext));
#endif
}

LICE_DeviceContext LICE_SysBitmap::GetDeviceContext() {
  return static_cast<LICE_DeviceContext>(mContext);
}

bool LICE_SysBitmap::Resize(int width, int height) {
#ifdef _WIN32
  if (!mContext) {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
    return false;
  }
#endif
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && width <= mAllocWidth && height <= mAllocHeight && mPixels) {
    return true;
  }
  // A width this large cannot be padded nor allocated: treat it as a failed allocation.
  const bool padable = width <= INT_MAX - kRowAlignMask;
  mAllocHeight = height;
  mAllocWidth = padable ? (width + kRowAlignMask) & ~kRowAlignMask : 0;
  ReleasePixels();
  if (mAllocWidth < 1 || height < 1) return false;
  if (!AllocatePixels()) {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
  }
  return true;
}

#ifdef _WIN32

void LICE_SysBitmap::ReleasePixels() {
  if (mBitmap) {
    SelectObject(static_cast<HDC>(mContext), static_cast<HGDIOBJ>(mDisplaced));
    DeleteObject(static_cast<HGDIOBJ>(mBitmap));
  }
  mBitmap = nullptr;
  mDisplaced = nullptr;
  mPixels = nullptr;
}

bool LICE_SysBitmap::AllocatePixels() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = mAllocWidth;
  info.bmiHeader.biHeight = -mAllocHeight;  // negative: top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(static_cast<HDC>(mContext), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  mBitmap = bitmap;
  mDisplaced = SelectObject(static_cast<HDC>(mContext), bitmap);
  mPixels = static_cast<LICE_pixel*>(bits);
  return true;
}

#else

void LICE_SysBitmap::ReleasePixels() {
  std::free(mBitmap);
  mBitmap = nullptr;
  mPixels = nullptr;
}

bool LICE_SysBitmap::AllocatePixels() {
  const int64_t bytes = int64_t(mAllocWidth) * mAllocHeight * 4;
  if (bytes > int64_t(INT_MAX)) return false;
  mBitmap = std::malloc(size_t(bytes) + kPixelAlignment - 1);
  if (!mBitmap) return false;
  const uintptr_t raw = reinterpret_cast<uintptr_t>(mBitmap);
  mPixels = reinterpret_cast<LICE_pixel*>((raw + kPixelAlignment - 1) & ~(kPixelAlignment - 1));
  return true;
}

#endif
