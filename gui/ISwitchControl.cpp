#include "gui/ISwitchControl.h"

ISwitchControl::ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx,
                               const IBitmapStrip& strip)
    : IBitmapControl(plug, x, y, paramIdx, strip, Over) {}

ISwitchControl::~ISwitchControl() = default;

void ISwitchControl::MouseDown(int, int, const IMouseState&) { Step(); }

void ISwitchControl::MouseDoubleClick(int, int, const IMouseState&) { Step(); }

void ISwitchControl::Step() {
  const int frames = Strip().frameCount;
  const double step = frames > 1 ? 1.0 / double(frames - 1) : 1.0;
  double value = Value() + step;
  // The tolerance keeps the last frame reachable despite the rounding of repeated steps.
  if (value > 1.001) value = 0.0;
  StoreValue(value);
  MarkDirty(true);
}
