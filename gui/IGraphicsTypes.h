#pragma once
// Plain records shared by the editor, its controls and the window layer: rectangles in editor
// pixels, mouse modifier flags, colours, the text style every control carries, the key codes
// that keyboard handling passes to controls, and the blend record a control draws with.

#include <cstdint>

// A rectangle in editor pixels from the top left: L and T belong to it, R and B do not.
// All four zero means "empty", whatever the other rectangles around it are.
struct IRectangle {
  int32_t L = 0;
  int32_t T = 0;
  int32_t R = 0;
  int32_t B = 0;

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int32_t W() const { return R - L; }
  int32_t H() const { return B - T; }
  bool operator==(const IRectangle& other) const {
    return L == other.L && T == other.T && R == other.R && B == other.B;
  }
  bool operator!=(const IRectangle& other) const { return !(*this == other); }
};

// True when both rectangles are non-empty and touch; the right and bottom edges count as
// touching, which is how the draw pass and the blit clip decide overlap.
inline bool RectanglesOverlap(const IRectangle& a, const IRectangle& b) {
  return !a.Empty() && !b.Empty() && a.R >= b.L && a.L < b.R && a.B >= b.T && a.T < b.B;
}

// The smallest rectangle holding both (empty or not: callers decide what an empty one adds).
inline IRectangle RectangleUnion(const IRectangle& a, const IRectangle& b) {
  return IRectangle{a.L < b.L ? a.L : b.L, a.T < b.T ? a.T : b.T, a.R > b.R ? a.R : b.R,
                    a.B > b.B ? a.B : b.B};
}

// Mouse buttons and modifier keys at the time of an event.
struct IMouseState {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// A colour, each channel 0..255.
struct IArgb {
  int32_t A = 255;
  int32_t R = 0;
  int32_t G = 0;
  int32_t B = 0;
};

class LICE_IFont;

// How a control's text is drawn and entered; every control starts with these defaults.
struct ITextStyle {
  enum Style { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum Align { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
  enum Quality {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };

  char font[32] = "Verdana";
  int32_t size = 12;
  IArgb colour{255, 0, 0, 0};
  IArgb entryBackground{255, 255, 255, 255};
  IArgb entryText{255, 0, 0, 0};
  int32_t style = kStyleNormal;
  int32_t align = kAlignCenter;
  int32_t orientation = 0;  // degrees
  int32_t quality = kQualityDefault;
  LICE_IFont* cachedFont = nullptr;  // not owned; the font cache owns it
};

// Keys a control can be asked to handle.
enum IKeyCode {
  KeySpace = 0,
  KeyArrowUp = 1,
  KeyArrowDown = 2,
  KeyArrowLeft = 3,
  KeyArrowRight = 4,
  KeyDigit0 = 5,
  KeyDigit9 = 14,
  KeyA = 15,
  KeyZ = 40,
};

// How a control's pictures combine with what is already on the draw surface.
enum IBlendMethod { Over = 0, Replace = 1, Additive = 2, Dodge = 3 };

struct IBlend {
  int32_t method = Over;
  float weight = 1.0f;
};
