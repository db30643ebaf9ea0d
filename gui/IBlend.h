#pragma once
// IBlend translation: how a control's blend record (IBlend, declared with the editor's plain
// records) maps onto the weight and mode of LICE_BlendBlit. No blend at all means "compose by
// source alpha at full weight", which is what every picture with transparency wants.

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_BlendBlit.h"

// Replace -> plain copy; Additive and Dodge -> their ops by source alpha; Over and anything
// else -> copy by source alpha.
inline int BlitModeForBlend(const IBlend* blend) {
  if (!blend) return kBlitCopy | kBlitUseSourceAlpha;
  switch (blend->method) {
    case Replace:
      return kBlitCopy;
    case Additive:
      return kBlitAdd | kBlitUseSourceAlpha;
    case Dodge:
      return kBlitDodge | kBlitUseSourceAlpha;
    default:
      return kBlitCopy | kBlitUseSourceAlpha;
  }
}

inline float BlitWeightForBlend(const IBlend* blend) { return blend ? blend->weight : 1.0f; }
