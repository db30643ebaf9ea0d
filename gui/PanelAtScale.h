#pragma once
// PanelAtScale: the editor's whole panel drawn off-screen for a screen that shows `scale`
// physical pixels per editor pixel. The result is the editor's size in window pixels at that
// scale (gui/WindowScale.h), drawn by the editor's own draw pass (IGraphics::DrawControlsInto):
//  - at exactly 1, the pixels a paint of the whole editor leaves on its draw surface;
//  - at exactly 2, every control drawn from its 2x picture, pixel for pixel;
//  - at any other scale, the 2x panel area-averaged to the size (LICE_AreaResample), so
//    the work is one 2x pass and one resample per scale; callers keep the result until the
//    scale changes.
// Drawing does not mark controls clean or touch the editor's draw surface.

#include "gui/LICE_MemBitmap.h"

class IGraphics;

// Largest scale accepted; far beyond any screen, it only keeps the surfaces' sizes sane.
constexpr double kLargestPanelScale = 8.0;

// The panel at scale, or null (the caller owns any answer) when scale is not a finite number
// in (0, kLargestPanelScale], a surface cannot be allocated, or the pass is incomplete (a
// picture without its 2x picture, or text, at a scale other than 1).
LICE_MemBitmap* DrawPanelAtScale(IGraphics* editor, double scale);
