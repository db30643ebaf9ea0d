#include "gui/win/LICE_CachedFont.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "gui/LICE_SysBitmap.h"

namespace {

constexpr int kScratchSize = 256;
constexpr int kMaxGlyphLineHeight = 1023;
constexpr int kMaxGlyphPathHeight = 255;
constexpr int kHardThreshold = 130;

// Shared by every font; created on first need, destroyed with the last font.
int gFontCount = 0;
LICE_SysBitmap* gGlyphScratch = nullptr;
LICE_SysBitmap* gDrawScratch = nullptr;

HDC GlyphScratchContext(int width, int height) {
  if (!gGlyphScratch) gGlyphScratch = new LICE_SysBitmap(0, 0);
  const int w = std::max(width, std::max(gGlyphScratch->GetWidth(), kScratchSize));
  const int h = std::max(height, std::max(gGlyphScratch->GetHeight(), kScratchSize));
  gGlyphScratch->Resize(w, h);
  HDC dc = gGlyphScratch->GetDeviceContext();
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  return dc;
}

// The code points of UTF-8 text; text that is not valid UTF-8 is taken byte by byte.
std::vector<int> CodePoints(const char* text, int length) {
  std::vector<int> codes;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const auto* end = p + length;
  while (p < end) {
    const unsigned char lead = *p;
    int extra = lead < 0x80         ? 0
                : (lead >> 5) == 6  ? 1
                : (lead >> 4) == 14 ? 2
                : (lead >> 3) == 30 ? 3
                                    : -1;
    if (extra < 0 || end - p <= extra) break;
    int code = extra == 0 ? lead : lead & (0x3f >> extra);
    bool valid = true;
    for (int i = 1; i <= extra; ++i) {
      if ((p[i] & 0xc0) != 0x80) valid = false;
      code = (code << 6) | (p[i] & 0x3f);
    }
    if (!valid) break;
    codes.push_back(code);
    p += extra + 1;
  }
  if (p == end) return codes;
  codes.clear();
  for (p = reinterpret_cast<const unsigned char*>(text); p < end; ++p) codes.push_back(*p);
  return codes;
}

// UTF-16 for one code point.
std::wstring WideOf(int code) {
  if (code < 0x10000) return std::wstring(1, wchar_t(code));
  const int v = code - 0x10000;
  return std::wstring{wchar_t(0xd800 + (v >> 10)), wchar_t(0xdc00 + (v & 0x3ff))};
}

std::wstring WideText(const char* text, int length) {
  UINT page = CP_UTF8;
  int count = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
  if (count <= 0) {
    page = CP_ACP;
    count = MultiByteToWideChar(page, 0, text, length, nullptr, 0);
  }
  std::wstring wide(size_t(std::max(count, 0)), L'\0');
  if (count > 0) MultiByteToWideChar(page, 0, text, length, &wide[0], count);
  return wide;
}

uint8_t Blend(unsigned dst, unsigned src, float weight) {
  return uint8_t(float(dst) + (float(src) - float(dst)) * weight + 0.5f);
}

}  // namespace

bool LICE_RunningUnderWine() {
  static const bool underWine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }();
  return underWine;
}

LICE_CachedFont::LICE_CachedFont() { ++gFontCount; }

LICE_CachedFont::~LICE_CachedFont() {
  if ((mFlags & kOwnsHandle) && mFont) DeleteObject(static_cast<HFONT>(mFont));
  if (--gFontCount == 0) {
    delete gGlyphScratch;
    gGlyphScratch = nullptr;
    delete gDrawScratch;
    gDrawScratch = nullptr;
  }
}

int LICE_CachedFont::FontCount() { return gFontCount; }

void LICE_CachedFont::AttachFontHandle(void* handle, int flags) {
  if ((mFlags & kOwnsHandle) && mFont && mFont != handle) DeleteObject(static_cast<HFONT>(mFont));
  mFlags = flags;
  mFont = handle;
  ClearGlyphs();
  if (!handle) return;
  HDC dc = GlyphScratchContext(kScratchSize, kScratchSize);
  SelectObject(dc, static_cast<HFONT>(handle));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  mLineHeight = metrics.tmHeight;
  if (flags & kAsciiOnly) {
    for (int code = 0; code < 128; ++code) FindGlyph(code);
  }
}

void LICE_CachedFont::ClearGlyphs() {
  for (Glyph& glyph : mLowGlyphs) glyph = Glyph();
  mHighGlyphs.clear();
  mCoverage.clear();
}

LICE_pixel LICE_CachedFont::SetInk(LICE_pixel colour) {
  std::swap(mInk, colour);
  return colour;
}

LICE_pixel LICE_CachedFont::SetPaper(LICE_pixel colour) {
  std::swap(mPaper, colour);
  return colour;
}

LICE_pixel LICE_CachedFont::SetAccent(LICE_pixel colour) {
  std::swap(mAccent, colour);
  return colour;
}

int LICE_CachedFont::SetPaperMode(int mode) {
  std::swap(mPaperMode, mode);
  return mode;
}

void LICE_CachedFont::SetBlend(int mode, float alpha) {
  mBlendMode = mode;
  mBlendAlpha = alpha;
}

// ---glyph cache---

const LICE_CachedFont::Glyph* LICE_CachedFont::FindGlyph(int code) {
  if (code >= 0 && code < 128) {
    Glyph& glyph = mLowGlyphs[code];
    if (glyph.offset == 0) {
      glyph.code = code;
      if (!RenderIntoCache(&glyph)) return nullptr;
    }
    return &glyph;
  }
  auto byCode = [](const Glyph& g, int c) { return g.code < c; };
  auto found = std::lower_bound(mHighGlyphs.begin(), mHighGlyphs.end(), code, byCode);
  if (found != mHighGlyphs.end() && found->code == code) return &*found;
  if (mFlags & kAsciiOnly) return nullptr;
  Glyph glyph;
  glyph.code = code;
  if (!RenderIntoCache(&glyph)) return nullptr;
  return &*mHighGlyphs.insert(found, glyph);  // inserting at its place keeps the order
}

bool LICE_CachedFont::RenderIntoCache(Glyph* glyph) {
  if (!mFont || mLineHeight < 1 || mLineHeight > kMaxGlyphLineHeight) return false;
  const std::wstring chars = WideOf(glyph->code);
  HDC dc = GlyphScratchContext(kScratchSize, mLineHeight);
  SelectObject(dc, static_cast<HFONT>(mFont));
  SIZE size = {};
  GetTextExtentPoint32W(dc, chars.c_str(), int(chars.size()), &size);
  const int margin = mLineHeight < 16 ? 2 : mLineHeight / 16 + 2;
  const int cellWidth = int(size.cx) + 2 * margin;
  const int height = mLineHeight;
  dc = GlyphScratchContext(cellWidth, height);
  const RECT cell = {0, 0, cellWidth, height};
  FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  TextOutW(dc, margin, 0, chars.c_str(), int(chars.size()));
  GdiFlush();

  // The green channel of white-on-black text is the coverage.
  const LICE_pixel* pixels = gGlyphScratch->GetPixels();
  const int stride = gGlyphScratch->GetStride();
  auto coverageAt = [&](int x, int y) {
    int v = int(LICE_GetG(pixels[size_t(y) * size_t(stride) + size_t(x)]));
    if (mFlags & kInvert) v = 255 - v;
    if (mFlags & kHard) v = v >= kHardThreshold ? 255 : 0;
    return uint8_t(v);
  };
  int first = cellWidth;
  int last = -1;
  for (int x = 0; x < cellWidth; ++x) {
    for (int y = 0; y < height; ++y) {
      if (coverageAt(x, y) == 0) continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
  }
  glyph->advance = int(size.cx);
  glyph->height = height;
  if (last < 0) {
    glyph->offset = -1;
    glyph->width = 0;
    return true;
  }
  glyph->offset = int(mCoverage.size()) + 1;
  glyph->width = last - first + 1;
  glyph->xOffset = first - margin;
  for (int y = 0; y < height; ++y) {
    for (int x = first; x <= last; ++x) mCoverage.push_back(coverageAt(x, y));
  }
  return true;
}

bool LICE_CachedFont::RenderGlyph(LICE_IBitmap* surface, int code, int x, int y,
                                  const IRectangle* clip) {
  const Glyph* glyph = FindGlyph(code);
  if (!glyph) return false;
  if (glyph->offset < 0 || !surface || !surface->GetPixels()) return true;
  IRectangle bounds{0, 0, surface->GetWidth(), surface->GetHeight()};
  if (clip) {
    bounds = IRectangle{std::max(bounds.L, clip->L), std::max(bounds.T, clip->T),
                        std::min(bounds.R, clip->R), std::min(bounds.B, clip->B)};
  }
  const float inkWeight = mBlendAlpha * float(LICE_GetA(mInk)) / 255.0f;
  const uint8_t* coverage = &mCoverage[size_t(glyph->offset - 1)];
  LICE_pixel* pixels = surface->GetPixels();
  const int stride = surface->GetStride();
  for (int row = 0; row < glyph->height; ++row) {
    const int py = y + row;
    if (py < bounds.T || py >= bounds.B) continue;
    for (int col = 0; col < glyph->width; ++col) {
      const int px = x + glyph->xOffset + col;
      const uint8_t c = coverage[size_t(row) * size_t(glyph->width) + size_t(col)];
      if (px < bounds.L || px >= bounds.R || c == 0) continue;
      LICE_pixel& p = pixels[size_t(py) * size_t(stride) + size_t(px)];
      const float w = inkWeight * float(c) / 255.0f;
      p = LICE_Argb(LICE_GetA(p), Blend(LICE_GetR(p), LICE_GetR(mInk), w),
                    Blend(LICE_GetG(p), LICE_GetG(mInk), w),
                    Blend(LICE_GetB(p), LICE_GetB(mInk), w));
    }
  }
  return true;
}

// ---strings---

int LICE_CachedFont::RenderText(LICE_IBitmap* surface, const char* text, int length,
                                IRectangle* rect, int flags) {
  if (!text || !rect) return 0;
  if (length < 0) length = int(std::strlen(text));
  if (UsesPlatformPath(flags)) return RenderWithPlatform(surface, text, length, rect, flags);
  return RenderWithGlyphs(surface, text, length, rect, flags);
}

bool LICE_CachedFont::UsesPlatformPath(int flags) const {
  if (mLineHeight > kMaxGlyphPathHeight) return true;
  return (mFlags & kPlatformDraw) && mFont && flags >= 0 && !LICE_RunningUnderWine() &&
         !(flags & kTextTranslucent) && !(mFlags & kGlyphEffects);
}

int LICE_CachedFont::RenderWithGlyphs(LICE_IBitmap* surface, const char* text, int length,
                                      IRectangle* rect, int flags) {
  std::vector<std::vector<int>> lines(1);
  for (int code : CodePoints(text, length)) {
    if (code == '\n') {
      lines.emplace_back();
    } else if (code != '\r') {
      lines.back().push_back(code);
    }
  }
  std::vector<int> widths;
  int widest = 0;
  for (const std::vector<int>& line : lines) {
    int width = 0;
    for (int code : line) {
      const Glyph* glyph = FindGlyph(code);
      if (glyph) width += glyph->advance;
    }
    widths.push_back(width);
    widest = std::max(widest, width);
  }
  const int height = int(lines.size()) * mLineHeight;
  if (flags & kTextMeasure) {
    rect->R = rect->L + widest;
    rect->B = rect->T + height;
    return height;
  }
  int y = rect->T;
  if (flags & kTextVCenter) y = rect->T + (rect->H() - height) / 2;
  if (flags & kTextBottom) y = rect->B - height;
  const IRectangle* clip = (flags & kTextNoClip) ? nullptr : rect;
  for (size_t i = 0; i < lines.size(); ++i, y += mLineHeight) {
    int x = rect->L;
    if (flags & kTextCenter) x = rect->L + (rect->W() - widths[i]) / 2;
    if (flags & kTextRight) x = rect->R - widths[i];
    for (int code : lines[i]) {
      const Glyph* glyph = FindGlyph(code);
      if (!glyph) continue;
      RenderGlyph(surface, code, x, y, clip);
      x += glyph->advance;
    }
  }
  return height;
}

int LICE_CachedFont::RenderWithPlatform(LICE_IBitmap* surface, const char* text, int length,
                                        IRectangle* rect, int flags) {
  const std::wstring wide = WideText(text, length);
  UINT format = DT_NOPREFIX;
  if (flags & kTextCenter) format |= DT_CENTER;
  if (flags & kTextRight) format |= DT_RIGHT;
  if (flags & kTextVCenter) format |= DT_VCENTER | DT_SINGLELINE;
  if (flags & kTextBottom) format |= DT_BOTTOM | DT_SINGLELINE;
  if (flags & kTextNoClip) format |= DT_NOCLIP;
  const bool measure = (flags & kTextMeasure) != 0;
  if (measure) format |= DT_CALCRECT;

  // A surface without a device context is drawn through the drawing scratch surface.
  HDC dc = surface ? surface->GetDeviceContext() : nullptr;
  LICE_IBitmap* through = nullptr;
  RECT r = {rect->L, rect->T, rect->R, rect->B};
  if (!dc && measure) dc = GlyphScratchContext(kScratchSize, kScratchSize);
  if (!dc && surface && surface->GetPixels() && rect->W() > 0 && rect->H() > 0) {
    if (!gDrawScratch) gDrawScratch = new LICE_SysBitmap(0, 0);
    gDrawScratch->Resize(rect->W(), rect->H());
    through = gDrawScratch;
    dc = gDrawScratch->GetDeviceContext();
    r = RECT{0, 0, rect->W(), rect->H()};
  }
  if (!dc) return 0;
  auto copy = [&](bool toScratch) {
    for (int y = 0; y < rect->H(); ++y) {
      const int sy = rect->T + y;
      if (sy < 0 || sy >= surface->GetHeight()) continue;
      for (int x = 0; x < rect->W(); ++x) {
        const int sx = rect->L + x;
        if (sx < 0 || sx >= surface->GetWidth()) continue;
        LICE_pixel& outer =
            surface->GetPixels()[size_t(sy) * size_t(surface->GetStride()) + size_t(sx)];
        LICE_pixel& inner =
            through->GetPixels()[size_t(y) * size_t(through->GetStride()) + size_t(x)];
        (toScratch ? inner : outer) = toScratch ? outer : inner;
      }
    }
  };
  if (through) copy(true);
  HGDIOBJ previousFont = SelectObject(dc, static_cast<HFONT>(mFont));
  SetTextColor(dc, RGB(LICE_GetR(mInk), LICE_GetG(mInk), LICE_GetB(mInk)));
  SetBkColor(dc, RGB(LICE_GetR(mPaper), LICE_GetG(mPaper), LICE_GetB(mPaper)));
  SetBkMode(dc, mPaperMode);
  const int height = DrawTextW(dc, wide.c_str(), int(wide.size()), &r, format);
  GdiFlush();
  SelectObject(dc, previousFont);
  if (through && !measure) copy(false);
  if (measure) {
    rect->R = rect->L + (r.right - r.left);
    rect->B = rect->T + (r.bottom - r.top);
  }
  return height;
}
