#include "gui/win/WindowDpi.h"

#include <windows.h>

namespace {

using DpiForWindowProc = UINT(WINAPI*)(HWND);
using DpiForSystemProc = UINT(WINAPI*)();

template <class Proc>
Proc User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int SystemDpi() {
  static const auto dpiForSystem = User32Function<DpiForSystemProc>("GetDpiForSystem");
  if (dpiForSystem) return int(dpiForSystem());
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto dpiForWindow = User32Function<DpiForWindowProc>("GetDpiForWindow");
  if (window && dpiForWindow) {
    const UINT dpi = dpiForWindow(window);
    if (dpi > 0) return int(dpi);
  }
  return SystemDpi();
}
