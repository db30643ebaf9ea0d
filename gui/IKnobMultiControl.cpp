#include "gui/IKnobMultiControl.h"

#include "gui/StripFrame.h"

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx,
                                     const IBitmapStrip& strip, int direction, double gearing)
    : IKnobControl(plug, StripFrameRect(strip, x, y), paramIdx, direction, gearing),
      mStrip(strip) {}

IKnobMultiControl::~IKnobMultiControl() = default;

bool IKnobMultiControl::Draw(IGraphics* graphics) {
  return DrawStripFrame(graphics, mStrip, Rect(), Value(), Blend());
}

int IKnobMultiControl::CurrentFrame() const { return StripFrameForValue(mStrip, Value()); }
