#pragma once
// StripFrame: the geometry shared by every control that shows one frame of a picture strip:
// the rectangle a frame covers at a given position, which frame a normalized value selects,
// and drawing that frame through the editor's clipped blit.

#include "gui/IGraphicsTypes.h"

struct IBitmapStrip;
class IGraphics;

// (x, y, x + frame width, y + frame height).
IRectangle StripFrameRect(const IBitmapStrip& strip, int x, int y);

// Frame (1-based) for a value in 0..1: nearest frame, limited to 1..frameCount.
int StripFrameForValue(const IBitmapStrip& strip, double value);

// Offset of a frame's first row (stacked) or column (side by side) inside the strip.
int StripFrameOffset(const IBitmapStrip& strip, int frame);

// Blits the frame that value selects into rect; answers what the blit answers.
bool DrawStripFrame(IGraphics* graphics, const IBitmapStrip& strip, const IRectangle& rect,
                    double value, const IBlend& blend);
