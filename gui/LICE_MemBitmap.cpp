#include "gui/LICE_MemBitmap.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr uintptr_t kPixelAlignment = 64;

// Bytes above this cannot be recorded in the 32-bit size field (plus the alignment slack).
constexpr int64_t kLargestBuffer = INT_MAX - int64_t(kPixelAlignment);

}  // namespace

LICE_MemBitmap::~LICE_MemBitmap() { std::free(mRaw); }

LICE_pixel* LICE_MemBitmap::GetPixels() {
  if (!mRaw) return nullptr;
  const uintptr_t raw = reinterpret_cast<uintptr_t>(mRaw);
  return reinterpret_cast<LICE_pixel*>((raw + kPixelAlignment - 1) & ~(kPixelAlignment - 1));
}

void LICE_MemBitmap::FreeBuffer() {
  std::free(mRaw);
  mRaw = nullptr;
  mAllocatedBytes = 0;
}

bool LICE_MemBitmap::Resize(int width, int height) {
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  // Sizes that overflow the 32-bit byte count are treated like a failed allocation.
  const int64_t stride = (int64_t(width) + kRowAlignMask) & ~int64_t(kRowAlignMask);
  int64_t need = 0;
  if (width >= 1 && height >= 1) {
    // Rows too long for this height are too large before the product itself can overflow.
    need = stride * 4 > kLargestBuffer / height ? kLargestBuffer + 1 : stride * height * 4;
  }
  if (need > 0 && need <= kLargestBuffer) {
    if (!mRaw) {
      mRaw = std::malloc(size_t(need) + kPixelAlignment - 1);
      mAllocatedBytes = mRaw ? int32_t(need) : 0;
    } else if (mAllocatedBytes < need) {
      int64_t grown = need + need / 4;
      if (grown > kLargestBuffer) grown = need;
      void* moved = std::realloc(mRaw, size_t(grown) + kPixelAlignment - 1);
      if (moved) {
        mRaw = moved;
        mAllocatedBytes = int32_t(grown);
      } else {
        FreeBuffer();
        mRaw = std::malloc(size_t(need) + kPixelAlignment - 1);
        mAllocatedBytes = mRaw ? int32_t(need) : 0;
      }
    }
  } else {
    FreeBuffer();
  }
  if (!mRaw) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
