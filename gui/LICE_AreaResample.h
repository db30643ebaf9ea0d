#pragma once
// LICE_AreaResample: scales a whole picture to another size by area averaging. Every
// destination pixel is the mean of the source area it covers, each source pixel weighted by
// the share of it inside that area, with colours weighted by alpha so that the colour of
// transparent pixels does not bleed into their neighbours. Meant for work done once per size
// change (it uses floating point per pixel), such as fitting the 2x panel to another scale.

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_IBitmap.h"

// Fills all of dest (its current size) from all of src. False, with dest unchanged, when
// either surface has no pixels or a zero size, or both are the same surface.
bool LICE_AreaResample(LICE_IBitmap* dest, LICE_IBitmap* src);
// The same from the part of src inside srcArea, which must lie inside src and not be empty
// (false, with dest unchanged, otherwise): one frame of a picture strip, for instance.
bool LICE_AreaResample(LICE_IBitmap* dest, LICE_IBitmap* src, const IRectangle& srcArea);
