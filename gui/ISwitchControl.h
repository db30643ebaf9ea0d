#pragma once
// ISwitchControl: a picture that steps to its next frame on every click and wraps to the first
// after the last; the "Bypass" and "Sidechain" lamps. A double click counts as one more click.

#include "gui/IBitmapControl.h"

class ISwitchControl : public IBitmapControl {
 public:
  ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip);
  ~ISwitchControl() override;

  void MouseDown(int x, int y, const IMouseState& mods) override;
  void MouseDoubleClick(int x, int y, const IMouseState& mods) override;

 private:
  void Step();
};
