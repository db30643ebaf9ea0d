#pragma once
// ReferencePanel: the Brask panel rendered off-screen in the test program itself (the plug-in
// class over the test adaptor, its editor never opened), as the reference for what an editor
// embedded through a built module must show on screen. It also tells where the controls are.

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/IGraphicsTypes.h"

class Brask;

class ReferencePanel {
 public:
  ReferencePanel();
  ~ReferencePanel();

  int Width() const;
  int Height() const;
  // The whole panel with every parameter at the given normalized value, as 0xRRGGBB pixels.
  std::vector<uint32_t> Render(const std::vector<double>& normalized);
  // The panel with every parameter at its default.
  std::vector<uint32_t> RenderDefaults();
  // The panel at a window scale, WindowCoordinate(Width(), scale) pixels wide: at 1 and 2 the
  // panel drawn off-screen at that scale, elsewhere what the editor paints at that scale.
  std::vector<uint32_t> RenderAtScale(const std::vector<double>& normalized, double scale);
  IRectangle ControlRect(int controlIdx);
  void ControlCentre(int controlIdx, int* x, int* y);

 private:
  std::unique_ptr<Brask> mPlug;
};

// Control indices of the panel, in the layout's order.
constexpr int kPanelBypassSwitch = 1;
constexpr int kPanelInputKnob = 3;
constexpr int kPanelAttackKnob = 5;
constexpr int kPanelMeter = 9;
constexpr int kPanelParamCount = 8;

// Number of pixels that differ outside the ignored rectangle, for pictures of the given width;
// -1 when the sizes differ or there are no pixels.
int PixelDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width,
                     const IRectangle& ignored = {});
