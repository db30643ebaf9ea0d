#include "gui/x11/IGraphicsX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>

#include "core/IPlugBase.h"
#include "gui/IControl.h"
#include "gui/LICE_IBitmap.h"
#include "gui/WindowScale.h"
#include "gui/x11/X11ErrorTrap.h"

namespace {

// Shared by every editor window of the module, touched only on the user-interface thread.
int gOpenWindows = 0;
double gFrameRate = 25.0;

constexpr unsigned long kRed = 0xff0000, kGreen = 0x00ff00, kBlue = 0x0000ff;
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | LeaveWindowMask | StructureNotifyMask;

// The surface's B, G, R, A bytes are an X pixel only on a TrueColor visual with these masks.
bool MatchesSurfaceLayout(const Visual* visual) {
  return visual && visual->c_class == TrueColor && visual->red_mask == kRed &&
         visual->green_mask == kGreen && visual->blue_mask == kBlue;
}

}  // namespace

IGraphicsX11::IGraphicsX11(IPlugBase* plug, int width, int height, int frameRate)
    : IGraphicsPortable(plug, width, height, frameRate) {}

IGraphicsX11::~IGraphicsX11() { CloseEditorWindow(); }

int IGraphicsX11::TimerPeriodMs() { return std::max(1, int(1000.0 / gFrameRate)); }

int IGraphicsX11::OpenWindowCount() { return gOpenWindows; }

void* IGraphicsX11::GetNativeWindow() {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow));
}

int IGraphicsX11::ConnectionFd() const { return mDisplay ? ConnectionNumber(mDisplay) : -1; }

// ---opening and closing---

void* IGraphicsX11::OpenEditorWindow(void* parent) {
  const auto parentId = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent));
  IRectangle geometry{0, 0, WindowWidth(), WindowHeight()};
  if (mWindow) {
    // Reopening keeps the old window's place relative to its parent, and its size.
    geometry = ReopenGeometry(parentId);
    CloseEditorWindow();
  }
  mParent = parentId;
  if (!parentId || !ConnectAndCreate(parentId, geometry)) {
    Disconnect();
    return nullptr;
  }
  ++gOpenWindows;
  mWindowWidth = geometry.R - geometry.L;
  mWindowHeight = geometry.B - geometry.T;
  gFrameRate = std::max(1, FrameRate());
  for (int i = 0; i < NControls(); ++i) GetControl(i)->MarkDirty(false);
  mLastTick = std::chrono::steady_clock::now();
  return GetNativeWindow();
}

IRectangle IGraphicsX11::ReopenGeometry(unsigned long newParent) {
  IRectangle geometry{0, 0, WindowWidth(), WindowHeight()};
  if (!mWindowAlive) return geometry;
  X11ErrorTrap trap(mDisplay);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mWindow, &attributes)) return geometry;
  int x = 0, y = 0;
  Window child;
  if (!newParent || !XTranslateCoordinates(mDisplay, mWindow, newParent, 0, 0, &x, &y, &child) ||
      !trap.Sync()) {
    x = attributes.x;
    y = attributes.y;
  }
  return IRectangle{x, y, x + attributes.width, y + attributes.height};
}

bool IGraphicsX11::ConnectAndCreate(unsigned long parent, const IRectangle& geometry) {
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return false;
  X11ErrorTrap trap(mDisplay);
  if (!ChooseVisual()) return false;
  XSetWindowAttributes attributes = {};
  attributes.background_pixmap = None;  // the editor paints every pixel itself
  attributes.border_pixel = 0;
  attributes.colormap = mColormap ? mColormap : DefaultColormap(mDisplay, DefaultScreen(mDisplay));
  attributes.event_mask = kEventMask;
  mWindow = XCreateWindow(mDisplay, parent, geometry.L, geometry.T,
                          unsigned(std::max(1, geometry.R - geometry.L)),
                          unsigned(std::max(1, geometry.B - geometry.T)), 0, mDepth, InputOutput,
                          static_cast<Visual*>(mVisual),
                          CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
  if (!trap.Sync() || !mWindow) return false;
  mGc = XCreateGC(mDisplay, mWindow, 0, nullptr);
  XMapWindow(mDisplay, mWindow);
  mWindowAlive = trap.Sync();
  return mWindowAlive;
}

// The default visual when it has the surface's layout, else a 24-bit TrueColor one with its
// own colormap.
bool IGraphicsX11::ChooseVisual() {
  const int screen = DefaultScreen(mDisplay);
  Visual* visual = DefaultVisual(mDisplay, screen);
  const int depth = DefaultDepth(mDisplay, screen);
  if (MatchesSurfaceLayout(visual) && (depth == 24 || depth == 32)) {
    mVisual = visual;
    mDepth = depth;
    return true;
  }
  XVisualInfo info;
  if (!XMatchVisualInfo(mDisplay, screen, 24, TrueColor, &info) ||
      !MatchesSurfaceLayout(info.visual)) {
    return false;
  }
  mVisual = info.visual;
  mDepth = 24;
  mColormap = XCreateColormap(mDisplay, RootWindow(mDisplay, screen), info.visual, AllocNone);
  return true;
}

void IGraphicsX11::CloseEditorWindow() {
  if (!mDisplay) return;
  if (mWindow) --gOpenWindows;
  Disconnect();
}

// Frees the window and its resources and closes the connection, whatever was created.
void IGraphicsX11::Disconnect() {
  if (!mDisplay) return;
  {
    X11ErrorTrap trap(mDisplay);
    if (mGc) XFreeGC(mDisplay, mGc);
    if (mWindow && mWindowAlive) XDestroyWindow(mDisplay, mWindow);
    if (mBlankCursor) XFreeCursor(mDisplay, mBlankCursor);
    if (mColormap) XFreeColormap(mDisplay, mColormap);
    XCloseDisplay(mDisplay);
  }
  mDisplay = nullptr;
  mGc = nullptr;
  mWindow = 0;
  mBlankCursor = 0;
  mColormap = 0;
  mVisual = nullptr;
  mWindowAlive = false;
  mHasCapture = false;
  mTrackingLeave = false;
  mHasExposed = false;
  mHasLastPress = false;
}

// ---painting---

bool IGraphicsX11::PresentRegion(const IRectangle& editorRect) {
  LICE_IBitmap* surface = DrawSurface();
  if (!mWindowAlive || !surface || !surface->GetPixels()) return false;
  const IRectangle rect = WindowArea(editorRect);
  const int left = std::max(0, rect.L), top = std::max(0, rect.T);
  const int right = std::min(rect.R, surface->GetWidth());
  const int bottom = std::min(rect.B, surface->GetHeight());
  if (right <= left || bottom <= top) return true;
  X11ErrorTrap trap(mDisplay);
  const int stride = surface->GetStride();
  XImage* image = XCreateImage(mDisplay, static_cast<Visual*>(mVisual), unsigned(mDepth), ZPixmap,
                               0, reinterpret_cast<char*>(surface->GetPixels()), unsigned(stride),
                               unsigned(surface->GetHeight()), 32, stride * 4);
  if (!image) return false;
  bool presented = false;
  if (image->bits_per_pixel == 32) {
    image->byte_order = LSBFirst;  // B, G, R, A in memory; Xlib swaps for other servers
    XPutImage(mDisplay, mWindow, mGc, image, left, top, left, top, unsigned(right - left),
              unsigned(bottom - top));
    XFlush(mDisplay);
    presented = true;
  }
  image->data = nullptr;  // the surface keeps its pixels
  XDestroyImage(image);
  return presented;
}

void IGraphicsX11::Tick() {
  mLastTick = std::chrono::steady_clock::now();
  if (!mWindowAlive) return;
  PaintExposed();
  for (const IRectangle& area : DirtyAreas()) PaintRegion(area);
}

void IGraphicsX11::Idle() {
  ProcessEvents();
  const auto period = std::chrono::milliseconds(TimerPeriodMs());
  if (std::chrono::steady_clock::now() - mLastTick >= period) Tick();
}

void IGraphicsX11::AddExposed(int x, int y, int width, int height) {
  const IRectangle area =
      EditorRectangleCovering(IRectangle{x, y, x + width, y + height}, WindowScale());
  if (!mHasExposed) {
    mExposed = area;
  } else {
    mExposed = RectangleUnion(mExposed, area);
  }
  mHasExposed = true;
}

void IGraphicsX11::PaintExposed() {
  if (!mHasExposed) return;
  mHasExposed = false;
  PaintRegion(mExposed);
}

// ---pointer---

void IGraphicsX11::HidePointer() {
  if (PointerHidden() || !mWindowAlive) return;
  X11ErrorTrap trap(mDisplay);
  Window root, child;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  if (!XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, &x, &y, &mask)) return;
  if (!mBlankCursor) {
    static const char kNoBits[1] = {0};
    Pixmap empty = XCreateBitmapFromData(mDisplay, mWindow, kNoBits, 1, 1);
    XColor black = {};
    mBlankCursor = XCreatePixmapCursor(mDisplay, empty, empty, &black, &black, 0, 0);
    XFreePixmap(mDisplay, empty);
  }
  XDefineCursor(mDisplay, mWindow, mBlankCursor);
  XFlush(mDisplay);
  SetPointerHidden(true, rootX, rootY);
}

void IGraphicsX11::RestorePointer() {
  if (!PointerHidden()) return;
  if (mWindowAlive) {
    X11ErrorTrap trap(mDisplay);
    XWarpPointer(mDisplay, None, DefaultRootWindow(mDisplay), 0, 0, 0, 0, SavedPointerX(),
                 SavedPointerY());
    XUndefineCursor(mDisplay, mWindow);
    // Wait for the warp: motion that other clients send afterwards must start from here.
    trap.Sync();
  }
  SetPointerHidden(false, SavedPointerX(), SavedPointerY());
}

// ---size---

void IGraphicsX11::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  const int oldWidth = WindowWidth(), oldHeight = WindowHeight();
  IGraphics::Resize(width, height);
  ResizeWindow(oldWidth, oldHeight);
}

void IGraphicsX11::ApplyWindowScale() { ResizeWindow(mWindowWidth, mWindowHeight); }

// Gives the window the editor's window size; a window that had oldWidth x oldHeight grows
// its parent by the difference, unless the host sizes the parent itself.
void IGraphicsX11::ResizeWindow(int oldWidth, int oldHeight) {
  const int width = WindowWidth(), height = WindowHeight();
  mWindowWidth = width;
  mWindowHeight = height;
  if (!mWindowAlive) return;
  {
    X11ErrorTrap trap(mDisplay);
    XResizeWindow(mDisplay, mWindow, unsigned(std::max(1, width)), unsigned(std::max(1, height)));
    trap.Sync();
  }
  // VST 3 hosts resize their own window when asked through the view.
  const int api = Plug() ? Plug()->GetPluginApi() : kApiVST2;
  if (api != kApiVST3 && api != 3) ResizeParent(width - oldWidth, height - oldHeight);
  AddExposed(0, 0, width, height);
}

void IGraphicsX11::ResizeParent(int dw, int dh) {
  X11ErrorTrap trap(mDisplay);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mParent, &attributes)) return;
  XResizeWindow(mDisplay, mParent, unsigned(std::max(1, attributes.width + dw)),
                unsigned(std::max(1, attributes.height + dh)));
  trap.Sync();
}
