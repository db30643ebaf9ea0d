#include "gui/IBitmapControl.h"

#include "gui/StripFrame.h"

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx,
                               const IBitmapStrip& strip, int blendMethod)
    : IControl(plug, StripFrameRect(strip, x, y), paramIdx, blendMethod), mStrip(strip) {}

IBitmapControl::~IBitmapControl() = default;

bool IBitmapControl::Draw(IGraphics* graphics) {
  return DrawStripFrame(graphics, mStrip, Rect(), Value(), Blend());
}

int IBitmapControl::CurrentFrame() const { return StripFrameForValue(mStrip, Value()); }
