#include "gui/LICE_DecodePng.h"

#include <png.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// What the decoder owns while libpng may still jump out of it; freed by the caller.
struct DecodeState {
  LICE_MemBitmap* bitmap = nullptr;
  png_bytep* rows = nullptr;
};

// The memory the read callback walks through: requests past the end read as zeros.
struct MemoryCursor {
  const unsigned char* next;
  size_t left;
  size_t zerosGiven;  // bytes handed out past the end
};

// Zeros past the end are enough to end any stream libpng can still decode; more are only ever
// asked for to skip or check a chunk whose claimed length runs far past the data, which costs
// seconds for a length near 2^31 and fails in the end anyway.
constexpr size_t kMostZerosPastEnd = size_t(1) << 20;

[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }

void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void ReadFromCursor(png_structp png, png_bytep out, png_size_t count) {
  MemoryCursor* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
  std::memset(out, 0, count);
  const size_t taken = count < cursor->left ? count : cursor->left;
  cursor->zerosGiven += count - taken;
  if (cursor->zerosGiven > kMostZerosPastEnd) png_error(png, "data ends early");
  if (taken == 0) return;
  std::memcpy(out, cursor->next, taken);
  cursor->next += taken;
  cursor->left -= taken;
}

// Asks libpng for four bytes per pixel in the order alpha, red, green, blue.
void RequestArgbRows(png_structp png, png_infop info) {
  png_uint_32 width, height;
  int bitDepth, colorType, interlace;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (colorType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
  }
}

// Decoded A, R, G, B bytes become pixel words (B, G, R, A in memory).
void ArgbBytesToPixels(LICE_MemBitmap* bitmap) {
  const int width = bitmap->GetWidth();
  for (int row = 0; row < bitmap->GetHeight(); ++row) {
    LICE_pixel* pixel = bitmap->GetPixels() + int64_t(row) * bitmap->GetStride();
    for (int column = 0; column < width; ++column, ++pixel) {
      unsigned char argb[4];
      std::memcpy(argb, pixel, 4);
      *pixel = LICE_Argb(argb[0], argb[1], argb[2], argb[3]);
    }
  }
}

// Runs libpng on an input already attached to png. Any libpng error lands back here and
// answers false; whatever was allocated stays in state for the caller to free.
bool ReadImage(png_structp png, png_infop info, DecodeState* state) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  RequestArgbRows(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width < 1 || height < 1 || width > 0x7fffffffu || height > 0x7fffffffu) return false;
  state->bitmap = new (std::nothrow) LICE_MemBitmap;
  if (!state->bitmap) return false;
  state->bitmap->Resize(int(width), int(height));
  if (state->bitmap->GetWidth() != int(width) || state->bitmap->GetHeight() != int(height)) {
    return false;
  }
  state->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!state->rows) return false;
  LICE_IBitmap* target = state->bitmap;
  const int64_t stride = target->GetStride();
  for (png_uint_32 r = 0; r < height; ++r) {
    const int64_t stored = target->IsBottomUp() ? int64_t(height) - 1 - r : int64_t(r);
    state->rows[r] = reinterpret_cast<png_bytep>(target->GetPixels() + stored * stride);
  }
  png_read_image(png, state->rows);
  return true;
}

// Creates the libpng structures, lets attach connect the input, decodes, and cleans up.
template <typename Attach>
LICE_MemBitmap* Decode(Attach attach) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  attach(png);
  DecodeState state;
  const bool decoded = ReadImage(png, info, &state);
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(state.rows);
  if (!decoded) {
    delete state.bitmap;
    return nullptr;
  }
  ArgbBytesToPixels(state.bitmap);
  return state.bitmap;
}

std::FILE* OpenForReading(const char* path) {
#ifdef _WIN32
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (units > 0) {
    std::wstring wide(size_t(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, &wide[0], units) > 0) {
      return _wfopen(wide.c_str(), L"rb");
    }
  }
#endif
  return std::fopen(path, "rb");
}

}  // namespace

LICE_MemBitmap* LICE_DecodePngMemory(const void* bytes, size_t length) {
  if (!bytes || length < 8 || std::memcmp(bytes, kPngSignature, 8) != 0) return nullptr;
  MemoryCursor cursor{static_cast<const unsigned char*>(bytes), length, 0};
  return Decode([&cursor](png_structp png) { png_set_read_fn(png, &cursor, ReadFromCursor); });
}

bool LICE_PngSize(const void* bytes, size_t length, int* width, int* height) {
  constexpr size_t kHeaderEnd = 24;           // signature, chunk length, "IHDR", width, height
  constexpr uint32_t kLargestSide = 1000000;  // libpng's own default limit
  const unsigned char* b = static_cast<const unsigned char*>(bytes);
  if (!b || length < kHeaderEnd || std::memcmp(b, kPngSignature, 8) != 0) return false;
  auto bigEndian = [b](size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 |
           uint32_t(b[at + 3]);
  };
  if (bigEndian(8) != 13 || std::memcmp(b + 12, "IHDR", 4) != 0) return false;
  const uint32_t w = bigEndian(16), h = bigEndian(20);
  if (w < 1 || h < 1 || w > kLargestSide || h > kLargestSide) return false;
  *width = int(w);
  *height = int(h);
  return true;
}

LICE_MemBitmap* LICE_DecodePngFile(const char* path) {
  if (!path) return nullptr;
  std::FILE* file = OpenForReading(path);
  if (!file) return nullptr;
  LICE_MemBitmap* bitmap = Decode([file](png_structp png) { png_init_io(png, file); });
  std::fclose(file);
  return bitmap;
}

bool LICE_IsPngFileName(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot) return false;
  const char* extension = dot + 1;
  if (std::strlen(extension) != 3) return false;
  return std::tolower(static_cast<unsigned char>(extension[0])) == 'p' &&
         std::tolower(static_cast<unsigned char>(extension[1])) == 'n' &&
         std::tolower(static_cast<unsigned char>(extension[2])) == 'g';
}
