#pragma once
// LICE_BlitStrip: draws part of a picture strip onto the editor's draw surface, clipped to the
// draw rectangle of the current paint pass — the work behind IGraphics::BlitBitmap.

#include "gui/IBitmapStrip.h"
#include "gui/IGraphicsTypes.h"
#include "gui/LICE_IBitmap.h"

// Blits the part of destRect that overlaps drawRect, taking pixels from strip.surface at
// (srcX, srcY) shifted by the same amount the clip moved the destination. Nothing is drawn
// when either rectangle is empty or they do not overlap. blend may be null (source alpha,
// full weight).
void LICE_BlitStrip(LICE_IBitmap* drawSurface, const IRectangle& drawRect,
                    const IBitmapStrip& strip, const IRectangle& destRect, int srcX, int srcY,
                    const IBlend* blend);
