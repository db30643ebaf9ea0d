#include "gui/win/IGraphicsWin.h"

#include <windows.h>
// These build on windows.h.
#include <commctrl.h>
#include <windowsx.h>

#include "core/IPlugBase.h"
#include "gui/IControl.h"
#include "gui/WindowScale.h"
#include "gui/win/ModuleHandle.h"
#include "gui/win/ResourcePictures.h"
#include "gui/win/WindowDpi.h"

namespace {

// Shared by every editor of this module; touched only on the user-interface thread.
int gOpenWindows = 0;
double gFrameRate = 25.0;

IMouseState MouseStateFrom(WPARAM keyState) {
  IMouseState mods;
  mods.left = (keyState & MK_LBUTTON) != 0;
  mods.right = (keyState & MK_RBUTTON) != 0;
  mods.shift = (keyState & MK_SHIFT) != 0;
  mods.control = (keyState & MK_CONTROL) != 0;
  mods.alt = GetKeyState(VK_MENU) < 0;
  return mods;
}

// The editor's key code for a virtual key, or -1 when the editor has none for it.
int KeyCodeFor(WPARAM key) {
  switch (key) {
    case VK_SPACE:
      return KeySpace;
    case VK_UP:
      return KeyArrowUp;
    case VK_DOWN:
      return KeyArrowDown;
    case VK_LEFT:
      return KeyArrowLeft;
    case VK_RIGHT:
      return KeyArrowRight;
    default:
      break;
  }
  if (key >= '0' && key <= '9') return KeyDigit0 + int(key - '0');
  if (key >= 'A' && key <= 'Z') return KeyA + int(key - 'A');
  return -1;
}

}  // namespace

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate)
    : IGraphics(plug, width, height, frameRate), mModule(BraskModuleHandle()) {}

IGraphicsWin::~IGraphicsWin() {
  CloseEditorWindow();
  delete[] mCustomColours;
  mCustomColours = nullptr;
}

int IGraphicsWin::OpenWindowCount() { return gOpenWindows; }

// ---opening and closing---

bool IGraphicsWin::RegisterWindowClass() {
  if (gOpenWindows++ > 0) return true;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &IGraphicsWin::WindowProc;
  windowClass.hInstance = mModule;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kWindowClassName;
  // A window the host destroyed behind our back can leave the class registered: reuse it.
  if (RegisterClassA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
  gOpenWindows--;
  return false;
}

void IGraphicsWin::UnregisterWindowClass() {
  if (gOpenWindows > 0 && --gOpenWindows == 0) UnregisterClassA(kWindowClassName, mModule);
}

void* IGraphicsWin::OpenEditorWindow(void* parent) {
  mParent = static_cast<HWND>(parent);
  FollowSystemScale();
  int x = 0;
  int y = 0;
  int w = WindowWidth();
  int h = WindowHeight();
  if (mWindow) {
    RECT parentRect = {};
    RECT windowRect = {};
    GetWindowRect(mParent, &parentRect);
    GetWindowRect(mWindow, &windowRect);
    CloseEditorWindow();
    x = windowRect.left - parentRect.left;
    y = windowRect.top - parentRect.top;
    w = windowRect.right - windowRect.left;
    h = windowRect.bottom - windowRect.top;
  }
  if (!RegisterWindowClass()) return nullptr;
  gFrameRate = double(FrameRate());
  HWND window = CreateWindowExA(0, kWindowClassName, kWindowTitle, WS_CHILD | WS_VISIBLE, x, y, w,
                                h, mParent, nullptr, mModule, this);
  if (!window) {
    UnregisterWindowClass();
    return nullptr;
  }
  mWindow = window;
  mWindowWidth = w;
  mWindowHeight = h;
  for (int i = 0; i < NControls(); ++i) GetControl(i)->MarkDirty(false);
  if (TooltipsEnabled()) CreateTooltip();
  return mWindow;
}

void IGraphicsWin::CreateTooltip() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  mTooltipWindow = CreateWindowExA(
      0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow, nullptr, mModule, nullptr);
  if (!mTooltipWindow) return;
  SetWindowPos(mTooltipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = mWindow;
  info.uId = reinterpret_cast<UINT_PTR>(mWindow);
  info.lpszText = const_cast<char*>("");
  if (!SendMessageA(mTooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) {
    // Without its tool the tooltip window is useless: this editor goes without tooltips.
    DestroyWindow(mTooltipWindow);
    mTooltipWindow = nullptr;
  }
}

void IGraphicsWin::CloseEditorWindow() {
  if (!mWindow) return;
  if (mTooltipWindow) DestroyWindow(mTooltipWindow);
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  mTooltipIdx = -1;
  // Forgotten first, so that the messages of the destruction find no editor behind the window.
  HWND window = mWindow;
  mWindow = nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  CloseTextEntry();
  UnregisterWindowClass();
}

// The host destroyed the window (with its own) without asking the editor to close it.
void IGraphicsWin::ForgetWindow() {
  mWindow = nullptr;
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  CloseTextEntry();
  if (gOpenWindows > 0) gOpenWindows--;
}

// ---window procedure---

LRESULT CALLBACK IGraphicsWin::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    // A frame rate of 0 or less would make no period at all: tick as fast as allowed instead.
    SetTimer(window, kTimerId, gFrameRate > 0.0 ? UINT(1000.0 / gFrameRate) : USER_TIMER_MINIMUM,
             nullptr);
    SetFocus(window);
    return 0;
  }
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY && editor && editor->mWindow == window) editor->ForgetWindow();
  if (!editor || editor->mWindow != window) return DefWindowProcA(window, message, wParam, lParam);
  return editor->Dispatch(window, message, wParam, lParam);
}

LRESULT IGraphicsWin::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (mEntryWindow && mEntryState == EntryFocused) {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
      mEntryState = EntryCancel;
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_CLOSE:
      CloseEditorWindow();
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      return DispatchKey(window, message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kTimerId) Tick();
      return 0;
    case WM_CTLCOLOREDIT:
      return EntryColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
      return DispatchMouse(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT IGraphicsWin::DispatchMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = EditorX(GET_X_LPARAM(lParam));
  const int y = EditorY(GET_Y_LPARAM(lParam));
  const IMouseState mods = MouseStateFrom(GET_KEYSTATE_WPARAM(wParam));
  switch (message) {
    case WM_MOUSEMOVE:
      if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
        if (GetCapture() == window && !mEntryWindow) HandleMouseDrag(x, y, mods);
      } else if (HandleMouseOver(x, y, mods)) {
        bool askHover = false;
        if (mTooltipWindow && MouseOverIndex() != mTooltipIdx) {
          mTooltipIdx = MouseOverIndex();
          HideTooltip();
          askHover = mTooltipIdx >= 0;
        }
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE | (askHover ? TME_HOVER : 0);
        track.hwndTrack = window;
        track.dwHoverTime = HOVER_DEFAULT;
        TrackMouseEvent(&track);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      HideTooltip();
      if (mEntryWindow) {
        mEntryState = EntryCommit;
        return 0;
      }
      SetFocus(window);
      SetCapture(window);
      HandleMouseDown(x, y, mods);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      ::ReleaseCapture();
      HandleMouseUp(x, y, mods);
      return 0;
    case WM_LBUTTONDBLCLK:
      HandleDoubleClick(x, y, mods);
      if (CaptureIndex() >= 0) SetCapture(window);
      return 0;
    case WM_MOUSEWHEEL: {
      if (mEntryWindow) {
        mEntryState = EntryCancel;
        return 0;
      }
      RECT r = {};
      GetWindowRect(window, &r);
      // The wheel message carries screen coordinates; a part notch gives 0 clicks.
      const int clicks = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      HandleWheel(EditorX(GET_X_LPARAM(lParam) - r.left), EditorY(GET_Y_LPARAM(lParam) - r.top),
                  mods, clicks);
      return 0;
    }
    case WM_MOUSEHOVER: {
      IControl* control = GetControl(mTooltipIdx);
      if (mTooltipWindow && control) {
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = window;
        info.uId = reinterpret_cast<UINT_PTR>(window);
        info.lpszText = const_cast<char*>(control->Tooltip().c_str());
        SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        mTooltipShown = true;
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      HideTooltip();
      HandleMouseOut();
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT IGraphicsWin::DispatchKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    const int key = KeyCodeFor(wParam);
    if (key >= 0) {
      POINT p = {};
      GetCursorPos(&p);
      ScreenToClient(window, &p);
      if (HandleKeyDown(EditorX(p.x), EditorY(p.y), key)) return 0;
    }
  }
  // Keys the editor does not use belong to the host (its shortcuts, its transport).
  HWND root = GetAncestor(window, GA_ROOT);
  if (root && root != window) SendMessageA(root, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

// ---painting---

void IGraphicsWin::Paint(HWND window) {
  RECT r = {};
  if (GetUpdateRect(window, &r, FALSE) && r.right > r.left && r.bottom > r.top) {
    const IRectangle area =
        EditorRectangleCovering(IRectangle{r.left, r.top, r.right, r.bottom}, WindowScale());
    // What a tick drew ahead is on the draw surface, as is everything else the window shows.
    if (mDrawnAhead) {
      PresentRegion(area);
    } else {
      PaintRegion(area);
    }
  }
  mDrawnAhead = false;
  // Whatever PaintRegion left unpainted must not come back as an endless stream of requests.
  ValidateRect(window, nullptr);
}

void IGraphicsWin::Tick() {
  if (mEntryWindow && mEntryState != EntryNone) {
    EntryStep();
    return;
  }
  // Follows the window to a monitor of another pixel density (a cheap query per tick).
  if (!mEntryWindow) FollowSystemScale();
  const std::vector<IRectangle> areas = DirtyAreas();
  if (areas.empty()) return;
  // Apart from 1 there may be several areas: drawn here, and only presented by the paint.
  mDrawnAhead = WindowScale() != 1.0;
  for (const IRectangle& editorArea : areas) {
    if (mDrawnAhead) DrawRegion(editorArea);
    const IRectangle area = WindowArea(editorArea);
    const RECT dirty = {area.L, area.T, area.R, area.B};
    InvalidateRect(mWindow, &dirty, FALSE);
  }
  if (mEntryWindow && mEntryControl) {
    const IRectangle kept = WindowArea(mEntryControl->Rect());
    const RECT entryRect = {kept.L, kept.T, kept.R, kept.B};
    ValidateRect(mWindow, &entryRect);
    UpdateWindow(mWindow);
    mEntryState = EntryPainted;
    return;
  }
  UpdateWindow(mWindow);
}

bool IGraphicsWin::PresentRegion(const IRectangle& editorRect) {
  LICE_IBitmap* surface = DrawSurface();
  if (!mWindow || !surface) return false;
  const IRectangle rect = WindowArea(editorRect);
  PAINTSTRUCT paint = {};
  HDC target = BeginPaint(mWindow, &paint);
  BitBlt(target, rect.L, rect.T, rect.R - rect.L, rect.B - rect.T, surface->GetDeviceContext(),
         rect.L, rect.T, SRCCOPY);
  EndPaint(mWindow, &paint);
  return true;
}

// ---message boxes---

namespace {

struct MainWindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<MainWindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[129] = {};
  if (owner != search->processId || !GetClassNameA(window, name, int(sizeof name))) return TRUE;
  if (lstrcmpA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

void IGraphicsWin::FindHostMainWindow() {
  if (mHostMainWindow) return;
  if (mParent) {
    HWND top = mParent;
    for (HWND up = GetParent(top); up; up = GetParent(up)) top = up;
    mHostMainWindow = top;
    char name[129] = {};
    GetClassNameA(top, name, 129);
    mHostMainClass = name;
    return;
  }
  if (mHostMainClass.empty()) return;
  mProcessId = GetCurrentProcessId();
  MainWindowSearch search = {mProcessId, mHostMainClass.c_str(), nullptr};
  EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
  mHostMainWindow = search.found;
}

int IGraphicsWin::PresentMessageBox(const char* text, const char* caption, int type) {
  FindHostMainWindow();
  return MessageBoxA(mHostMainWindow, text, caption, UINT(type));
}

// ---pointer---

void IGraphicsWin::HidePointer() {
  if (PointerHidden()) return;
  POINT p = {};
  GetCursorPos(&p);
  ShowCursor(FALSE);
  SetPointerHidden(true, p.x, p.y);
}

void IGraphicsWin::RestorePointer() {
  if (!PointerHidden()) return;
  SetCursorPos(SavedPointerX(), SavedPointerY());
  ShowCursor(TRUE);
  SetPointerHidden(false, SavedPointerX(), SavedPointerY());
}

void IGraphicsWin::HideTooltip() {
  if (!mTooltipShown || !mTooltipWindow) return;
  TOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.hwnd = mWindow;
  info.uId = reinterpret_cast<UINT_PTR>(mWindow);
  SendMessageA(mTooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  mTooltipShown = false;
}

// ---size---

void IGraphicsWin::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  IGraphics::Resize(width, height);
  ResizeWindow();
}

double IGraphicsWin::SystemWindowScale() {
  return WindowScaleForDpi(WindowDpi(mWindow ? mWindow : mParent));
}

void IGraphicsWin::ApplyWindowScale() { ResizeWindow(); }

// Gives the window the editor's window size, and its plain-child ancestors the difference
// unless the host sizes its own frame.
void IGraphicsWin::ResizeWindow() {
  const int dw = WindowWidth() - mWindowWidth;
  const int dh = WindowHeight() - mWindowHeight;
  mWindowWidth = WindowWidth();
  mWindowHeight = WindowHeight();
  if (!mWindow) return;
  RECT r = {};
  GetWindowRect(mWindow, &r);
  SetWindowPos(mWindow, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int api = Plug() ? Plug()->GetPluginApi() : -1;
  // VST 3 hosts size their own frame in answer to the view's resize request.
  if (api != kApiVST3 && api != 3) ResizeAncestors(dw, dh);
  const RECT all = {0, 0, mWindowWidth, mWindowHeight};
  InvalidateRect(mWindow, &all, FALSE);
}

void IGraphicsWin::ResizeAncestors(int dw, int dh) {
  HWND ancestors[2] = {nullptr, nullptr};
  auto isPlainChild = [](HWND w) {
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
    return (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD);
  };
  if (isPlainChild(mWindow)) {
    ancestors[0] = GetParent(mWindow);
    if (ancestors[0] && isPlainChild(ancestors[0])) ancestors[1] = GetParent(ancestors[0]);
  }
  for (HWND w : ancestors) {
    if (!w) continue;
    RECT r = {};
    GetWindowRect(w, &r);
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---pictures---

LICE_IBitmap* IGraphicsWin::LoadPlatformBitmap(int resourceId, const char* name) {
  return LoadResourcePicture(mModule, resourceId, name);
}
