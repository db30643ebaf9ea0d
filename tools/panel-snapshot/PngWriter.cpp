#include "PngWriter.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "gui/LICE_IBitmap.h"

namespace {

// Surface words are 0xAARRGGBB; PNG rows want R, G, B, A bytes.
std::vector<png_byte> RgbaRow(LICE_IBitmap* surface, int y) {
  const int width = surface->GetWidth();
  const LICE_pixel* row = surface->GetPixels() + size_t(y) * size_t(surface->GetStride());
  std::vector<png_byte> bytes(size_t(width) * 4);
  for (int x = 0; x < width; ++x) {
    bytes[size_t(x) * 4 + 0] = png_byte(LICE_GetR(row[x]));
    bytes[size_t(x) * 4 + 1] = png_byte(LICE_GetG(row[x]));
    bytes[size_t(x) * 4 + 2] = png_byte(LICE_GetB(row[x]));
    bytes[size_t(x) * 4 + 3] = png_byte(LICE_GetA(row[x]));
  }
  return bytes;
}

// libpng reports errors by long jump; kept apart so no C++ object lives across setjmp.
bool WriteRows(FILE* file, LICE_IBitmap* surface, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(surface->GetWidth()), png_uint_32(surface->GetHeight()), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(LICE_IBitmap* surface, const char* path) {
  if (!surface || !surface->GetPixels() || surface->GetWidth() < 1 || surface->GetHeight() < 1) {
    return false;
  }
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_bytep> rowPointers;
  for (int y = 0; y < surface->GetHeight(); ++y) rows.push_back(RgbaRow(surface, y));
  for (std::vector<png_byte>& row : rows) rowPointers.push_back(row.data());
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = WriteRows(file, surface, rowPointers.data());
  return std::fclose(file) == 0 && written;
}
