#pragma once
// LICE_BlendBlit: the clipped, weighted rectangle transfer through which every picture reaches
// the editor's draw surface. The two paths the editor uses — a plain row copy (backgrounds) and
// a compose by source alpha (everything else) — follow a fixed integer arithmetic, rounding
// toward zero at each division by 256, so a frame always lands on the same bytes.

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_IBitmap.h"

// Low byte of a blit mode.
enum BlitOp {
  kBlitCopy = 0,
  kBlitAdd = 1,
  kBlitDodge = 2,
  kBlitMultiply = 3,
  kBlitOverlay = 4,
  kBlitHsvAdjust = 5,
  // 0xF0 and above copy one channel: source byte (mode & 3) into destination byte
  // ((mode >> 2) & 3), leaving the others.
  kBlitChannelCopy = 0xF0,
};

// Mode bit asking for the source pixel's alpha to scale the weight.
constexpr int kBlitUseSourceAlpha = 0x10000;

// Composes srcRect of src (the whole of src when srcRect is null) at (destX, destY) of dest.
// Parts outside either surface are clipped away; a negative destination position shifts the
// source window. Missing surfaces, surfaces without pixels and weight 0 draw nothing.
void LICE_BlendBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int destX, int destY,
                    const IRectangle* srcRect, float weight, int mode);
