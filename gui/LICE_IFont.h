#pragma once
// LICE_IFont: a font that draws or measures strings on a drawing surface. The editor's text
// routine (IGraphics::DrawStyledText) talks to fonts only through this interface; the font
// cache hands out the concrete fonts (LICE_CachedFont on Windows).
//
// Colours are 0xAARRGGBB words. Rectangles are editor pixels, right and bottom exclusive.

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_IBitmap.h"

class LICE_IFont {
 public:
  // Flags of RenderText.
  enum TextFlags {
    kTextCenter = 0x1,              // centre each line horizontally in the rectangle
    kTextRight = 0x2,               // right-align each line
    kTextVCenter = 0x4,             // centre the text block vertically
    kTextBottom = 0x8,              // align the text block to the bottom
    kTextNoClip = 0x100,            // draw outside the rectangle as well
    kTextMeasure = 0x400,           // only measure: the rectangle becomes the text's extent
    kTextTranslucent = 0x40000000,  // the ink is not opaque
  };

  LICE_IFont() = default;
  LICE_IFont(const LICE_IFont&) = delete;
  LICE_IFont& operator=(const LICE_IFont&) = delete;

  // ---virtual operations, in table order---
  virtual ~LICE_IFont() = default;
  virtual void AttachFontHandle(void* handle, int flags) = 0;
  virtual LICE_pixel SetInk(LICE_pixel colour) = 0;  // answers the previous colour
  virtual LICE_pixel SetPaper(LICE_pixel colour) = 0;
  virtual LICE_pixel SetAccent(LICE_pixel colour) = 0;
  virtual int SetPaperMode(int mode) = 0;
  virtual void SetBlend(int mode, float alpha) = 0;
  // Draws (or with kTextMeasure measures) length bytes of UTF-8 text (all of it when length is
  // negative) inside *rect; answers the height of the text.
  virtual int RenderText(LICE_IBitmap* surface, const char* text, int length, IRectangle* rect,
                         int flags) = 0;
  virtual LICE_pixel GetInk() = 0;
  virtual void* GetFontHandle() = 0;
  virtual int GetRowHeight() = 0;
  // Draws one character with its cell's top left at (x, y), inside clip when one is given.
  virtual bool RenderGlyph(LICE_IBitmap* surface, int code, int x, int y,
                           const IRectangle* clip) = 0;
};
