#pragma once
// IBitmapControl: shows the frame of a picture strip that its value selects (value 0 the first
// frame, 1 the last). The editor uses it for the background (one frame, no parameter) and for
// the gain-reduction meter (fed by the audio thread, no parameter).

#include "gui/IBitmapStrip.h"
#include "gui/IControl.h"

class IBitmapControl : public IControl {
 public:
  // Covers one frame of the strip with its top left corner at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                 int blendMethod);
  ~IBitmapControl() override;

  bool Draw(IGraphics* graphics) override;

  const IBitmapStrip& Strip() const { return mStrip; }
  // The frame (1-based) the current value selects.
  int CurrentFrame() const;

 private:
  IBitmapStrip mStrip;  // the surface belongs to the bitmap cache
};
