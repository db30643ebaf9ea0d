#pragma once
// ResampledFrames: frames of picture strips resampled to the size a window scale gives them,
// each made the first time it is drawn and kept until the scale changes, so that a window at
// a scale such as 1.5 pays for resampling once per frame instead of on every paint.

#include <map>
#include <memory>
#include <tuple>

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_MemBitmap.h"

class ResampledFrames {
 public:
  // The part of picture inside area, area-averaged to width x height; null when the surface
  // cannot be allocated or the area does not lie inside the picture.
  LICE_IBitmap* Frame(LICE_IBitmap* picture, const IRectangle& area, int width, int height);
  // Frees every frame; pictures may be unloaded after this.
  void Forget() { mFrames.clear(); }
  size_t Count() const { return mFrames.size(); }

 private:
  using Key = std::tuple<LICE_IBitmap*, int, int, int, int, int, int>;
  std::map<Key, std::unique_ptr<LICE_MemBitmap>> mFrames;
};
