#pragma once
// X11TestHost: the host side of an editor test under X11. It has a connection of its own to
// the X server, a mapped top-level window the editor is embedded in, synthetic pointer and
// key input through the XTEST extension, and screen reads of a window's pixels. Tests skip
// when there is no display or no XTEST.
//
// The editor runs on the same thread as the test: after sending input, a test pumps the
// editor (its events and ticks) until what it waits for has happened.

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <vector>

class X11TestHost {
 public:
  X11TestHost(int width = 900, int height = 600);
  ~X11TestHost();
  X11TestHost(const X11TestHost&) = delete;
  X11TestHost& operator=(const X11TestHost&) = delete;

  // False when no display or no XTEST: the test skips.
  bool Ready() const { return mReady; }
  Display* Dpy() const { return mDisplay; }
  Window TopLevel() const { return mTopLevel; }
  // The top-level window id as OpenEditorWindow, effEditOpen and attached take it.
  void* ParentHandle() const;

  // ---window queries (errors are counted, never fatal)---
  bool WindowExists(Window window);
  Window ParentOf(Window window);
  // Position of (x, y) of window on the root window.
  void RootPosition(Window window, int x, int y, int* rootX, int* rootY);
  void Geometry(Window window, int* x, int* y, int* width, int* height);
  // The window's pixels as 0xRRGGBB, row by row, from the screen.
  std::vector<uint32_t> Grab(Window window, int x, int y, int width, int height);
  int ErrorCount() const;

  // ---input, in window coordinates of target---
  void MoveTo(Window target, int x, int y);
  void Button(unsigned button, bool press);
  void Key(unsigned long keysym, bool press);
  void PointerOnRoot(int* rootX, int* rootY);
  // Keys that reached the top-level window since the last call.
  std::vector<XKeyEvent> TakeTopLevelKeys();

 private:
  Display* mDisplay = nullptr;
  Window mTopLevel = 0;
  bool mReady = false;
};

// Calls step until done answers true or timeoutMs pass; answers done's last answer.
bool PumpUntil(const std::function<void()>& step, const std::function<bool()>& done,
               int timeoutMs = 2000);
// Calls step for about ms milliseconds.
void PumpFor(const std::function<void()>& step, int ms);
