#pragma once
// IKnobControl: the drag and wheel behaviour of a knob. Dragging by the control's own height
// (vertical) or width (horizontal) moves the value by 1 / gearing; Shift or Ctrl make it ten
// times finer. Every step is clamped and sent to the core at once, so moving back after
// overshooting an end responds immediately. Drawing is left to subclasses.

#include "gui/IControl.h"

class IKnobControl : public IControl {
 public:
  enum Direction { kVertical = 0, kHorizontal = 1 };

  IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction,
               double gearing);

  void MouseDrag(int x, int y, int dX, int dY, const IMouseState& mods) override;
  void MouseWheel(int x, int y, const IMouseState& mods, int clicks) override;

  int DragDirection() const { return mDirection; }
  double Gearing() const { return mGearing; }

 private:
  int32_t mDirection;
  double mGearing;
};
