// The editor's text routine: draws or measures a string in a control's text style on the draw
// surface, through the font cache.

#include "gui/FontCache.h"
#include "gui/IGraphics.h"
#include "gui/LICE_IFont.h"

bool IGraphics::DrawStyledText(ITextStyle* style, const char* text, IRectangle* rect,
                               bool measure) {
  if (!text || !*text) return true;
  if (!style || !rect) return false;
  LICE_IFont* font = style->cachedFont ? style->cachedFont : FindCachedFont(style);
  if (!font) return false;
  const IArgb& c = style->colour;
  font->SetInk(LICE_Argb(unsigned(c.A), unsigned(c.R), unsigned(c.G), unsigned(c.B)));
  int flags = LICE_IFont::kTextNoClip;
  if (c.A != 255) flags |= LICE_IFont::kTextTranslucent;
  if (style->align == ITextStyle::kAlignCenter) flags |= LICE_IFont::kTextCenter;
  if (style->align == ITextStyle::kAlignRight) flags |= LICE_IFont::kTextRight;
  if (!measure) {
    // Fonts render at one size only: drawing at another scale leaves text out, and an
    // off-screen pass says so.
    if (PixelScale() != 1.0) {
      if (mPassTarget) mPassComplete = false;
      return true;
    }
    font->RenderText(DrawSurface(), text, -1, rect, flags);
    return true;
  }
  IRectangle extent;
  font->RenderText(DrawSurface(), text, -1, &extent, flags | LICE_IFont::kTextMeasure);
  const int w = extent.W();
  rect->B = rect->T + extent.H();
  switch (style->align) {
    case ITextStyle::kAlignCenter:
      rect->L = -(w / 2) - int(double(rect->L + rect->R) * -0.5);
      rect->R = rect->L + w;
      break;
    case ITextStyle::kAlignRight:
      rect->L = rect->R - w;
      break;
    default:
      rect->R = rect->L + w;
      break;
  }
  return true;
}
