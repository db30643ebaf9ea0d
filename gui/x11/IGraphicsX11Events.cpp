// IGraphicsX11's event side: drains the connection's queue without waiting and maps X's
// pointer, wheel and key events onto the editor's event entries, as the Windows editor maps
// its window messages. Positions arrive in window pixels and go on in editor pixels.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "gui/x11/IGraphicsX11.h"
#include "gui/x11/X11ErrorTrap.h"

namespace {

// X has no double-click event: a second left press this soon and this close is one.
constexpr unsigned long kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;

constexpr unsigned kWheelUp = 4, kWheelDown = 5;

IMouseState ModsFromState(unsigned state) {
  IMouseState mods;
  mods.left = (state & Button1Mask) != 0;
  mods.right = (state & Button3Mask) != 0;
  mods.shift = (state & ShiftMask) != 0;
  mods.control = (state & ControlMask) != 0;
  mods.alt = (state & Mod1Mask) != 0;
  return mods;
}

// The state bit of a pointer button; 0 for buttons without one the editor reads.
unsigned ButtonMask(unsigned button) {
  switch (button) {
    case Button1:
      return Button1Mask;
    case Button2:
      return Button2Mask;
    case Button3:
      return Button3Mask;
    default:
      return 0;
  }
}

}  // namespace

int IGraphicsX11::KeyCodeFromKeysym(unsigned long keysym) {
  switch (keysym) {
    case XK_space:
      return KeySpace;
    case XK_Up:
      return KeyArrowUp;
    case XK_Down:
      return KeyArrowDown;
    case XK_Left:
      return KeyArrowLeft;
    case XK_Right:
      return KeyArrowRight;
    default:
      break;
  }
  if (keysym >= XK_0 && keysym <= XK_9) return KeyDigit0 + int(keysym - XK_0);
  if (keysym >= XK_a && keysym <= XK_z) return KeyA + int(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return KeyA + int(keysym - XK_A);
  return -1;
}

void IGraphicsX11::ProcessEvents() {
  if (!mDisplay) return;
  {
    X11ErrorTrap trap(mDisplay);
    // A host may close the editor from inside a call the events lead to (an edit gesture).
    while (mDisplay && XPending(mDisplay) > 0) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      Dispatch(event);
    }
  }
  PaintExposed();
}

void IGraphicsX11::Dispatch(XEvent& event) {
  if (event.xany.window != mWindow) return;
  switch (event.type) {
    case Expose:
      AddExposed(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height);
      break;
    case ButtonPress:
      OnButtonPress(event);
      break;
    case ButtonRelease:
      OnButtonRelease(event);
      break;
    case MotionNotify:
      OnMotion(event);
      break;
    case KeyPress:
      OnKey(event, true);
      break;
    case KeyRelease:
      OnKey(event, false);
      break;
    case LeaveNotify:
      // Leaving for a grab or for a child window is no leaving.
      if (mTrackingLeave && event.xcrossing.mode == NotifyNormal &&
          event.xcrossing.detail != NotifyInferior) {
        mTrackingLeave = false;
        HandleMouseOut();
      }
      break;
    case DestroyNotify:
      // The host destroyed its window, and ours with it.
      mWindowAlive = false;
      mHasCapture = false;
      break;
    default:
      break;
  }
}

void IGraphicsX11::OnButtonPress(XEvent& event) {
  const XButtonEvent& button = event.xbutton;
  if (button.button == kWheelUp || button.button == kWheelDown) {
    HandleWheel(EditorX(button.x), EditorY(button.y), ModsFromState(button.state),
                button.button == kWheelUp ? 1 : -1);
    return;
  }
  const unsigned mask = ButtonMask(button.button);
  if (!mask) return;
  // The modifiers name the buttons held, this one included.
  const IMouseState mods = ModsFromState(button.state | mask);
  XSetInputFocus(mDisplay, mWindow, RevertToParent, button.time);
  if (button.button == Button1 && mHasLastPress && button.time - mLastPressTime <= kDoubleClickMs &&
      std::abs(button.x - mLastPressX) <= kDoubleClickSlop &&
      std::abs(button.y - mLastPressY) <= kDoubleClickSlop) {
    mHasLastPress = false;
    HandleDoubleClick(EditorX(button.x), EditorY(button.y), mods);
    // The press grabbed the pointer; a control that took the double click as a click holds it.
    mHasCapture = CaptureIndex() >= 0;
    return;
  }
  mHasLastPress = button.button == Button1;
  mLastPressTime = button.time;
  mLastPressX = button.x;
  mLastPressY = button.y;
  mHasCapture = true;
  HandleMouseDown(EditorX(button.x), EditorY(button.y), mods);
}

void IGraphicsX11::OnButtonRelease(XEvent& event) {
  const XButtonEvent& button = event.xbutton;
  const unsigned mask = ButtonMask(button.button);
  if (!mask) return;  // wheel notches come as press and release: the press was the notch
  mHasCapture = false;
  HandleMouseUp(EditorX(button.x), EditorY(button.y), ModsFromState(button.state & ~mask));
}

void IGraphicsX11::OnMotion(XEvent& event) {
  const XMotionEvent& motion = event.xmotion;
  const IMouseState mods = ModsFromState(motion.state);
  if (mods.left || mods.right) {
    if (mHasCapture) HandleMouseDrag(EditorX(motion.x), EditorY(motion.y), mods);
    return;
  }
  if (HandleMouseOver(EditorX(motion.x), EditorY(motion.y), mods)) mTrackingLeave = true;
}

void IGraphicsX11::OnKey(XEvent& event, bool press) {
  if (press) {
    const int key = KeyCodeFromKeysym(XLookupKeysym(&event.xkey, 0));
    if (key >= 0 && HandleKeyDown(EditorX(event.xkey.x), EditorY(event.xkey.y), key)) return;
  }
  ForwardToTopLevel(event);
}

// Keys the editor does not use go to the host's top-level window, as typed there.
void IGraphicsX11::ForwardToTopLevel(XEvent& event) {
  if (!mDisplay) return;
  Window window = mWindow, root = 0, parent = 0, top = mParent;
  Window* children = nullptr;
  unsigned count = 0;
  while (XQueryTree(mDisplay, window, &root, &parent, &children, &count)) {
    if (children) XFree(children);
    if (!parent || parent == root) break;
    top = window = parent;
  }
  if (!top || top == mWindow) return;
  XEvent forwarded = event;
  forwarded.xkey.window = top;
  forwarded.xkey.subwindow = None;
  XSendEvent(mDisplay, top, True, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
             &forwarded);
  XFlush(mDisplay);
}
