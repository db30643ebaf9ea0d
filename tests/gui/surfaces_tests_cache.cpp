// Surfaces, the process-wide bitmap cache and the embedded panel pictures.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "gui/BitmapCache.h"
#include "gui/EmbeddedPictures.h"
#include "gui/IBitmapStrip.h"
#include "gui/LICE_MemBitmap.h"
#include "gui/LICE_SysBitmap.h"

namespace {

bool AlignedTo64(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer) % 64 == 0; }

// Counts its calls and answers a fresh 2 x 3 surface, or null when told to fail.
struct CountingLoader {
  int calls = 0;
  bool fail = false;
  BitmapLoader Loader() {
    return [this](int, const char*) -> LICE_IBitmap* {
      ++calls;
      if (fail) return nullptr;
      auto* bitmap = new LICE_MemBitmap;
      bitmap->Resize(2, 3);
      return bitmap;
    };
  }
};

}  // namespace

TEST(MemBitmap, StartsEmptyAndPadsRowsToFourPixels) {
  LICE_MemBitmap bitmap;
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_FALSE(bitmap.IsBottomUp());
  EXPECT_EQ(bitmap.GetDeviceContext(), nullptr);
  EXPECT_TRUE(bitmap.Resize(5, 2));
  EXPECT_EQ(bitmap.GetStride(), 8);
  EXPECT_EQ(bitmap.GetHeight(), 2);
  EXPECT_TRUE(AlignedTo64(bitmap.GetPixels()));
  EXPECT_EQ(bitmap.AllocatedBytes(), 8 * 2 * 4);
  EXPECT_FALSE(bitmap.Resize(5, 2));
}

TEST(MemBitmap, GrowsByAQuarterMoreAndKeepsItsBufferWhenShrinking) {
  LICE_MemBitmap bitmap;
  bitmap.Resize(4, 4);  // 64 bytes
  bitmap.Resize(8, 8);  // needs 256: reserves 256 + 64
  EXPECT_EQ(bitmap.AllocatedBytes(), 320);
  EXPECT_TRUE(AlignedTo64(bitmap.GetPixels()));
  EXPECT_TRUE(bitmap.Resize(4, 2));
  EXPECT_EQ(bitmap.AllocatedBytes(), 320);
  EXPECT_EQ(bitmap.GetStride(), 4);
}

TEST(MemBitmap, ZeroOrImpossibleSizesLeaveNoPixels) {
  LICE_MemBitmap bitmap;
  bitmap.Resize(3, 3);
  EXPECT_TRUE(bitmap.Resize(3, 0));
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetHeight(), 0);
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_TRUE(bitmap.Resize(2000000000, 2000000000));
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_TRUE(bitmap.Resize(-4, 3));
  EXPECT_EQ(bitmap.GetWidth(), 0);
}

TEST(SysBitmap, PadsRowsAndReusesALargerAllocation) {
  LICE_SysBitmap bitmap(10, 6);
  ASSERT_NE(bitmap.GetPixels(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 10);
  EXPECT_EQ(bitmap.GetStride(), 12);
#ifdef _WIN32
  EXPECT_NE(bitmap.GetDeviceContext(), nullptr);
#endif
  LICE_pixel* pixels = bitmap.GetPixels();
  pixels[12 * 5 + 9] = 0x12345678;  // the last pixel must be writable
  EXPECT_FALSE(bitmap.Resize(10, 6));
  EXPECT_TRUE(bitmap.Resize(7, 3));
  EXPECT_EQ(bitmap.GetPixels(), pixels);
  EXPECT_EQ(bitmap.GetStride(), 12);
  EXPECT_TRUE(bitmap.Resize(13, 6));
  EXPECT_EQ(bitmap.GetStride(), 16);
  ASSERT_NE(bitmap.GetPixels(), nullptr);
}

TEST(SysBitmap, EmptySizeHasNoPixels) {
  LICE_SysBitmap bitmap(4, 4);
  EXPECT_FALSE(bitmap.Resize(0, 0));
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 0);
  LICE_SysBitmap never;
  EXPECT_EQ(never.GetPixels(), nullptr);
}

// The cache is process-wide: each test uses its own resource ids.
TEST(BitmapCache, OneSurfacePerIdWhateverTheName) {
  CountingLoader loader;
  LICE_IBitmap* first = LookUpOrLoadBitmap(9001, "a.png", loader.Loader());
  LICE_IBitmap* second = LookUpOrLoadBitmap(9001, "a.png", loader.Loader());
  LICE_IBitmap* renamed = LookUpOrLoadBitmap(9001, "other.png", loader.Loader());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(second, first);
  EXPECT_EQ(renamed, first);
  EXPECT_EQ(loader.calls, 1);
  LICE_IBitmap* another = LookUpOrLoadBitmap(9002, "a.png", loader.Loader());
  EXPECT_NE(another, first);
  EXPECT_EQ(loader.calls, 2);
}

TEST(BitmapCache, FailedLoadAnswersNullAndIsRetried) {
  CountingLoader loader;
  loader.fail = true;
  EXPECT_EQ(LookUpOrLoadBitmap(9003, "x.png", loader.Loader()), nullptr);
  loader.fail = false;
  LICE_IBitmap* loaded = LookUpOrLoadBitmap(9003, "x.png", loader.Loader());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(LookUpOrLoadBitmap(9003, "x.png", loader.Loader()), loaded);
  EXPECT_EQ(loader.calls, 2);
  EXPECT_EQ(LookUpOrLoadBitmap(9004, "x.png", BitmapLoader()), nullptr);
}

TEST(BitmapCache, StripTakesItsSizeFromTheSurface) {
  CountingLoader loader;
  const IBitmapStrip strip(LookUpOrLoadBitmap(9005, "s.png", loader.Loader()), 3);
  EXPECT_EQ(strip.width, 2);
  EXPECT_EQ(strip.height, 3);
  EXPECT_EQ(strip.frameCount, 3);
  EXPECT_FALSE(strip.framesSideBySide);
  EXPECT_EQ(IBitmapStrip(strip.surface, 0).frameCount, 1);
}

TEST(EmbeddedPictures, UnknownIdOrWrongExtensionAnswersNull) {
  EXPECT_EQ(LoadEmbeddedPicture(999, "resources/img/bg.png"), nullptr);
  EXPECT_EQ(LoadEmbeddedPicture(-5, "resources/img/bg.png"), nullptr);
  EXPECT_EQ(LoadEmbeddedPicture(103, "resources/img/bg.jpg"), nullptr);
  EXPECT_EQ(LoadEmbeddedPicture(103, nullptr), nullptr);
}

TEST(EmbeddedPictures, PanelPicturesDecodeToTheirSizes) {
  struct Picture {
    int id;
    const char* name;
    int width, height;
  };
  const Picture pictures[] = {
      {101, "resources/img/Thr.png", 117, 14157}, {102, "resources/img/Atk.png", 26, 1525},
      {103, "resources/img/bg.png", 796, 472},    {104, "resources/img/Rel.png", 25, 1586},
      {105, "resources/img/vu.png", 171, 10100},  {106, "resources/img/Out.png", 117, 14157},
      {107, "resources/img/by.png", 49, 98},      {108, "resources/img/Mix.png", 25, 1525},
      {109, "resources/img/Hpf.png", 25, 1586},   {110, "resources/img/SC.png", 51, 98},
  };
  for (const Picture& picture : pictures) {
    std::unique_ptr<LICE_IBitmap> bitmap(LoadEmbeddedPicture(picture.id, picture.name));
    ASSERT_TRUE(bitmap) << picture.name;
    EXPECT_EQ(bitmap->GetWidth(), picture.width) << picture.name;
    EXPECT_EQ(bitmap->GetHeight(), picture.height) << picture.name;
  }
}
