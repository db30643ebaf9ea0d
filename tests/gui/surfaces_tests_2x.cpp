// The panel pictures' twice-resolution set: every 2x picture pairs with its 1x picture, has
// exactly twice its size, and shows the same thing in the same place; the 1x set stays
// exactly as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "gui/EmbeddedPictures.h"
#include "gui/LICE_MemBitmap.h"

namespace {

struct PanelPicture {
  int id;
  const char* name;
  int frames;
  uint64_t fnv1a;  // of the 1x PNG bytes the panel has always shipped
};

const PanelPicture kPanelPictures[] = {
    {101, "resources/img/Thr.png", 121, 0x058bb4d0470bf50dull},
    {102, "resources/img/Atk.png", 61, 0x9040319f2fcd93abull},
    {103, "resources/img/bg.png", 1, 0x0f9ac0c05eb97b3dull},
    {104, "resources/img/Rel.png", 61, 0x45dc8c9ed4cae80aull},
    {105, "resources/img/vu.png", 101, 0xce01bf2d429af839ull},
    {106, "resources/img/Out.png", 121, 0x058bb4d0470bf50dull},
    {107, "resources/img/by.png", 2, 0x21f91061ca450a22ull},
    {108, "resources/img/Mix.png", 61, 0x330f7cd7a095f394ull},
    {109, "resources/img/Hpf.png", 61, 0x45dc8c9ed4cae80aull},
    {110, "resources/img/SC.png", 2, 0x97b25fb1340ccf62ull},
};

uint64_t Fnv1a(const unsigned char* bytes, size_t length) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
  return hash;
}

using Bitmap = std::unique_ptr<LICE_IBitmap>;

// Channel c (0 blue .. 2 red, 3 alpha) of a pixel, colours multiplied by alpha (0..255), so
// that the colour of transparent pixels, which means nothing, plays no part in a comparison.
double Premultiplied(LICE_IBitmap& bitmap, int x, int y, int c) {
  const LICE_pixel pixel = bitmap.GetPixels()[y * bitmap.GetStride() + x];
  const double alpha = double(pixel >> 24);
  const double value = double((pixel >> (8 * c)) & 0xff);
  return c == 3 ? alpha : value * alpha / 255.0;
}

// How the 2x picture, averaged 2:1 over 2 x 2 boxes, differs from the 1x picture moved by
// (dx, dy) pixels: the mean difference over all channels, and the share of pixels with a
// channel off by more than a fifth of the range. Only the area both pictures cover counts.
struct Difference {
  double mean = 0.0;
  double outliers = 0.0;
};

Difference CompareHalved(LICE_IBitmap& doubled, LICE_IBitmap& single, int dx, int dy) {
  const int width = std::min(single.GetWidth(), doubled.GetWidth() / 2);
  const int height = std::min(single.GetHeight(), doubled.GetHeight() / 2);
  double total = 0.0;
  long long pixels = 0, outliers = 0;
  for (int y = 0; y < height; ++y) {
    const int sy = y + dy;
    if (sy < 0 || sy >= single.GetHeight()) continue;
    for (int x = 0; x < width; ++x) {
      const int sx = x + dx;
      if (sx < 0 || sx >= single.GetWidth()) continue;
      double worst = 0.0;
      for (int c = 0; c < 4; ++c) {
        const double box =
            (Premultiplied(doubled, 2 * x, 2 * y, c) + Premultiplied(doubled, 2 * x + 1, 2 * y, c) +
             Premultiplied(doubled, 2 * x, 2 * y + 1, c) +
             Premultiplied(doubled, 2 * x + 1, 2 * y + 1, c)) /
            4.0;
        const double difference = std::fabs(box - Premultiplied(single, sx, sy, c));
        total += difference;
        if (difference > worst) worst = difference;
      }
      ++pixels;
      if (worst > 51.0) ++outliers;
    }
  }
  Difference result;
  if (pixels > 0) {
    result.mean = total / double(4 * pixels);
    result.outliers = double(outliers) / double(pixels);
  }
  return result;
}

}  // namespace

TEST(DoubleResolutionPictures, EveryPanelPictureHasATwiceSizedPartner) {
  for (const PanelPicture& picture : kPanelPictures) {
    SCOPED_TRACE(picture.name);
    EXPECT_EQ(DoubleResolutionPictureId(picture.id), picture.id + kDoubleResolutionIdOffset);
    Bitmap single(LoadEmbeddedPicture(picture.id, picture.name));
    Bitmap doubled(LoadDoubleResolutionPicture(picture.id, picture.name));
    ASSERT_TRUE(single);
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->GetWidth(), 2 * single->GetWidth());
    EXPECT_EQ(doubled->GetHeight(), 2 * single->GetHeight());
    // Frames stack without a remainder at both resolutions, so frame i lines up with frame i.
    EXPECT_EQ(single->GetHeight() % picture.frames, 0);
  }
}

TEST(DoubleResolutionPictures, OnlyOneTimesPicturesHaveAPartner) {
  EXPECT_EQ(DoubleResolutionPictureId(0), 0);
  EXPECT_EQ(DoubleResolutionPictureId(-101), 0);
  EXPECT_EQ(DoubleResolutionPictureId(100), 0);
  EXPECT_EQ(DoubleResolutionPictureId(111), 0);
  EXPECT_EQ(DoubleResolutionPictureId(999), 0);
  EXPECT_EQ(DoubleResolutionPictureId(0x7fffffff), 0);
  for (const PanelPicture& picture : kPanelPictures) {
    EXPECT_EQ(DoubleResolutionPictureId(picture.id + kDoubleResolutionIdOffset), 0) << picture.name;
  }
  EXPECT_EQ(LoadDoubleResolutionPicture(999, "resources/img/bg.png"), nullptr);
  EXPECT_EQ(LoadDoubleResolutionPicture(103, "resources/img/bg.bmp"), nullptr);
  EXPECT_EQ(LoadDoubleResolutionPicture(203, "resources/img/2x/bg.png"), nullptr);
}

TEST(DoubleResolutionPictures, OneTimesPicturesAreTheBytesTheyAlwaysWere) {
  for (const PanelPicture& picture : kPanelPictures) {
    const unsigned char* bytes = nullptr;
    size_t length = 0;
    ASSERT_TRUE(FindEmbeddedPicture(picture.id, &bytes, &length)) << picture.name;
    EXPECT_EQ(Fnv1a(bytes, length), picture.fnv1a) << picture.name;
  }
}

// Text, thin lines and edges land on whole pixels differently at the two resolutions, so
// single pixels may differ a lot; a wrong picture, a frame out of step or a drawing moved by a
// pixel shows as a larger mean, many outliers, or a 1x picture that matches better moved.
TEST(DoubleResolutionPictures, HalvedTwoTimesPictureLooksLikeTheOneTimesPicture) {
  for (const PanelPicture& picture : kPanelPictures) {
    SCOPED_TRACE(picture.name);
    Bitmap single(LoadEmbeddedPicture(picture.id, picture.name));
    Bitmap doubled(LoadDoubleResolutionPicture(picture.id, picture.name));
    ASSERT_TRUE(single && doubled);
    ASSERT_EQ(doubled->GetWidth(), 2 * single->GetWidth());
    ASSERT_EQ(doubled->GetHeight(), 2 * single->GetHeight());
    const Difference aligned = CompareHalved(*doubled, *single, 0, 0);
    EXPECT_LT(aligned.mean, 4.0);
    EXPECT_LT(aligned.outliers, 0.03);
    const int shifts[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& shift : shifts) {
      const Difference moved = CompareHalved(*doubled, *single, shift[0], shift[1]);
      EXPECT_LT(aligned.mean, moved.mean)
          << "1x moved by (" << shift[0] << ", " << shift[1] << ") matches as well or better";
    }
  }
}

// The comparison itself must tell pictures apart: the 2x background against the 1x panel
// moved by two pixels, and a 2x trimmer against a lamp, are far off.
TEST(DoubleResolutionPictures, ComparisonRejectsAMovedOrWrongPicture) {
  Bitmap background(LoadEmbeddedPicture(103, "bg.png"));
  Bitmap background2x(LoadDoubleResolutionPicture(103, "bg.png"));
  ASSERT_TRUE(background && background2x);
  const Difference moved = CompareHalved(*background2x, *background, 2, 0);
  EXPECT_GT(moved.mean, 2.0 * CompareHalved(*background2x, *background, 0, 0).mean);

  Bitmap lamp(LoadEmbeddedPicture(107, "by.png"));
  Bitmap trimmer2x(LoadDoubleResolutionPicture(108, "Mix.png"));
  ASSERT_TRUE(lamp && trimmer2x);
  const Difference wrong = CompareHalved(*trimmer2x, *lamp, 0, 0);
  EXPECT_TRUE(wrong.mean >= 4.0 || wrong.outliers >= 0.03) << wrong.mean << " " << wrong.outliers;
}
