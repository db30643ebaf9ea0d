// PNG decoding: every colour type and depth comes out as B, G, R, A words; damaged or foreign
// data answers null without crashing. The test images are written here with libpng's writer.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gui/LICE_BlitStrip.h"
#include "gui/LICE_DecodePng.h"
#include "gui/LazyPngSurface.h"

namespace {

using Bytes = std::vector<unsigned char>;

// What to write: raw PNG rows (packed samples, 16-bit samples big-endian) and the chunks
// that shape their meaning.
struct PngImage {
  int width = 1;
  int height = 1;
  int bitDepth = 8;
  int colorType = PNG_COLOR_TYPE_RGBA;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS for palette images
  bool hasTransparentGrey = false;
  png_uint_16 transparentGrey = 0;  // tRNS for grey images
  std::vector<Bytes> rows;
};

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

bool WriteInto(png_structp png, png_infop info, const PngImage& image, Bytes* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendToBytes, FlushNothing);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) {
    png_set_PLTE(png, info, image.palette.data(), int(image.palette.size()));
  }
  if (!image.paletteAlpha.empty()) {
    png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()), nullptr);
  }
  if (image.hasTransparentGrey) {
    png_color_16 grey = {};
    grey.gray = image.transparentGrey;
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  std::vector<png_bytep> rows;
  for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

Bytes WritePng(const PngImage& image) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool written = info && WriteInto(png, info, image, &out);
  png_destroy_write_struct(&png, &info);
  if (!written) out.clear();
  return out;
}

std::unique_ptr<LICE_MemBitmap> Decode(const Bytes& bytes) {
  return std::unique_ptr<LICE_MemBitmap>(LICE_DecodePngMemory(bytes.data(), bytes.size()));
}

LICE_pixel PixelAt(LICE_MemBitmap* bitmap, int x, int y) {
  return bitmap->GetPixels()[y * bitmap->GetStride() + x];
}

// One row of RGBA samples, four bytes per pixel.
PngImage RgbaImage(int width, int height) {
  PngImage image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    Bytes row;
    for (int x = 0; x < width; ++x) {
      row.insert(row.end(),
                 {png_byte(10 * x), png_byte(20 * y), png_byte(x + y), png_byte(100 + x)});
    }
    image.rows.push_back(row);
  }
  return image;
}

}  // namespace

TEST(PngDecoding, RgbaBecomesArgbWordsAtTheSurfaceStride) {
  const PngImage image = RgbaImage(5, 3);
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->GetWidth(), 5);
  EXPECT_EQ(bitmap->GetHeight(), 3);
  EXPECT_EQ(bitmap->GetStride(), 8);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(PixelAt(bitmap.get(), x, y), LICE_Argb(100 + x, 10 * x, 20 * y, x + y))
          << x << "," << y;
    }
  }
  // In memory the bytes are blue, green, red, alpha.
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(bitmap->GetPixels());
  EXPECT_EQ(bytes[4 * 1 + 0], 1);    // blue of (1, 0)
  EXPECT_EQ(bytes[4 * 1 + 2], 10);   // red
  EXPECT_EQ(bytes[4 * 1 + 3], 101);  // alpha
}

TEST(PngDecoding, RgbWithoutAlphaIsOpaque) {
  PngImage image;
  image.width = 2;
  image.colorType = PNG_COLOR_TYPE_RGB;
  image.rows = {{1, 2, 3, 250, 251, 252}};
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), LICE_Argb(255, 1, 2, 3));
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), LICE_Argb(255, 250, 251, 252));
}

TEST(PngDecoding, PaletteExpandsToOpaqueColours) {
  PngImage image;
  image.width = 3;
  image.colorType = PNG_COLOR_TYPE_PALETTE;
  image.palette = {{200, 0, 0}, {0, 150, 0}, {1, 2, 3}};
  image.rows = {{2, 0, 1}};
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), LICE_Argb(255, 1, 2, 3));
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), LICE_Argb(255, 200, 0, 0));
  EXPECT_EQ(PixelAt(bitmap.get(), 2, 0), LICE_Argb(255, 0, 150, 0));
}

TEST(PngDecoding, PackedPaletteWithTransparencyGetsItsAlpha) {
  PngImage image;
  image.width = 3;
  image.bitDepth = 4;
  image.colorType = PNG_COLOR_TYPE_PALETTE;
  image.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  image.paletteAlpha = {0, 128};  // the third entry has none: opaque
  image.rows = {{0x01, 0x20}};    // indices 0, 1, 2
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), LICE_Argb(0, 10, 20, 30));
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), LICE_Argb(128, 40, 50, 60));
  EXPECT_EQ(PixelAt(bitmap.get(), 2, 0), LICE_Argb(255, 70, 80, 90));
}

TEST(PngDecoding, GreyLevelsOfEveryDepthBecomeGreyRgb) {
  struct Case {
    int bitDepth;
    Bytes row;
    std::vector<unsigned> levels;  // expected 8-bit levels, one per pixel
  };
  const std::vector<Case> cases = {
      {1, {0xA0}, {255, 0, 255, 0}},
      {2, {0x1B}, {0, 85, 170, 255}},
      {4, {0x3F, 0x80}, {51, 255, 136, 0}},
      {8, {0x00, 0x40, 0xC3, 0xFF}, {0, 0x40, 0xC3, 0xFF}},
      {16, {0xAB, 0xCD, 0x00, 0xFF, 0x12, 0x34, 0xFF, 0xFF}, {0xAB, 0x00, 0x12, 0xFF}},
  };
  for (const Case& c : cases) {
    PngImage image;
    image.width = 4;
    image.bitDepth = c.bitDepth;
    image.colorType = PNG_COLOR_TYPE_GRAY;
    image.rows = {c.row};
    auto bitmap = Decode(WritePng(image));
    ASSERT_TRUE(bitmap) << "bit depth " << c.bitDepth;
    for (int x = 0; x < 4; ++x) {
      const unsigned g = c.levels[size_t(x)];
      EXPECT_EQ(PixelAt(bitmap.get(), x, 0), LICE_Argb(255, g, g, g))
          << "bit depth " << c.bitDepth << ", pixel " << x;
    }
  }
}

TEST(PngDecoding, GreyWithAlphaKeepsItsAlpha) {
  PngImage image;
  image.width = 2;
  image.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  image.rows = {{100, 50, 7, 255}};
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), LICE_Argb(50, 100, 100, 100));
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), LICE_Argb(255, 7, 7, 7));
}

TEST(PngDecoding, TransparentGreyLevelGetsAlphaZero) {
  PngImage image;
  image.width = 2;
  image.colorType = PNG_COLOR_TYPE_GRAY;
  image.hasTransparentGrey = true;
  image.transparentGrey = 7;
  image.rows = {{7, 8}};
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(LICE_GetA(PixelAt(bitmap.get(), 0, 0)), 0u);
  EXPECT_EQ(PixelAt(bitmap.get(), 1, 0), LICE_Argb(255, 8, 8, 8));
}

TEST(PngDecoding, SixteenBitColourKeepsTheHighBytes) {
  PngImage image;
  image.width = 1;
  image.bitDepth = 16;
  image.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  image.rows = {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00, 0x80, 0x7F}};
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), LICE_Argb(0x80, 0xAB, 0x12, 0xFF));
}

TEST(PngDecoding, InterlacedImageDecodesLikeAPlainOne) {
  PngImage image = RgbaImage(9, 7);
  image.interlaced = true;
  auto bitmap = Decode(WritePng(image));
  ASSERT_TRUE(bitmap);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 9; ++x) {
      EXPECT_EQ(PixelAt(bitmap.get(), x, y), LICE_Argb(100 + x, 10 * x, 20 * y, x + y));
    }
  }
}

TEST(PngDecodingFailures, TruncatedDataAnswersNull) {
  // Noise does not compress, so the cut falls inside the image data.
  PngImage noise = RgbaImage(16, 16);
  uint32_t seed = 12345;
  for (Bytes& row : noise.rows) {
    for (unsigned char& byte : row) byte = (seed = seed * 1664525u + 1013904223u) >> 24;
  }
  const Bytes whole = WritePng(noise);
  ASSERT_GT(whole.size(), 16u * 16u * 4u);
  const Bytes half(whole.begin(), whole.begin() + long(whole.size() / 2));
  EXPECT_EQ(Decode(half), nullptr);
}

TEST(PngDecodingFailures, EveryPrefixIsHandledWithoutCrashing) {
  const Bytes whole = WritePng(RgbaImage(6, 5));
  for (size_t length = 0; length < whole.size(); ++length) {
    std::unique_ptr<LICE_MemBitmap> bitmap(LICE_DecodePngMemory(whole.data(), length));
    // Reading past the end yields zeros: a decode that gets through has the full size.
    if (bitmap) {
      EXPECT_EQ(bitmap->GetWidth(), 6) << "prefix " << length;
      EXPECT_EQ(bitmap->GetHeight(), 5) << "prefix " << length;
    }
  }
}

TEST(PngDecodingFailures, ForeignOrShortDataAnswersNull) {
  Bytes bytes = WritePng(RgbaImage(2, 2));
  EXPECT_EQ(LICE_DecodePngMemory(nullptr, 100), nullptr);
  EXPECT_EQ(LICE_DecodePngMemory(bytes.data(), 7), nullptr);
  bytes[1] = 'Q';
  EXPECT_EQ(Decode(bytes), nullptr);
  const Bytes signatureOnly(bytes.begin(), bytes.begin() + 8);
  EXPECT_EQ(Decode(signatureOnly), nullptr);
}

TEST(PngDecodingFailures, CorruptHeaderAnswersNull) {
  Bytes bytes = WritePng(RgbaImage(2, 2));
  bytes[16] = 0x7f;  // width's top byte: far beyond any limit, and the CRC no longer matches
  EXPECT_EQ(Decode(bytes), nullptr);
}

// Embedded pictures are opened from their header and decoded when first drawn.
TEST(LazyPictures, SizeFromTheHeaderPixelsOnFirstUse) {
  const Bytes bytes = WritePng(RgbaImage(5, 3));
  std::unique_ptr<LazyPngSurface> picture(LazyPngSurface::Open(bytes.data(), bytes.size()));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->GetWidth(), 5);
  EXPECT_EQ(picture->GetHeight(), 3);
  EXPECT_FALSE(picture->IsDecoded());
  auto decoded = Decode(bytes);
  ASSERT_EQ(picture->GetStride(), decoded->GetStride());
  EXPECT_TRUE(picture->IsDecoded());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(picture->GetPixels()[y * picture->GetStride() + x], PixelAt(decoded.get(), x, y));
    }
  }
}

TEST(LazyPictures, NoHeaderNoPicture) {
  const Bytes valid = WritePng(RgbaImage(2, 2));
  struct Case {
    const char* what;
    size_t byte;  // set to value
    unsigned char value;
    size_t length;
  };
  const Case cases[] = {{"signature", 1, 'Q', valid.size()},
                        {"chunk type", 13, 'X', valid.size()},
                        {"zero height", 23, 0, valid.size()},
                        {"cut inside the header", 0, 0x89, 23}};
  for (const Case& c : cases) {
    Bytes bytes = valid;
    bytes[c.byte] = c.value;
    EXPECT_EQ(LazyPngSurface::Open(bytes.data(), c.length), nullptr) << c.what;
  }
}

// A picture whose header is whole but whose data is not: laid out at its size, then drawn as
// a surface that failed, which leaves every pixel under it alone.
TEST(LazyPictures, DamagedDataDrawsNothingAfterTheFirstUse) {
  Bytes bytes = WritePng(RgbaImage(4, 4));
  bytes.resize(40);
  std::unique_ptr<LazyPngSurface> picture(LazyPngSurface::Open(bytes.data(), bytes.size()));
  ASSERT_TRUE(picture);
  const IBitmapStrip strip(picture.get(), 1);
  EXPECT_EQ(strip.width, 4);
  LICE_MemBitmap target;
  target.Resize(8, 8);
  std::fill_n(target.GetPixels(), 8 * target.GetStride(), LICE_Argb(255, 1, 2, 3));
  LICE_BlitStrip(&target, IRectangle{0, 0, 8, 8}, strip, IRectangle{0, 0, 4, 4}, 0, 0, nullptr);
  EXPECT_EQ(picture->GetPixels(), nullptr);
  EXPECT_EQ(picture->GetWidth(), 0);
  EXPECT_EQ(picture->GetHeight(), 0);
  for (int i = 0; i < 8 * target.GetStride(); ++i) {
    ASSERT_EQ(target.GetPixels()[i], LICE_Argb(255, 1, 2, 3)) << i;
  }
}

TEST(PngFiles, DecodesAFileAndRejectsAMissingOne) {
  const std::string path = ::testing::TempDir() + "surfaces_tests_picture.png";
  const Bytes bytes = WritePng(RgbaImage(3, 2));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  std::unique_ptr<LICE_MemBitmap> bitmap(LICE_DecodePngFile(path.c_str()));
  std::remove(path.c_str());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelAt(bitmap.get(), 2, 1), LICE_Argb(102, 20, 20, 3));
  EXPECT_EQ(LICE_DecodePngFile((path + ".missing").c_str()), nullptr);
  EXPECT_EQ(LICE_DecodePngFile(nullptr), nullptr);
}

TEST(PngFiles, NamesAreRecognisedByExtensionInAnyCase) {
  EXPECT_TRUE(LICE_IsPngFileName("resources/img/bg.png"));
  EXPECT_TRUE(LICE_IsPngFileName("KNOB.PnG"));
  EXPECT_FALSE(LICE_IsPngFileName("knob.pngx"));
  EXPECT_FALSE(LICE_IsPngFileName("knob.jpg"));
  EXPECT_FALSE(LICE_IsPngFileName("png"));
  EXPECT_FALSE(LICE_IsPngFileName(nullptr));
  EXPECT_STREQ(kPngFileTypeDescription, "PNG files (*.PNG)");
}
