#pragma once
// IBitmapStrip: the picture record a control carries — a surface holding one or more frames
// stacked vertically (or side by side) plus the frame count. A plain value, copied freely: the
// surface belongs to the process-wide bitmap cache, never to the strip or the control.

#include <cstdint>

#include "gui/LICE_IBitmap.h"

struct IBitmapStrip {
  LICE_IBitmap* surface = nullptr;  // not owned; may be null when the picture failed to load
  int32_t width = 0;                // of the whole image
  int32_t height = 0;               // of the whole image
  int32_t frameCount = 1;           // at least 1
  bool framesSideBySide = false;

  IBitmapStrip() = default;
  // Reads the size from the surface (0 x 0 without one); a frame count below 1 counts as 1.
  IBitmapStrip(LICE_IBitmap* picture, int frames)
      : surface(picture),
        width(picture ? picture->GetWidth() : 0),
        height(picture ? picture->GetHeight() : 0),
        frameCount(frames < 1 ? 1 : frames) {}
};
