#include "WinTestHost.h"

#include "Brask.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/LICE_IBitmap.h"
#include "gui/PanelAtScale.h"

namespace {

constexpr const char* kHostClassName = "BraskTestHostWindow";

void RegisterHostClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kHostClassName;
  registered = RegisterClassA(&windowClass) != 0;
}

// Host windows are reused: Wine under a virtual display takes seconds to destroy a top-level
// window, so a finished test only empties its window and leaves it for the next test.
std::vector<HWND>& IdleHostWindows() {
  static std::vector<HWND> idle;
  return idle;
}

BOOL CALLBACK DestroyChild(HWND child, LPARAM) {
  DestroyWindow(child);
  return TRUE;
}

}  // namespace

void PumpMessages(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (int(GetTickCount() - end) < 0);
}

HostWindow::HostWindow(int width, int height) {
  RegisterHostClass();
  if (!IdleHostWindows().empty()) {
    window = IdleHostWindows().back();
    IdleHostWindows().pop_back();
  } else {
    // Placed off the screen origin so that screen and window coordinates differ.
    window = CreateWindowExA(0, kHostClassName, "Brask test host", WS_POPUP | WS_VISIBLE, 40, 30,
                             width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWindow::Procedure));
  }
  SetWindowPos(window, nullptr, 40, 30, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  PumpMessages(20);
}

HostWindow::~HostWindow() {
  if (!IsWindow(window)) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  // What the test left open goes, as when a host closes its plug-in window.
  EnumChildWindows(window, &DestroyChild, 0);
  IdleHostWindows().push_back(window);
  PumpMessages(10);
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (host && (message == WM_KEYDOWN || message == WM_KEYUP)) {
    host->keyMessages.push_back(message);
    host->keys.push_back(wParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND HostWindow::EditorWindow() const {
  return FindWindowExA(window, nullptr, "IPlugWndClass", nullptr);
}

PixelImage ReadWindowPixels(HWND window) {
  PixelImage image;
  RECT client = {};
  GetClientRect(window, &client);
  image.width = client.right;
  image.height = client.bottom;
  if (image.width <= 0 || image.height <= 0) return image;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  image.pixels.assign(source, source + size_t(image.width) * size_t(image.height));
  for (uint32_t& p : image.pixels) p &= 0xffffff;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return image;
}

void FillWindowRect(HWND window, const IRectangle& rect, COLORREF colour) {
  HDC dc = GetDC(window);
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT r = {rect.L, rect.T, rect.R, rect.B};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  GdiFlush();
  ReleaseDC(window, dc);
}

int CountColour(const PixelImage& image, const IRectangle& rect, uint32_t colour) {
  int count = 0;
  for (int y = rect.T; y < rect.B && y < image.height; ++y) {
    for (int x = rect.L; x < rect.R && x < image.width; ++x) count += image.At(x, y) == colour;
  }
  return count;
}

OffscreenPanel::OffscreenPanel() : plug(new Brask(nullptr)) {}

OffscreenPanel::~OffscreenPanel() = default;

IRectangle OffscreenPanel::ControlRect(int controlIdx) {
  IControl* control = plug->Editor()->GetControl(controlIdx);
  return control ? control->Rect() : IRectangle{};
}

PixelImage OffscreenPanel::Render() { return Render(1.0); }

PixelImage OffscreenPanel::Render(double scale) {
  IGraphics* editor = plug->Editor();
  std::unique_ptr<LICE_IBitmap> offscreen;
  if (scale == 2.0) {
    offscreen.reset(DrawPanelAtScale(editor, scale));
  } else {
    editor->SetWindowScale(scale);
    editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()});
  }
  LICE_IBitmap* surface = offscreen ? offscreen.get() : editor->DrawSurface();
  PixelImage image;
  image.width = surface->GetWidth();
  image.height = surface->GetHeight();
  for (int y = 0; y < image.height; ++y) {
    const LICE_pixel* row = surface->GetPixels() + size_t(y) * size_t(surface->GetStride());
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(row[x] & 0xffffff);
  }
  return image;
}
