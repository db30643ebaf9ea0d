#include "gui/LICE_BlendBlit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The transfer, once clipped: rows x columns pixels, with signed row steps in pixels so that
// bottom-up surfaces walk backwards.
struct BlitSpan {
  uint8_t* dest;
  const uint8_t* src;
  int64_t destStep;  // bytes from one row to the next
  int64_t srcStep;
  int rows;
  int columns;
};

uint8_t ClampByte(int value) { return uint8_t(std::min(std::max(value, 0), 255)); }

template <typename PixelOp>
void ForEachPixel(const BlitSpan& span, PixelOp op) {
  uint8_t* destRow = span.dest;
  const uint8_t* srcRow = span.src;
  for (int row = 0; row < span.rows; ++row) {
    for (int column = 0; column < span.columns; ++column)
      op(destRow + 4 * column, srcRow + 4 * column);
    destRow += span.destStep;
    srcRow += span.srcStep;
  }
}

void CopyRows(const BlitSpan& span) {
  uint8_t* destRow = span.dest;
  const uint8_t* srcRow = span.src;
  for (int row = 0; row < span.rows; ++row) {
    std::memmove(destRow, srcRow, size_t(span.columns) * 4);
    destRow += span.destStep;
    srcRow += span.srcStep;
  }
}

void AverageRows(const BlitSpan& span) {
  ForEachPixel(span, [](uint8_t* d, const uint8_t* s) {
    uint32_t destWord, srcWord;
    std::memcpy(&destWord, d, 4);
    std::memcpy(&srcWord, s, 4);
    const uint32_t mixed = ((srcWord >> 1) & 0x7f7f7f7fu) + ((destWord >> 1) & 0x7f7f7f7fu);
    std::memcpy(d, &mixed, 4);
  });
}

// s + trunc((d - s) * keep / 256): keep is the destination's share out of 256.
uint8_t Mix(int s, int d, int keep) { return ClampByte(s + (d - s) * keep / 256); }

void CopyWeighted(const BlitSpan& span, int w) {
  if (w < 1) return;
  if (w == 256) return CopyRows(span);
  ForEachPixel(span, [w](uint8_t* d, const uint8_t* s) {
    for (int c = 0; c < 4; ++c) d[c] = Mix(s[c], d[c], 256 - w);
  });
}

void CopyBySourceAlpha(const BlitSpan& span, int w) {
  ForEachPixel(span, [w](uint8_t* d, const uint8_t* s) {
    const int a = s[kPixelAlpha];
    if (a == 0) return;
    if (w == 256) {
      if (a == 255) {
        std::memcpy(d, s, 4);
        return;
      }
      d[kPixelAlpha] = ClampByte(std::min(d[kPixelAlpha] + a, 255));
      for (int c = kPixelBlue; c <= kPixelRed; ++c) d[c] = Mix(s[c], d[c], 255 - a);
      return;
    }
    const int k = (a + 1) * w / 256;
    d[kPixelAlpha] = ClampByte(std::min(d[kPixelAlpha] + k, 255));
    for (int c = kPixelBlue; c <= kPixelRed; ++c) d[c] = Mix(s[c], d[c], 256 - k);
  });
}

// The weight a pixel contributes with: w itself, or w scaled by (a + 1) / 256.
int PixelWeight(int w, const uint8_t* s, bool bySourceAlpha) {
  return bySourceAlpha ? (s[kPixelAlpha] + 1) * w / 256 : w;
}

void Add(const BlitSpan& span, int w, bool bySourceAlpha) {
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) {
    const int pw = PixelWeight(w, s, bySourceAlpha);
    for (int c = 0; c < 4; ++c) d[c] = ClampByte(d[c] + s[c] * pw / 256);
  });
}

void Dodge(const BlitSpan& span, int w, bool bySourceAlpha) {
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) {
    const int pw = PixelWeight(w, s, bySourceAlpha);
    for (int c = 0; c < 4; ++c) {
      const int dodged = std::min(d[c] * 256 / (256 - s[c]), 255);
      d[c] = ClampByte(d[c] + (dodged - d[c]) * pw / 256);
    }
  });
}

void Multiply(const BlitSpan& span, int w, bool bySourceAlpha) {
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) {
    if (bySourceAlpha && s[kPixelAlpha] == 0) return;
    const int pw = PixelWeight(w, s, bySourceAlpha);
    for (int c = 0; c < 4; ++c) d[c] = ClampByte((d[c] * (s[c] * pw + (256 - pw) * 256)) >> 16);
  });
}

void Overlay(const BlitSpan& span, int w, bool bySourceAlpha) {
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) {
    const int pw = PixelWeight(w, s, bySourceAlpha);
    for (int c = 0; c < 4; ++c) {
      const int over =
          d[c] < 128 ? 2 * s[c] * d[c] / 255 : 255 - 2 * (255 - s[c]) * (255 - d[c]) / 255;
      d[c] = ClampByte(d[c] + (over - d[c]) * pw / 256);
    }
  });
}

// Hue in 0..1535 (256 steps per sixth of the circle), saturation and value in 0..255.
struct Hsv {
  int h, s, v;
};

Hsv ToHsv(int r, int g, int b) {
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  const int range = high - low;
  if (range == 0) return {0, 0, high};
  int h;
  if (high == r) {
    h = (g - b) * 256 / range;
    if (h < 0) h += 1536;
  } else if (high == g) {
    h = 512 + (b - r) * 256 / range;
  } else {
    h = 1024 + (r - g) * 256 / range;
  }
  return {h, range * 255 / high, high};
}

void FromHsv(const Hsv& hsv, int* r, int* g, int* b) {
  const int sector = hsv.h / 256;
  const int fraction = hsv.h % 256;
  const int low = hsv.v * (255 - hsv.s) / 255;
  const int falling = hsv.v * (255 * 256 - hsv.s * fraction) / (255 * 256);
  const int rising = hsv.v * (255 * 256 - hsv.s * (256 - fraction)) / (255 * 256);
  const int table[6][3] = {{hsv.v, rising, low},  {falling, hsv.v, low}, {low, hsv.v, rising},
                           {low, falling, hsv.v}, {rising, low, hsv.v},  {hsv.v, low, falling}};
  *r = table[sector][0];
  *g = table[sector][1];
  *b = table[sector][2];
}

// Source red turns the hue (256 = a full turn); green and blue shift saturation and value,
// 128 meaning no change. The result is mixed over the destination at the pixel's weight.
void HsvAdjust(const BlitSpan& span, int w, bool bySourceAlpha) {
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) {
    const int pw = PixelWeight(w, s, bySourceAlpha);
    Hsv hsv = ToHsv(d[kPixelRed], d[kPixelGreen], d[kPixelBlue]);
    hsv.h = (hsv.h + s[kPixelRed] * 6) % 1536;
    hsv.s = ClampByte(hsv.s + s[kPixelGreen] - 128);
    hsv.v = ClampByte(hsv.v + s[kPixelBlue] - 128);
    int r, g, b;
    FromHsv(hsv, &r, &g, &b);
    d[kPixelRed] = ClampByte(d[kPixelRed] + (r - d[kPixelRed]) * pw / 256);
    d[kPixelGreen] = ClampByte(d[kPixelGreen] + (g - d[kPixelGreen]) * pw / 256);
    d[kPixelBlue] = ClampByte(d[kPixelBlue] + (b - d[kPixelBlue]) * pw / 256);
  });
}

void CopyChannel(const BlitSpan& span, int mode) {
  const int from = mode & 3;
  const int to = (mode >> 2) & 3;
  ForEachPixel(span, [=](uint8_t* d, const uint8_t* s) { d[to] = s[from]; });
}

// Weight times 256, truncated; out-of-range weights are limited so the conversion is defined.
int IntegerWeight(float weight) {
  if (std::isnan(weight)) return 0;
  const double scaled = std::min(std::max(double(weight) * 256.0, -65536.0), 65536.0);
  return int(scaled);
}

void Compose(const BlitSpan& span, float weight, int mode) {
  if ((mode & 0xff) >= kBlitChannelCopy) return CopyChannel(span, mode);
  const int m = mode & (0xff | kBlitUseSourceAlpha);
  if (m == kBlitCopy && weight == 1.0f) return CopyRows(span);
  if (m == kBlitCopy && weight == 0.5f) return AverageRows(span);
  const int w = IntegerWeight(weight);
  if (w == 0) return;
  const bool bySourceAlpha = (m & kBlitUseSourceAlpha) != 0;
  switch (m & 0xff) {
    case kBlitCopy:
      return bySourceAlpha ? CopyBySourceAlpha(span, w) : CopyWeighted(span, w);
    case kBlitAdd:
      return Add(span, w, bySourceAlpha);
    case kBlitDodge:
      return Dodge(span, w, bySourceAlpha);
    case kBlitMultiply:
      return Multiply(span, w, bySourceAlpha);
    case kBlitOverlay:
      return Overlay(span, w, bySourceAlpha);
    case kBlitHsvAdjust:
      return HsvAdjust(span, w, bySourceAlpha);
    default:
      return;
  }
}

// First byte of picture row `row`, column `column`, honouring bottom-up storage.
uint8_t* PixelAddress(LICE_IBitmap* surface, int64_t row, int64_t column, int64_t* rowStep) {
  const int64_t stride = int64_t(surface->GetStride()) * 4;
  const int64_t storedRow = surface->IsBottomUp() ? surface->GetHeight() - row - 1 : row;
  *rowStep = surface->IsBottomUp() ? -stride : stride;
  return reinterpret_cast<uint8_t*>(surface->GetPixels()) + storedRow * stride + column * 4;
}

}  // namespace

void LICE_BlendBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int destX, int destY,
                    const IRectangle* srcRect, float weight, int mode) {
  if (!dest || !src || weight == 0.0f) return;
  // 64-bit bounds: hostile rectangles must not overflow while being clipped.
  const int64_t srcWidth = src->GetWidth();
  const int64_t srcHeight = src->GetHeight();
  const int64_t destWidth = dest->GetWidth();
  const int64_t destHeight = dest->GetHeight();
  int64_t dx = destX, dy = destY;
  int64_t sl = 0, st = 0, sr = srcWidth, sb = srcHeight;
  if (srcRect) {
    sl = srcRect->L;
    st = srcRect->T;
    sr = std::min<int64_t>(srcRect->R, srcWidth);
    sb = std::min<int64_t>(srcRect->B, srcHeight);
    if (sl < 0) dx -= sl, sl = 0;
    if (st < 0) dy -= st, st = 0;
  }
  if (dx < 0) sl -= dx, dx = 0;
  if (dy < 0) st -= dy, dy = 0;
  if (sr <= sl || sb <= st || dx >= destWidth || dy >= destHeight) return;
  sr = std::min(sr, sl + destWidth - dx);
  sb = std::min(sb, st + destHeight - dy);
  if (sr <= sl || sb <= st) return;
  if (!dest->GetPixels() || !src->GetPixels()) return;

  BlitSpan span;
  span.src = PixelAddress(src, st, sl, &span.srcStep);
  span.dest = PixelAddress(dest, dy, dx, &span.destStep);
  span.rows = int(sb - st);
  span.columns = int(sr - sl);
  Compose(span, weight, mode);
}
