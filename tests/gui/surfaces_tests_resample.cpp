// Area resampling: each destination pixel is the alpha-weighted mean of the source area it
// covers, whatever the ratio, up or down.

#include <gtest/gtest.h>

#include <vector>

#include "gui/LICE_AreaResample.h"
#include "gui/LICE_MemBitmap.h"

namespace {

void Fill(LICE_MemBitmap* bitmap, int width, int height, const std::vector<LICE_pixel>& pixels) {
  bitmap->Resize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap->GetPixels()[y * bitmap->GetStride() + x] = pixels[size_t(y * width + x)];
    }
  }
}

LICE_pixel At(LICE_MemBitmap& bitmap, int x, int y) {
  return bitmap.GetPixels()[y * bitmap.GetStride() + x];
}

LICE_pixel Grey(unsigned level) { return LICE_Argb(255, level, level, level); }

}  // namespace

TEST(AreaResample, HalvingAveragesEachTwoByTwoBox) {
  LICE_MemBitmap src, dest;
  Fill(&src, 4, 2,
       {Grey(0), Grey(100), Grey(10), Grey(10), Grey(200), Grey(100), Grey(10), Grey(11)});
  dest.Resize(2, 1);
  ASSERT_TRUE(LICE_AreaResample(&dest, &src));
  EXPECT_EQ(At(dest, 0, 0), Grey(100));
  EXPECT_EQ(At(dest, 1, 0), Grey(10)) << "10.25 rounds to 10";
}

TEST(AreaResample, FractionalRatiosWeighTheCoveredShareOfEachPixel) {
  // Three columns into two: 1.5 source pixels each, the middle one split between them.
  LICE_MemBitmap src, dest;
  Fill(&src, 3, 1, {Grey(0), Grey(90), Grey(180)});
  dest.Resize(2, 1);
  ASSERT_TRUE(LICE_AreaResample(&dest, &src));
  EXPECT_EQ(At(dest, 0, 0), Grey(30));
  EXPECT_EQ(At(dest, 1, 0), Grey(150));

  // Two rows into three: the middle row straddles both.
  Fill(&src, 1, 2, {Grey(30), Grey(90)});
  dest.Resize(1, 3);
  ASSERT_TRUE(LICE_AreaResample(&dest, &src));
  EXPECT_EQ(At(dest, 0, 0), Grey(30));
  EXPECT_EQ(At(dest, 0, 1), Grey(60));
  EXPECT_EQ(At(dest, 0, 2), Grey(90));
}

TEST(AreaResample, ColourOfTransparentPixelsDoesNotBleed) {
  LICE_MemBitmap src, dest;
  Fill(&src, 2, 1, {LICE_Argb(255, 200, 0, 0), LICE_Argb(0, 0, 255, 0)});
  dest.Resize(1, 1);
  ASSERT_TRUE(LICE_AreaResample(&dest, &src));
  EXPECT_EQ(At(dest, 0, 0), LICE_Argb(128, 200, 0, 0));

  Fill(&src, 2, 1, {LICE_Argb(0, 9, 9, 9), LICE_Argb(0, 200, 0, 0)});
  ASSERT_TRUE(LICE_AreaResample(&dest, &src));
  EXPECT_EQ(At(dest, 0, 0), LICE_pixel(0)) << "fully transparent comes out as zero";
}

TEST(AreaResample, UniformPictureStaysUniformAtAnySize) {
  const LICE_pixel colour = LICE_Argb(200, 17, 99, 230);
  LICE_MemBitmap src;
  Fill(&src, 7, 5, std::vector<LICE_pixel>(35, colour));
  const int sizes[][2] = {{3, 2}, {7, 5}, {13, 11}, {1, 1}, {20, 3}};
  for (const auto& size : sizes) {
    LICE_MemBitmap dest;
    dest.Resize(size[0], size[1]);
    ASSERT_TRUE(LICE_AreaResample(&dest, &src));
    for (int y = 0; y < size[1]; ++y) {
      for (int x = 0; x < size[0]; ++x) {
        ASSERT_EQ(At(dest, x, y), colour) << size[0] << "x" << size[1] << " at " << x << "," << y;
      }
    }
  }
}

TEST(AreaResample, RefusesEmptySurfacesAndResamplingInPlace) {
  LICE_MemBitmap empty, picture;
  Fill(&picture, 2, 2, {Grey(1), Grey(2), Grey(3), Grey(4)});
  EXPECT_FALSE(LICE_AreaResample(&picture, &empty));
  EXPECT_FALSE(LICE_AreaResample(&empty, &picture));
  EXPECT_FALSE(LICE_AreaResample(&picture, &picture));
  EXPECT_FALSE(LICE_AreaResample(nullptr, &picture));
  EXPECT_EQ(At(picture, 1, 1), Grey(4));
}
