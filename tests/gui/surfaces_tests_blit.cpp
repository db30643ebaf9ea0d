// Blitting: the integer arithmetic of the copy and source-alpha paths, clipping against both
// surfaces, bottom-up storage, and the clipped strip blit behind IGraphics::BlitBitmap.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gui/LICE_BlendBlit.h"
#include "gui/LICE_BlitStrip.h"
#include "gui/LICE_MemBitmap.h"

namespace {

constexpr int kAlphaCopy = kBlitCopy | kBlitUseSourceAlpha;

// A surface of the given size with every pixel set to fill.
struct Surface {
  LICE_MemBitmap bitmap;
  Surface(int width, int height, LICE_pixel fill) {
    bitmap.Resize(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) At(x, y) = fill;
    }
  }
  LICE_pixel& At(int x, int y) { return bitmap.GetPixels()[y * bitmap.GetStride() + x]; }
};

// The blit of one source pixel over one destination pixel.
LICE_pixel BlendOne(LICE_pixel src, LICE_pixel dest, float weight, int mode) {
  Surface s(1, 1, src), d(1, 1, dest);
  LICE_BlendBlit(&d.bitmap, &s.bitmap, 0, 0, nullptr, weight, mode);
  return d.At(0, 0);
}

// A 4 x 4 source whose pixel (x, y) is unique: red = x, green = y, alpha 255.
struct NumberedSource : Surface {
  NumberedSource() : Surface(4, 4, 0) {
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) At(x, y) = LICE_Argb(255, x, y, 7);
    }
  }
};

// A bottom-up view of a heap surface: picture row 0 is the last stored row.
class BottomUpBitmap : public LICE_MemBitmap {
 public:
  bool IsBottomUp() override { return true; }
};

}  // namespace

TEST(SourceAlphaCompose, TransparentSourceLeavesDestination) {
  EXPECT_EQ(BlendOne(LICE_Argb(0, 10, 20, 30), LICE_Argb(77, 1, 2, 3), 1.0f, kAlphaCopy),
            LICE_Argb(77, 1, 2, 3));
  EXPECT_EQ(BlendOne(LICE_Argb(0, 10, 20, 30), LICE_Argb(77, 1, 2, 3), 0.25f, kAlphaCopy),
            LICE_Argb(77, 1, 2, 3));
}

TEST(SourceAlphaCompose, OpaqueSourceReplacesDestinationExactly) {
  EXPECT_EQ(BlendOne(LICE_Argb(255, 10, 20, 30), LICE_Argb(4, 200, 201, 202), 1.0f, kAlphaCopy),
            LICE_Argb(255, 10, 20, 30));
}

TEST(SourceAlphaCompose, HalfAlphaOverPartlyOpaqueDestination) {
  // Alpha 128 + 200 clamps to 255; colours move by trunc((d - s) * 127 / 256).
  const LICE_pixel out =
      BlendOne(LICE_Argb(128, 0, 255, 100), LICE_Argb(200, 255, 0, 100), 1.0f, kAlphaCopy);
  EXPECT_EQ(LICE_GetA(out), 255u);
  EXPECT_EQ(LICE_GetR(out), 126u);  // 0 + trunc(255 * 127 / 256)
  EXPECT_EQ(LICE_GetG(out), 129u);  // 255 + trunc(-255 * 127 / 256): toward zero, not down
  EXPECT_EQ(LICE_GetB(out), 100u);
}

TEST(SourceAlphaCompose, QuarterWeightAsForAGreyedControl) {
  // w = 64, a = 255: k = trunc(256 * 64 / 256) = 64.
  const LICE_pixel out =
      BlendOne(LICE_Argb(255, 0, 200, 40), LICE_Argb(100, 200, 0, 40), 0.25f, kAlphaCopy);
  EXPECT_EQ(LICE_GetA(out), 164u);
  EXPECT_EQ(LICE_GetR(out), 150u);  // 0 + trunc(200 * 192 / 256)
  EXPECT_EQ(LICE_GetG(out), 50u);   // 200 + trunc(-200 * 192 / 256)
  EXPECT_EQ(LICE_GetB(out), 40u);
}

TEST(SourceAlphaCompose, PartialWeightScalesBySourceAlpha) {
  // w = 128, a = 99: k = trunc(100 * 128 / 256) = 50; colour 0 + trunc(255 * 206 / 256) = 205.
  const LICE_pixel out =
      BlendOne(LICE_Argb(99, 0, 0, 0), LICE_Argb(250, 255, 255, 255), 0.5f, kAlphaCopy);
  EXPECT_EQ(out, LICE_Argb(255, 205, 205, 205));
}

TEST(CopyBlit, WeightZeroDrawsNothing) {
  EXPECT_EQ(BlendOne(LICE_Argb(255, 9, 9, 9), LICE_Argb(1, 2, 3, 4), 0.0f, kBlitCopy),
            LICE_Argb(1, 2, 3, 4));
  EXPECT_EQ(BlendOne(LICE_Argb(255, 9, 9, 9), LICE_Argb(1, 2, 3, 4), 0.0f, kAlphaCopy),
            LICE_Argb(1, 2, 3, 4));
}

TEST(CopyBlit, FullWeightCopiesBytesVerbatimIncludingAlpha) {
  EXPECT_EQ(BlendOne(LICE_Argb(0, 9, 8, 7), LICE_Argb(255, 1, 2, 3), 1.0f, kBlitCopy),
            LICE_Argb(0, 9, 8, 7));
}

TEST(CopyBlit, HalfWeightAveragesWithShiftAndMask) {
  // Each byte becomes (s >> 1) + (d >> 1): the low bits of both are dropped.
  EXPECT_EQ(BlendOne(LICE_Argb(0xff, 0x81, 0x03, 0x00), LICE_Argb(0x01, 0x81, 0xff, 0x02), 0.5f,
                     kBlitCopy),
            LICE_Argb(0x7f, 0x80, 0x80, 0x01));
}

TEST(CopyBlit, QuarterWeightMovesEveryByteIncludingAlpha) {
  // w = 64: c = s + trunc((d - s) * 192 / 256).
  EXPECT_EQ(BlendOne(LICE_Argb(0, 255, 100, 0), LICE_Argb(200, 0, 100, 255), 0.25f, kBlitCopy),
            LICE_Argb(150, 64, 100, 191));
}

TEST(CopyBlit, WeightBelowOneStepDrawsNothing) {
  EXPECT_EQ(BlendOne(LICE_Argb(255, 9, 9, 9), LICE_Argb(1, 2, 3, 4), 0.001f, kBlitCopy),
            LICE_Argb(1, 2, 3, 4));
}

TEST(OtherBlitOps, AddClampsEveryByte) {
  EXPECT_EQ(BlendOne(LICE_Argb(10, 200, 20, 0), LICE_Argb(250, 100, 30, 5), 1.0f, kBlitAdd),
            LICE_Argb(255, 255, 50, 5));
}

TEST(OtherBlitOps, ChannelCopyMovesOneByteAndIgnoresWeight) {
  // Source red (byte 2) into destination blue (byte 0).
  const int mode = kBlitChannelCopy | (kPixelBlue << 2) | kPixelRed;
  EXPECT_EQ(BlendOne(LICE_Argb(1, 77, 2, 3), LICE_Argb(9, 8, 7, 6), 0.3f, mode),
            LICE_Argb(9, 8, 7, 77));
}

TEST(OtherBlitOps, UnknownOpDrawsNothing) {
  EXPECT_EQ(BlendOne(LICE_Argb(255, 9, 9, 9), LICE_Argb(1, 2, 3, 4), 0.7f, 0x42),
            LICE_Argb(1, 2, 3, 4));
}

TEST(BlitClipping, NegativeDestinationShiftsTheSourceWindow) {
  NumberedSource src;
  Surface dest(3, 3, 0);
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, -1, -2, nullptr, 1.0f, kBlitCopy);
  // Destination (0, 0) receives source (1, 2); columns and rows beyond the source stay 0.
  EXPECT_EQ(dest.At(0, 0), src.At(1, 2));
  EXPECT_EQ(dest.At(2, 1), src.At(3, 3));
  EXPECT_EQ(dest.At(0, 2), 0u);
}

TEST(BlitClipping, SourceRectangleOutsideTheSourceIsClipped) {
  NumberedSource src;
  Surface dest(6, 6, 0);
  IRectangle window;
  window.L = -1;
  window.T = 2;
  window.R = 9;
  window.B = 9;
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, 0, 0, &window, 1.0f, kBlitCopy);
  // The left edge of the window lies outside the source: the destination moves right instead.
  EXPECT_EQ(dest.At(0, 0), 0u);
  EXPECT_EQ(dest.At(1, 0), src.At(0, 2));
  EXPECT_EQ(dest.At(4, 1), src.At(3, 3));
  EXPECT_EQ(dest.At(5, 1), 0u);
  EXPECT_EQ(dest.At(1, 2), 0u);
}

TEST(BlitClipping, DestinationEdgesLimitTheTransfer) {
  NumberedSource src;
  Surface dest(5, 5, 0);
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, 3, 4, nullptr, 1.0f, kBlitCopy);
  EXPECT_EQ(dest.At(3, 4), src.At(0, 0));
  EXPECT_EQ(dest.At(4, 4), src.At(1, 0));
  EXPECT_EQ(dest.At(2, 4), 0u);
  EXPECT_EQ(dest.At(3, 3), 0u);
}

TEST(BlitClipping, PositionsBeyondTheDestinationDrawNothing) {
  NumberedSource src;
  Surface dest(4, 4, 0);
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, 4, 0, nullptr, 1.0f, kBlitCopy);
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, 0, -4, nullptr, 1.0f, kBlitCopy);
  LICE_BlendBlit(&dest.bitmap, &src.bitmap, -2000000000, 0, nullptr, 1.0f, kBlitCopy);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.At(x, y), 0u) << x << "," << y;
  }
}

TEST(BlitClipping, MissingOrEmptySurfacesDrawNothing) {
  NumberedSource src;
  Surface dest(4, 4, 5);
  LICE_MemBitmap empty;
  LICE_BlendBlit(nullptr, &src.bitmap, 0, 0, nullptr, 1.0f, kBlitCopy);
  LICE_BlendBlit(&dest.bitmap, nullptr, 0, 0, nullptr, 1.0f, kBlitCopy);
  LICE_BlendBlit(&dest.bitmap, &empty, 0, 0, nullptr, 1.0f, kAlphaCopy);
  LICE_BlendBlit(&empty, &src.bitmap, 0, 0, nullptr, 1.0f, kAlphaCopy);
  EXPECT_EQ(dest.At(0, 0), 5u);
}

TEST(BlitClipping, BottomUpSurfacesAreAddressedByPictureRow) {
  NumberedSource src;
  BottomUpBitmap dest;
  dest.Resize(4, 4);
  std::memset(dest.GetPixels(), 0, size_t(dest.GetStride()) * 4 * 4);
  LICE_BlendBlit(&dest, &src.bitmap, 0, 0, nullptr, 1.0f, kBlitCopy);
  // Picture row 0 is stored last.
  EXPECT_EQ(dest.GetPixels()[3 * dest.GetStride() + 2], src.At(2, 0));
  EXPECT_EQ(dest.GetPixels()[0 * dest.GetStride() + 1], src.At(1, 3));
}

namespace {

IRectangle Rect(int l, int t, int r, int b) {
  IRectangle rect;
  rect.L = l;
  rect.T = t;
  rect.R = r;
  rect.B = b;
  return rect;
}

}  // namespace

TEST(StripBlit, DrawsOnlyTheOverlapWithTheDrawRectangle) {
  NumberedSource src;
  Surface dest(10, 10, 0);
  const IBitmapStrip strip(&src.bitmap, 2);  // two 4 x 2 frames
  // Frame 2 (source rows 2..3) placed at (3, 3); the draw rectangle cuts its left column.
  LICE_BlitStrip(&dest.bitmap, Rect(4, 0, 10, 10), strip, Rect(3, 3, 7, 5), 0, 2, nullptr);
  EXPECT_EQ(dest.At(3, 3), 0u);
  EXPECT_EQ(dest.At(4, 3), src.At(1, 2));
  EXPECT_EQ(dest.At(6, 4), src.At(3, 3));
  EXPECT_EQ(dest.At(4, 5), 0u);
}

TEST(StripBlit, RectangleWhollyOutsideTheDrawRectangleDrawsNothing) {
  NumberedSource src;
  Surface dest(10, 10, 0);
  const IBitmapStrip strip(&src.bitmap, 1);
  LICE_BlitStrip(&dest.bitmap, Rect(5, 5, 10, 10), strip, Rect(0, 0, 4, 4), 0, 0, nullptr);
  LICE_BlitStrip(&dest.bitmap, IRectangle(), strip, Rect(0, 0, 4, 4), 0, 0, nullptr);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(dest.At(x, y), 0u) << x << "," << y;
  }
}

TEST(StripBlit, BlendMethodSelectsCopyOrSourceAlpha) {
  Surface src(1, 1, LICE_Argb(0, 50, 60, 70));
  const IBitmapStrip strip(&src.bitmap, 1);
  IBlend replace;
  replace.method = Replace;
  IBlend over;
  over.method = Over;
  Surface replaced(1, 1, LICE_Argb(255, 1, 2, 3));
  LICE_BlitStrip(&replaced.bitmap, Rect(0, 0, 1, 1), strip, Rect(0, 0, 1, 1), 0, 0, &replace);
  EXPECT_EQ(replaced.At(0, 0), LICE_Argb(0, 50, 60, 70));
  Surface composed(1, 1, LICE_Argb(255, 1, 2, 3));
  LICE_BlitStrip(&composed.bitmap, Rect(0, 0, 1, 1), strip, Rect(0, 0, 1, 1), 0, 0, &over);
  LICE_BlitStrip(&composed.bitmap, Rect(0, 0, 1, 1), strip, Rect(0, 0, 1, 1), 0, 0, nullptr);
  EXPECT_EQ(composed.At(0, 0), LICE_Argb(255, 1, 2, 3));
}

TEST(StripBlit, MissingPictureDrawsNothing) {
  Surface dest(4, 4, 9);
  const IBitmapStrip strip(nullptr, 3);
  EXPECT_EQ(strip.width, 0);
  EXPECT_EQ(strip.height, 0);
  LICE_BlitStrip(&dest.bitmap, Rect(0, 0, 4, 4), strip, Rect(0, 0, 4, 4), 0, 0, nullptr);
  EXPECT_EQ(dest.At(0, 0), 9u);
}
