#pragma once
// PNG decoding with libpng into LICE_MemBitmap surfaces. Whatever the PNG's colour type and
// depth (palette, grey, grey + alpha, RGB, RGBA; 1 to 16 bits), the result is 8-bit B, G, R, A
// pixels, not premultiplied; images without alpha come out opaque. Any libpng error, a bad
// signature or a failed allocation answers null; nothing is reported.

#include <cstddef>

#include "gui/LICE_MemBitmap.h"

// Decodes PNG bytes. Reading past the end of the data yields zero bytes rather than an
// error, so truncated data usually fails as a corrupt stream. The caller owns the answer.
LICE_MemBitmap* LICE_DecodePngMemory(const void* bytes, size_t length);

// Reads the image size from the signature and the header chunk alone (the first 24 bytes),
// without decoding anything; false when they are not a PNG header or the size is one the
// decoder refuses (0, or above a million pixels either way).
bool LICE_PngSize(const void* bytes, size_t length, int* width, int* height);

// Decodes a PNG file; the path is UTF-8. The caller owns the answer.
LICE_MemBitmap* LICE_DecodePngFile(const char* path);

// True when the name ends in ".png" in any letter case.
bool LICE_IsPngFileName(const char* name);

// Type description for file dialogs that offer PNG pictures.
constexpr const char* kPngFileTypeDescription = "PNG files (*.PNG)";
