#pragma once
// IKnobMultiControl: a knob drawn as one frame of a picture strip (value 0 the first frame,
// 1 the last); the six knobs of the panel. Double click restores the first value the control
// was shown; a right click asks for a value prompt when prompts are enabled.

#include "gui/IBitmapStrip.h"
#include "gui/IKnobControl.h"

class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                    int direction = kVertical, double gearing = 4.0);
  ~IKnobMultiControl() override;

  bool Draw(IGraphics* graphics) override;

  const IBitmapStrip& Strip() const { return mStrip; }
  // The frame (1-based) the current value selects.
  int CurrentFrame() const;

 private:
  IBitmapStrip mStrip;  // the surface belongs to the bitmap cache
};
