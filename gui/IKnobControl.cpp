#include "gui/IKnobControl.h"

IKnobControl::IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction,
                           double gearing)
    : IControl(plug, rect, paramIdx, Over), mDirection(direction), mGearing(gearing) {}

void IKnobControl::MouseDrag(int, int, int dX, int dY, const IMouseState& mods) {
  double gearing = mGearing;
  if (mods.shift || mods.control) gearing *= 10.0;
  const IRectangle& r = Rect();
  double value = Value();
  // T - B is minus the height, so moving the mouse up turns the knob up.
  if (mDirection == kVertical) {
    value += double(dY) / double(r.T - r.B) / gearing;
  } else {
    value += double(dX) / double(r.R - r.L) / gearing;
  }
  StoreValue(value);
  MarkDirty(true);
}

void IKnobControl::MouseWheel(int, int, const IMouseState& mods, int clicks) {
  const double notch = (mods.shift || mods.control) ? 0.001 : 0.01;
  StoreValue(Value() + double(clicks) * notch);
  MarkDirty(true);
}
