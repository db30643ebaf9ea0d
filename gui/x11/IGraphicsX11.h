#pragma once
// IGraphicsX11: the editor on Linux, under X11. It opens the editor as a child window inside
// the X window the host provides, over a connection to the X server of its own, repaints the
// dirty controls on a periodic tick by copying the draw surface into the window, and turns
// the window's pointer and key events into the editor's events, mapped as on Windows.
//
// It never waits for the X server: the host's loop drives it, either calling ProcessEvents
// when the connection's descriptor is readable and Tick from a timer of TimerPeriodMs (the
// VST 3 run loop), or calling Idle often (VST 2 idle requests). Everything runs on the host's
// user-interface thread. Without a display (no X server) no window opens and nothing else
// changes. Dialogs, menus and folders answer as the portable editor does.
//
// Xlib types stay out of this header: the plug-in's layout includes it.

#include <chrono>

#include "gui/IGraphicsPortable.h"

struct _XDisplay;
struct _XGC;
union _XEvent;

class IGraphicsX11 : public IGraphicsPortable {
 public:
  IGraphicsX11(IPlugBase* plug, int width, int height, int frameRate);
  ~IGraphicsX11() override;

  // ---from IGraphics---
  bool PresentRegion(const IRectangle& editorRect) override;
  void Resize(int width, int height) override;
  bool IsWindowOpen() override { return mWindow != 0; }
  const char* DrawingApiName() override { return "Xlib"; }
  // parent is the host's X window id, passed as a pointer-sized value.
  void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  void* GetNativeWindow() override;
  void HidePointer() override;
  void RestorePointer() override;
  void ApplyWindowScale() override;

  // ---driven by the host's loop---
  // The X connection's file descriptor while a window is open, else -1.
  int ConnectionFd() const;
  // Handles every event that has arrived, without waiting for more.
  void ProcessEvents();
  // Paints the controls that need it (and what the server asked to have repainted).
  void Tick();
  // For hosts without a timer: events, and a tick when a period has passed since the last.
  void Idle();

  // Tick period of every editor window: trunc(1000 / frame rate of the last one opened).
  static int TimerPeriodMs();
  static int OpenWindowCount();
  // The editor's key code (IKeyCode) for an X key symbol, or -1 when the key is not mapped.
  static int KeyCodeFromKeysym(unsigned long keysym);

 private:
  bool ConnectAndCreate(unsigned long parent, const IRectangle& geometry);
  bool ChooseVisual();
  IRectangle ReopenGeometry(unsigned long newParent);
  void Disconnect();
  void Dispatch(_XEvent& event);
  void OnButtonPress(_XEvent& event);
  void OnButtonRelease(_XEvent& event);
  void OnMotion(_XEvent& event);
  void OnKey(_XEvent& event, bool press);
  void ForwardToTopLevel(_XEvent& event);
  void AddExposed(int x, int y, int width, int height);
  void PaintExposed();
  void ResizeWindow(int oldWidth, int oldHeight);
  void ResizeParent(int dw, int dh);

  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mParent = 0;
  unsigned long mColormap = 0;  // created for a non-default visual, else 0
  unsigned long mBlankCursor = 0;
  void* mVisual = nullptr;  // Visual*
  int mDepth = 0;
  int mWindowWidth = 0;  // the size the window was given, in window pixels
  int mWindowHeight = 0;
  _XGC* mGc = nullptr;
  bool mWindowAlive = false;  // false once the server destroyed it (with the host's window)
  bool mHasCapture = false;   // between a press and its release (the implicit pointer grab)
  bool mTrackingLeave = false;
  bool mHasExposed = false;
  IRectangle mExposed;
  // The last left press, to recognise a double click.
  bool mHasLastPress = false;
  unsigned long mLastPressTime = 0;
  int mLastPressX = 0;
  int mLastPressY = 0;
  std::chrono::steady_clock::time_point mLastTick;
};
