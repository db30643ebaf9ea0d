#include "gui/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>

// The process-wide side of the traps: the innermost live trap, and the handler that was
// installed before the outermost one began.
struct X11ErrorRouting {
  static X11ErrorTrap* active;
  static XErrorHandler previous;

  static int OnError(Display* display, XErrorEvent* error) {
    for (X11ErrorTrap* trap = active; trap; trap = trap->mOuter) {
      if (trap->mDisplay == display) {
        trap->mFailed = true;
        return 0;
      }
    }
    // Another connection's error: whoever handled errors before decides.
    return previous ? previous(display, error) : 0;
  }
};

X11ErrorTrap* X11ErrorRouting::active = nullptr;
XErrorHandler X11ErrorRouting::previous = nullptr;

X11ErrorTrap::X11ErrorTrap(_XDisplay* display)
    : mDisplay(display), mOuter(X11ErrorRouting::active) {
  XErrorHandler before = XSetErrorHandler(&X11ErrorRouting::OnError);
  if (!mOuter) X11ErrorRouting::previous = before;
  X11ErrorRouting::active = this;
}

X11ErrorTrap::~X11ErrorTrap() {
  X11ErrorRouting::active = mOuter;
  if (!mOuter) XSetErrorHandler(X11ErrorRouting::previous);
}

bool X11ErrorTrap::Sync() {
  if (mDisplay) XSync(mDisplay, False);
  return !mFailed;
}
