#pragma once
// The process-wide font cache: one font per (size, orientation, style, font name), created on
// the first drawing of a style and kept until the module is unloaded. Quality is not part of
// the key, so styles differing only in quality share the font created first.

#include "gui/IGraphicsTypes.h"

class LICE_IFont;

// The cached font for style, created when missing, and stored in style->cachedFont. Answers
// null (and leaves the style alone) when the platform cannot make the font; there is no
// platform font outside Windows.
LICE_IFont* FindCachedFont(ITextStyle* style);
