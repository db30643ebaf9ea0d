// The text path on Windows: the font cache, measuring and drawing styled text on the draw
// surface, and the glyph cache that draws under Wine.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "gui/FontCache.h"
#include "gui/LICE_MemBitmap.h"
#include "gui/win/IGraphicsWin.h"
#include "gui/win/LICE_CachedFont.h"

namespace {

constexpr LICE_pixel kWhite = 0xffffffff;

class TextOnSurface : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.CreateDrawSurfaces();
    Clear();
  }

  void Clear() {
    LICE_IBitmap* s = editor.DrawSurface();
    for (int y = 0; y < s->GetHeight(); ++y) {
      std::fill_n(s->GetPixels() + y * s->GetStride(), s->GetWidth(), kWhite);
    }
  }

  LICE_pixel At(int x, int y) {
    LICE_IBitmap* s = editor.DrawSurface();
    return s->GetPixels()[y * s->GetStride() + x];
  }

  // The box around every pixel that is no longer white; L > R when there is none.
  IRectangle InkedBox() {
    IRectangle box{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 400; ++x) {
        if ((At(x, y) & 0xffffff) == 0xffffff) continue;
        box = IRectangle{std::min(box.L, x), std::min(box.T, y), std::max(box.R, x + 1),
                         std::max(box.B, y + 1)};
      }
    }
    return box;
  }

  IRectangle Measured(ITextStyle* style, const char* text, IRectangle rect) {
    EXPECT_TRUE(editor.MeasureText(style, text, &rect));
    return rect;
  }

  IGraphicsWin editor{nullptr, 400, 200, 25};
  ITextStyle style;
};

TEST(FontCache, StylesDifferingOnlyInQualityShareAFont) {
  ITextStyle plain;
  ITextStyle clear;
  clear.quality = ITextStyle::kQualityClearType;
  LICE_IFont* first = FindCachedFont(&plain);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(plain.cachedFont, first);
  EXPECT_EQ(FindCachedFont(&clear), first);
  ITextStyle bigger;
  bigger.size = 20;
  ITextStyle bold;
  bold.style = ITextStyle::kStyleBold;
  EXPECT_NE(FindCachedFont(&bigger), first);
  EXPECT_NE(FindCachedFont(&bold), first);
  EXPECT_NE(FindCachedFont(&bigger), FindCachedFont(&bold));
  EXPECT_GE(LICE_CachedFont::FontCount(), 3);
  // A name that fills its whole array is read no further than the array.
  ITextStyle full;
  std::fill_n(full.font, sizeof full.font, 'x');
  LICE_IFont* odd = FindCachedFont(&full);
  if (odd) {
    EXPECT_EQ(FindCachedFont(&full), odd);
  }
}

TEST(WineCheck, AgreesWithTheLoaderExport) {
  const bool hasWineExport =
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(LICE_RunningUnderWine(), hasWineExport);
  EXPECT_EQ(LICE_RunningUnderWine(), LICE_RunningUnderWine());
}

TEST_F(TextOnSurface, EmptyTextDrawsNothingAndAnswersTrue) {
  IRectangle rect{10, 10, 200, 40};
  EXPECT_TRUE(editor.DrawStyledText(&style, "", &rect, false));
  EXPECT_TRUE(editor.DrawStyledText(&style, nullptr, &rect, false));
  EXPECT_GT(InkedBox().L, InkedBox().R);
  EXPECT_EQ(rect, (IRectangle{10, 10, 200, 40}));
}

TEST_F(TextOnSurface, MeasuringPlacesTheExtentByAlignment) {
  style.align = ITextStyle::kAlignLeft;
  const IRectangle one = Measured(&style, "W", IRectangle{10, 20, 300, 90});
  const IRectangle two = Measured(&style, "WW", IRectangle{10, 20, 300, 90});
  EXPECT_EQ(one.L, 10);
  EXPECT_EQ(one.T, 20);
  EXPECT_GT(one.R, 10);
  EXPECT_EQ(two.R - 10, 2 * (one.R - 10));
  EXPECT_EQ(one.B - one.T, style.cachedFont->GetRowHeight());
  const IRectangle lines = Measured(&style, "W\nW", IRectangle{10, 20, 300, 90});
  EXPECT_EQ(lines.B - lines.T, 2 * (one.B - one.T));
  EXPECT_EQ(lines.R, one.R);

  const int w = two.R - two.L;
  style.align = ITextStyle::kAlignRight;
  const IRectangle right = Measured(&style, "WW", IRectangle{10, 20, 300, 90});
  EXPECT_EQ(right.R, 300);
  EXPECT_EQ(right.L, 300 - w);
  style.align = ITextStyle::kAlignCenter;
  const IRectangle centred = Measured(&style, "WW", IRectangle{10, 20, 300, 90});
  EXPECT_EQ(centred.R - centred.L, w);
  EXPECT_NEAR((centred.L + centred.R) / 2.0, 155.0, 1.0);
}

TEST_F(TextOnSurface, DrawnTextStaysInsideItsMeasuredExtent) {
  style.align = ITextStyle::kAlignCenter;
  style.size = 18;
  IRectangle area{100, 60, 300, 100};
  ASSERT_TRUE(editor.DrawStyledText(&style, "Brask", &area, false));
  const IRectangle inked = InkedBox();
  ASSERT_LT(inked.L, inked.R);
  const IRectangle extent = Measured(&style, "Brask", IRectangle{100, 60, 300, 100});
  EXPECT_GE(inked.L, extent.L - 2);
  EXPECT_LE(inked.R, extent.R + 2);
  EXPECT_GE(inked.T, 60);
  EXPECT_LE(inked.B, 60 + style.cachedFont->GetRowHeight());
  EXPECT_NEAR(inked.L - 100, 300 - inked.R, 4);  // centred
  EXPECT_EQ(At(inked.L, inked.T) >> 24, 0xffu);  // the surface keeps its alpha
}

TEST_F(TextOnSurface, TranslucentInkDrawsLighter) {
  style.size = 24;
  IRectangle area{20, 20, 380, 60};
  style.colour = IArgb{255, 0, 0, 0};
  editor.DrawStyledText(&style, "H", &area, false);
  unsigned darkest = 255;
  for (int y = 20; y < 60; ++y) {
    for (int x = 20; x < 380; ++x) darkest = std::min(darkest, LICE_GetG(At(x, y)));
  }
  Clear();
  style.colour = IArgb{96, 0, 0, 0};
  editor.DrawStyledText(&style, "H", &area, false);
  unsigned darkestTranslucent = 255;
  for (int y = 20; y < 60; ++y) {
    for (int x = 20; x < 380; ++x)
      darkestTranslucent = std::min(darkestTranslucent, LICE_GetG(At(x, y)));
  }
  EXPECT_LT(darkest, 64u);
  EXPECT_GT(darkestTranslucent, 128u);
  EXPECT_LT(darkestTranslucent, 255u);
}

TEST(CachedFont, GlyphPathDrawsOnSurfacesWithoutADeviceContext) {
  ITextStyle style;
  style.size = 16;
  LICE_IFont* font = FindCachedFont(&style);
  ASSERT_NE(font, nullptr);
  LICE_MemBitmap surface;
  surface.Resize(64, 32);
  for (int y = 0; y < 32; ++y)
    std::fill_n(surface.GetPixels() + y * surface.GetStride(), 64, kWhite);
  font->SetInk(0xff000000);
  IRectangle rect{0, 0, 64, 32};
  // Translucent flag: never the platform path, whatever system this runs on.
  EXPECT_EQ(font->RenderText(&surface, "ab\xc3\xa9", -1, &rect, LICE_IFont::kTextTranslucent),
            font->GetRowHeight());
  int inked = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x)
      inked += (surface.GetPixels()[y * surface.GetStride() + x] & 0xff) < 128;
  }
  EXPECT_GT(inked, 10);
  // Clipped to a rectangle that holds nothing of the text.
  IRectangle nowhere{60, 0, 64, 2};
  for (int y = 0; y < 32; ++y)
    std::fill_n(surface.GetPixels() + y * surface.GetStride(), 64, kWhite);
  font->RenderText(&surface, "ab", -1, &nowhere, LICE_IFont::kTextTranslucent);
  inked = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x)
      inked += surface.GetPixels()[y * surface.GetStride() + x] != kWhite;
  }
  EXPECT_EQ(inked, 0);
}

// A font that records what the text routine asks of it.
class RecordingFont : public LICE_IFont {
 public:
  void AttachFontHandle(void*, int) override {}
  LICE_pixel SetInk(LICE_pixel colour) override {
    ink = colour;
    return 0;
  }
  LICE_pixel SetPaper(LICE_pixel) override { return 0; }
  LICE_pixel SetAccent(LICE_pixel) override { return 0; }
  int SetPaperMode(int) override { return 0; }
  void SetBlend(int, float) override {}
  int RenderText(LICE_IBitmap*, const char*, int, IRectangle* rect, int f) override {
    flags.push_back(f);
    if (f & kTextMeasure) *rect = IRectangle{0, 0, 41, 13};
    return 13;
  }
  LICE_pixel GetInk() override { return ink; }
  void* GetFontHandle() override { return nullptr; }
  int GetRowHeight() override { return 13; }
  bool RenderGlyph(LICE_IBitmap*, int, int, int, const IRectangle*) override { return true; }

  LICE_pixel ink = 0;
  std::vector<int> flags;
};

TEST_F(TextOnSurface, StyleDecidesInkAndFlags) {
  RecordingFont font;
  style.cachedFont = &font;
  style.colour = IArgb{255, 0x11, 0x22, 0x33};
  style.align = ITextStyle::kAlignCenter;
  IRectangle rect{0, 0, 100, 20};
  editor.DrawStyledText(&style, "x", &rect, false);
  EXPECT_EQ(font.ink, 0xff112233u);
  style.colour.A = 200;
  style.align = ITextStyle::kAlignRight;
  editor.DrawStyledText(&style, "x", &rect, false);
  EXPECT_EQ(font.ink, 0xc8112233u);
  style.align = ITextStyle::kAlignLeft;
  editor.DrawStyledText(&style, "x", &rect, true);
  ASSERT_EQ(font.flags.size(), 3u);
  EXPECT_EQ(font.flags[0], 0x101);
  EXPECT_EQ(font.flags[1], 0x40000102);
  EXPECT_EQ(font.flags[2], 0x40000500);
  EXPECT_EQ(rect, (IRectangle{0, 0, 41, 13}));
  // Centred measuring of odd widths: -trunc(w / 2) - trunc((L + R) * -0.5).
  style.align = ITextStyle::kAlignCenter;
  rect = IRectangle{3, 5, 10, 50};
  editor.DrawStyledText(&style, "x", &rect, true);
  EXPECT_EQ(rect, (IRectangle{-14, 5, 27, 18}));
}

}  // namespace
