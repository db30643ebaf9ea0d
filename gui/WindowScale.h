#pragma once
// WindowScale: the geometry between editor pixels, in which the panel, its controls and their
// gestures are laid out, and window pixels, which the editor's window shows `scale` of per
// editor pixel. Window lengths and edges are editor ones times the scale, halves rounded up,
// so that edges which meet in the panel meet in the window. A window pixel belongs to the
// editor pixel whose window rectangle holds it.

#include "gui/IGraphicsTypes.h"

// The scales the editor's window takes: 100 % to 300 % of the panel.
constexpr double kSmallestWindowScale = 1.0;
constexpr double kLargestWindowScale = 3.0;
// Pixels per inch of a screen the panel is drawn for at 1.
constexpr int kUnscaledDpi = 96;

// A finite scale in [kSmallestWindowScale, kLargestWindowScale].
bool IsWindowScale(double scale);

// The scale for a screen of dpi pixels per inch: dpi / 96 limited to the window scales, and 1
// for a screen that reports no dpi (0 or less).
double WindowScaleForDpi(int dpi);

// An editor coordinate or length in window pixels: floor(v * scale + 0.5).
int WindowCoordinate(int v, double scale);
IRectangle WindowRectangle(const IRectangle& r, double scale);

// The editor coordinate whose window pixels include v: the largest x with
// WindowCoordinate(x, scale) <= v. scale must be a window scale.
int EditorCoordinate(int v, double scale);
// The smallest editor rectangle whose window rectangle covers r (the empty rectangle for an
// empty r).
IRectangle EditorRectangleCovering(const IRectangle& r, double scale);
