#include "gui/WindowScale.h"

#include <cmath>

bool IsWindowScale(double scale) {
  return std::isfinite(scale) && scale >= kSmallestWindowScale && scale <= kLargestWindowScale;
}

double WindowScaleForDpi(int dpi) {
  if (dpi <= 0) return 1.0;
  const double scale = double(dpi) / double(kUnscaledDpi);
  if (scale < kSmallestWindowScale) return kSmallestWindowScale;
  return scale > kLargestWindowScale ? kLargestWindowScale : scale;
}

int WindowCoordinate(int v, double scale) { return int(std::floor(double(v) * scale + 0.5)); }

IRectangle WindowRectangle(const IRectangle& r, double scale) {
  if (r.Empty()) return r;
  return IRectangle{WindowCoordinate(r.L, scale), WindowCoordinate(r.T, scale),
                    WindowCoordinate(r.R, scale), WindowCoordinate(r.B, scale)};
}

int EditorCoordinate(int v, double scale) {
  // An estimate from the division, settled against the forward mapping so that the answer is
  // exact where a window edge falls on a half.
  int x = int(std::floor((double(v) + 0.5) / scale));
  while (WindowCoordinate(x + 1, scale) <= v) ++x;
  while (WindowCoordinate(x, scale) > v) --x;
  return x;
}

IRectangle EditorRectangleCovering(const IRectangle& r, double scale) {
  if (r.Empty() || r.R <= r.L || r.B <= r.T) return IRectangle{};
  return IRectangle{EditorCoordinate(r.L, scale), EditorCoordinate(r.T, scale),
                    EditorCoordinate(r.R - 1, scale) + 1, EditorCoordinate(r.B - 1, scale) + 1};
}
