#pragma once
// PngWriter: saves a 32-bit surface as an 8-bit RGBA PNG file with libpng.

class LICE_IBitmap;

// Writes the whole surface to path; false when the surface has no pixels or writing failed.
bool WritePng(LICE_IBitmap* surface, const char* path);
