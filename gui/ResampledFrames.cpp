#include "gui/ResampledFrames.h"

#include "gui/LICE_AreaResample.h"

LICE_IBitmap* ResampledFrames::Frame(LICE_IBitmap* picture, const IRectangle& area, int width,
                                     int height) {
  if (!picture || width < 1 || height < 1) return nullptr;
  const Key key{picture, area.L, area.T, area.R, area.B, width, height};
  auto found = mFrames.find(key);
  if (found != mFrames.end()) return found->second.get();
  auto frame = std::make_unique<LICE_MemBitmap>();
  frame->Resize(width, height);
  if (frame->GetWidth() != width || frame->GetHeight() != height ||
      !LICE_AreaResample(frame.get(), picture, area)) {
    return nullptr;
  }
  return mFrames.emplace(key, std::move(frame)).first->second.get();
}
