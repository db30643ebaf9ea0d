#pragma once
// X11ErrorTrap: routes the X protocol errors of one display connection to a flag while it
// lives, instead of to Xlib's default handler, which ends the process. The editor talks to
// windows the host owns and may destroy at any moment, so every Xlib call on the editor's
// connection runs inside one of these. Errors of other connections (the host's own) still
// reach the handler that was installed before.
//
// The handler is process-wide in Xlib, so traps must be used on one thread (the host's
// user-interface thread); they may nest.

struct _XDisplay;

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(_XDisplay* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits until the server has handled every request sent so far; true when none failed
  // while this trap was active.
  bool Sync();
  bool Failed() const { return mFailed; }

 private:
  friend struct X11ErrorRouting;

  _XDisplay* mDisplay;
  bool mFailed = false;
  X11ErrorTrap* mOuter;  // the trap active when this one began
};
