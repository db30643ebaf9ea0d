#pragma once
// ComposedFrames: at window scales other than 1, where every frame covers four or more times
// the pixels it has at 1, the window pixels a control's frame leaves over the background are
// kept once drawn, so that showing that frame again (a meter swinging back, a knob turned
// back) is one copy instead of the background's copy and a blend. Only controls that share
// their area with the background alone are composed this way; the editor decides that.
// A byte budget bounds what is kept: beyond it frames are drawn as usual.

#include <cstddef>
#include <map>
#include <memory>
#include <tuple>

#include "gui/IGraphicsTypes.h"
#include "gui/LICE_MemBitmap.h"

class ComposedFrames {
 public:
  // What a blit draws: the picture, the frame's offset in it, the editor rectangle it goes
  // to, and how it is blended.
  struct Blit {
    const LICE_IBitmap* picture;
    int srcX, srcY;
    IRectangle dest;
    int mode;
    float weight;
  };

  // The kept window pixels of that blit, or null.
  LICE_IBitmap* Find(const Blit& blit) const;
  // Keeps the pixels of area on surface as the blit's composition, unless the budget is
  // spent or the area does not lie on the surface.
  void Keep(const Blit& blit, LICE_IBitmap* surface, const IRectangle& area);
  void Forget();
  size_t Count() const { return mFrames.size(); }

  static constexpr size_t kBudgetBytes = size_t(96) << 20;

 private:
  using Key = std::tuple<const LICE_IBitmap*, int, int, int, int, int, int, int, float>;
  static Key KeyOf(const Blit& blit);

  std::map<Key, std::unique_ptr<LICE_MemBitmap>> mFrames;
  size_t mBytes = 0;
};
