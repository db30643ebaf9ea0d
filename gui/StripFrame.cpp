#include "gui/StripFrame.h"

#include "gui/IBitmapStrip.h"
#include "gui/IGraphics.h"

namespace {

int FrameCount(const IBitmapStrip& strip) { return strip.frameCount < 1 ? 1 : strip.frameCount; }

}  // namespace

IRectangle StripFrameRect(const IBitmapStrip& strip, int x, int y) {
  const int n = FrameCount(strip);
  const int frameWidth = strip.framesSideBySide ? strip.width / n : strip.width;
  const int frameHeight = strip.framesSideBySide ? strip.height : strip.height / n;
  return IRectangle{x, y, x + frameWidth, y + frameHeight};
}

int StripFrameForValue(const IBitmapStrip& strip, double value) {
  const int n = FrameCount(strip);
  if (n < 2) return 1;
  const double position = double(n - 1) * value + 0.5;
  // Compare before converting: a NaN or a huge value must not reach the integer conversion.
  if (!(position >= 0.0)) return 1;
  if (position >= double(n)) return n;
  const int frame = int(position) + 1;
  return frame > n ? n : frame;
}

int StripFrameOffset(const IBitmapStrip& strip, int frame) {
  const int n = FrameCount(strip);
  if (frame <= 1 || n < 2) return 0;
  const int extent = strip.framesSideBySide ? strip.width : strip.height;
  return int(double(extent) * double(frame - 1) / double(n) + 0.5);
}

bool DrawStripFrame(IGraphics* graphics, const IBitmapStrip& strip, const IRectangle& rect,
                    double value, const IBlend& blend) {
  const int offset = StripFrameOffset(strip, StripFrameForValue(strip, value));
  const int srcX = strip.framesSideBySide ? offset : 0;
  const int srcY = strip.framesSideBySide ? 0 : offset;
  return graphics->BlitBitmap(strip, rect, srcX, srcY, &blend);
}
