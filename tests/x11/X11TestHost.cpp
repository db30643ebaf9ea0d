#include "X11TestHost.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

int gErrors = 0;

// The test's own handler: errors are counted (a test asserts on them), never fatal.
int CountError(Display*, XErrorEvent*) {
  ++gErrors;
  return 0;
}

// A server started without -noreset resets when its last client leaves and refuses
// connections meanwhile: try again for a while when a display is named.
Display* OpenDisplay() {
  Display* display = XOpenDisplay(nullptr);
  const char* name = std::getenv("DISPLAY");
  for (int attempt = 0; !display && name && *name && attempt < 20; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    display = XOpenDisplay(nullptr);
  }
  return display;
}

}  // namespace

X11TestHost::X11TestHost(int width, int height) {
  mDisplay = OpenDisplay();
  if (!mDisplay) {
    std::fprintf(stderr, "X11TestHost: cannot open display \"%s\"\n", XDisplayName(nullptr));
    return;
  }
  XSetErrorHandler(&CountError);
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(mDisplay, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "X11TestHost: the display has no XTEST extension\n");
    return;
  }
  const int screen = DefaultScreen(mDisplay);
  mTopLevel = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), 0, 0, unsigned(width),
                                  unsigned(height), 0, BlackPixel(mDisplay, screen),
                                  BlackPixel(mDisplay, screen));
  XSelectInput(mDisplay, mTopLevel, StructureNotifyMask | KeyPressMask | KeyReleaseMask);
  XMapRaised(mDisplay, mTopLevel);
  XEvent mapped;
  XWindowEvent(mDisplay, mTopLevel, StructureNotifyMask, &mapped);
  while (mapped.type != MapNotify) XWindowEvent(mDisplay, mTopLevel, StructureNotifyMask, &mapped);
  // The pointer starts outside every window of the test.
  XTestFakeMotionEvent(mDisplay, screen, width + 50, height + 50, CurrentTime);
  XSync(mDisplay, False);
  mReady = true;
}

X11TestHost::~X11TestHost() {
  if (!mDisplay) return;
  if (mTopLevel) XDestroyWindow(mDisplay, mTopLevel);
  XCloseDisplay(mDisplay);
}

void* X11TestHost::ParentHandle() const {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mTopLevel));
}

int X11TestHost::ErrorCount() const { return gErrors; }

bool X11TestHost::WindowExists(Window window) {
  XSync(mDisplay, False);
  const int before = gErrors;
  XWindowAttributes attributes;
  const Status ok = XGetWindowAttributes(mDisplay, window, &attributes);
  XSync(mDisplay, False);
  const bool exists = ok && gErrors == before;
  gErrors = before;  // the probe's own error is expected
  return exists;
}

Window X11TestHost::ParentOf(Window window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(mDisplay, window, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent;
}

void X11TestHost::RootPosition(Window window, int x, int y, int* rootX, int* rootY) {
  Window child;
  XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), x, y, rootX, rootY, &child);
}

void X11TestHost::Geometry(Window window, int* x, int* y, int* width, int* height) {
  XWindowAttributes attributes = {};
  XGetWindowAttributes(mDisplay, window, &attributes);
  *x = attributes.x;
  *y = attributes.y;
  *width = attributes.width;
  *height = attributes.height;
}

std::vector<uint32_t> X11TestHost::Grab(Window window, int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  XSync(mDisplay, False);
  XImage* image =
      XGetImage(mDisplay, window, x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
  if (!image) return pixels;
  pixels.reserve(size_t(width) * size_t(height));
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      pixels.push_back(uint32_t(XGetPixel(image, col, row)) & 0xffffffu);
    }
  }
  XDestroyImage(image);
  return pixels;
}

void X11TestHost::MoveTo(Window target, int x, int y) {
  int rootX = 0, rootY = 0;
  RootPosition(target, x, y, &rootX, &rootY);
  XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), rootX, rootY, CurrentTime);
  XSync(mDisplay, False);
}

void X11TestHost::Button(unsigned button, bool press) {
  XTestFakeButtonEvent(mDisplay, button, press ? True : False, CurrentTime);
  XSync(mDisplay, False);
}

void X11TestHost::Key(unsigned long keysym, bool press) {
  const KeyCode code = XKeysymToKeycode(mDisplay, keysym);
  XTestFakeKeyEvent(mDisplay, code, press ? True : False, CurrentTime);
  XSync(mDisplay, False);
}

void X11TestHost::PointerOnRoot(int* rootX, int* rootY) {
  Window root, child;
  int x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(mDisplay, DefaultRootWindow(mDisplay), &root, &child, rootX, rootY, &x, &y, &mask);
}

std::vector<XKeyEvent> X11TestHost::TakeTopLevelKeys() {
  std::vector<XKeyEvent> keys;
  XSync(mDisplay, False);
  XEvent event;
  while (XCheckWindowEvent(mDisplay, mTopLevel, KeyPressMask | KeyReleaseMask, &event)) {
    keys.push_back(event.xkey);
  }
  return keys;
}

bool PumpUntil(const std::function<void()>& step, const std::function<bool()>& done,
               int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void PumpFor(const std::function<void()>& step, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}
