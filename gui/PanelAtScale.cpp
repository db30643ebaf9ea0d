#include "gui/PanelAtScale.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "gui/IGraphics.h"
#include "gui/LICE_AreaResample.h"
#include "gui/WindowScale.h"

namespace {

std::unique_ptr<LICE_MemBitmap> NewSurface(int width, int height) {
  auto surface = std::make_unique<LICE_MemBitmap>();
  if (width < 1 || height < 1) return nullptr;
  surface->Resize(width, height);
  if (surface->GetWidth() != width || surface->GetHeight() != height) return nullptr;
  // Pixel contents start undefined; whatever the controls leave uncovered stays transparent.
  LICE_pixel* pixels = surface->GetPixels();
  std::fill(pixels, pixels + size_t(surface->GetStride()) * size_t(height), LICE_pixel(0));
  return surface;
}

}  // namespace

LICE_MemBitmap* DrawPanelAtScale(IGraphics* editor, double scale) {
  if (!editor || !std::isfinite(scale) || scale <= 0.0 || scale > kLargestPanelScale) {
    return nullptr;
  }
  const int width = WindowCoordinate(editor->Width(), scale);
  const int height = WindowCoordinate(editor->Height(), scale);
  // 1 and 2 are drawn directly, so their pixels are exactly the pictures'.
  const int direct = scale == 1.0 ? 1 : 2;
  std::unique_ptr<LICE_MemBitmap> drawn =
      NewSurface(editor->Width() * direct, editor->Height() * direct);
  if (!drawn || !editor->DrawControlsInto(drawn.get(), direct)) return nullptr;
  if (scale == 1.0 || scale == 2.0) return drawn.release();
  std::unique_ptr<LICE_MemBitmap> resampled = NewSurface(width, height);
  if (!resampled || !LICE_AreaResample(resampled.get(), drawn.get())) return nullptr;
  return resampled.release();
}
