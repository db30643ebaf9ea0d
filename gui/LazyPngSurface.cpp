#include "gui/LazyPngSurface.h"

#include <new>

#include "gui/LICE_DecodePng.h"

LazyPngSurface* LazyPngSurface::Open(const unsigned char* bytes, size_t length) {
  int width = 0, height = 0;
  if (!LICE_PngSize(bytes, length, &width, &height)) return nullptr;
  return new (std::nothrow) LazyPngSurface(bytes, length, width, height);
}

LICE_MemBitmap* LazyPngSurface::Decoded() {
  std::call_once(mDecodeOnce, [this] {
    mDecoded.reset(LICE_DecodePngMemory(mBytes, mLength));
    // The size the controls were laid out with must be the size drawn from.
    const bool matches =
        mDecoded && mDecoded->GetWidth() == mWidth && mDecoded->GetHeight() == mHeight;
    if (!matches) mDecoded.reset();
    mFailed = !matches;
    mDecodeTried = true;
  });
  return mDecoded.get();
}

LICE_pixel* LazyPngSurface::GetPixels() {
  LICE_MemBitmap* decoded = Decoded();
  return decoded ? decoded->GetPixels() : nullptr;
}

int LazyPngSurface::GetStride() {
  LICE_MemBitmap* decoded = Decoded();
  return decoded ? decoded->GetStride() : 0;
}

bool LazyPngSurface::Resize(int width, int height) {
  LICE_MemBitmap* decoded = Decoded();
  if (!decoded || !decoded->Resize(width, height)) return false;
  mWidth = decoded->GetWidth();
  mHeight = decoded->GetHeight();
  return true;
}
