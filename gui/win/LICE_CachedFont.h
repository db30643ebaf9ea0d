#pragma once
// LICE_CachedFont: a Windows font that either lets GDI draw strings straight into the surface
// (the platform path) or renders each character once into an 8-bit coverage bitmap and then
// composes the cached coverage with the ink colour (the glyph path). The glyph path is the one
// that works on any surface, with translucent ink, and under Wine, whose GDI text on a DIB is
// not to be relied on.
//
// Glyphs of codes 0 to 127 live in a table, other codes in a list sorted by code; all coverage
// bitmaps share one byte buffer. Two scratch surfaces (one to render glyphs on, one to draw
// through when a surface has no device context) are shared by all fonts and live as long as
// at least one font exists. Rendering assumes one drawing thread (the editor's).

#include <cstdint>
#include <vector>

#include "gui/LICE_IFont.h"

class LICE_CachedFont : public LICE_IFont {
 public:
  // Font flags (AttachFontHandle).
  enum FontFlags {
    kRotated = 0x1,
    kRotateOtherWay = 0x2,
    kAsciiOnly = 0x4,  // render codes 0 to 127 at once and no others
    kSoften = 0x10,
    kInvert = 0x20,
    kHard = 0x40,
    kOutline = 0x80,
    kOutlineWide = 0x100,
    kOwnsHandle = 0x200,
    kPlatformDraw = 0x400,  // GDI may draw strings directly
  };
  static constexpr int kGlyphEffects =
      kRotated | kRotateOtherWay | kAsciiOnly | kSoften | kInvert | kHard | kOutline | kOutlineWide;

  LICE_CachedFont();
  ~LICE_CachedFont() override;

  // ---from LICE_IFont---
  void AttachFontHandle(void* handle, int flags) override;
  LICE_pixel SetInk(LICE_pixel colour) override;
  LICE_pixel SetPaper(LICE_pixel colour) override;
  LICE_pixel SetAccent(LICE_pixel colour) override;
  int SetPaperMode(int mode) override;
  void SetBlend(int mode, float alpha) override;
  int RenderText(LICE_IBitmap* surface, const char* text, int length, IRectangle* rect,
                 int flags) override;
  LICE_pixel GetInk() override { return mInk; }
  void* GetFontHandle() override { return mFont; }
  int GetRowHeight() override { return mLineHeight; }
  bool RenderGlyph(LICE_IBitmap* surface, int code, int x, int y, const IRectangle* clip) override;

  // Fonts alive in the process right now.
  static int FontCount();

 private:
  struct Glyph {
    int32_t offset = 0;  // 1-based into mCoverage; 0 not rendered yet, -1 empty
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
    int32_t code = 0;
    int32_t xOffset = 0;  // of the coverage bitmap within the character cell
  };

  const Glyph* FindGlyph(int code);
  bool RenderIntoCache(Glyph* glyph);
  void ClearGlyphs();
  bool UsesPlatformPath(int flags) const;
  int RenderWithPlatform(LICE_IBitmap* surface, const char* text, int length, IRectangle* rect,
                         int flags);
  int RenderWithGlyphs(LICE_IBitmap* surface, const char* text, int length, IRectangle* rect,
                       int flags);

  LICE_pixel mInk = 0;
  LICE_pixel mPaper = 0xffffffff;
  LICE_pixel mAccent = 0xffffffff;
  int mPaperMode = 1;  // transparent background
  int mBlendMode = 0;
  float mBlendAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  Glyph mLowGlyphs[128];
  std::vector<Glyph> mHighGlyphs;  // sorted by code
  std::vector<uint8_t> mCoverage;
  void* mFont = nullptr;  // HFONT
};

// Whether this process runs under Wine: the registry key "Software\Wine" exists under the
// local-machine hive. Asked once; the answer is remembered.
bool LICE_RunningUnderWine();
