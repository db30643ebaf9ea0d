#include "gui/LICE_BlitStrip.h"

#include <algorithm>

#include "gui/IBlend.h"
#include "gui/LICE_BlendBlit.h"

void LICE_BlitStrip(LICE_IBitmap* drawSurface, const IRectangle& drawRect,
                    const IBitmapStrip& strip, const IRectangle& destRect, int srcX, int srcY,
                    const IBlend* blend) {
  IRectangle r;
  if (RectanglesOverlap(destRect, drawRect)) {
    r.L = std::max(destRect.L, drawRect.L);
    r.T = std::max(destRect.T, drawRect.T);
    r.R = std::min(destRect.R, drawRect.R);
    r.B = std::min(destRect.B, drawRect.B);
  }
  srcX += r.L - destRect.L;
  srcY += r.T - destRect.T;
  IRectangle source;
  source.L = srcX;
  source.T = srcY;
  source.R = srcX + (r.R - r.L);
  source.B = srcY + (r.B - r.T);
  LICE_BlendBlit(drawSurface, strip.surface, r.L, r.T, &source, BlitWeightForBlend(blend),
                 BlitModeForBlend(blend));
}
