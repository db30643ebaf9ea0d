#pragma once
// The host side of the Windows editor tests: a top-level host window that records the keys
// the editor forwards to it, a message pump, pixel read-back from a window, the editor child
// window lookup, and the panel rendered off-screen through the plug-in class itself (the
// reference the pixels on screen are compared with).

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/IGraphicsTypes.h"

class IPlugBase;

// An exported function of a loaded module, null when it is missing.
template <class Function>
Function ModuleExport(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Runs the thread's message loop for about ms milliseconds.
void PumpMessages(int ms);

// A visible top-level window the editor opens inside, as a host's plug-in window.
class HostWindow {
 public:
  // Windows are reused between tests; each one takes the size asked for.
  explicit HostWindow(int width = 860, int height = 520);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return window; }
  // The editor's child window inside this one, or null.
  HWND EditorWindow() const;

  std::vector<UINT> keyMessages;  ///< WM_KEYDOWN / WM_KEYUP that reached this window
  std::vector<WPARAM> keys;       ///< their virtual keys

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window = nullptr;
};

// Pixels of a window or surface as 0x00RRGGBB words, row by row.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Copies what the window shows (its client area) into an image.
PixelImage ReadWindowPixels(HWND window);
// Paints the rectangle with a colour directly, without invalidating anything.
void FillWindowRect(HWND window, const IRectangle& rect, COLORREF colour);
// Count of pixels of image inside rect that equal colour (0x00RRGGBB).
int CountColour(const PixelImage& image, const IRectangle& rect, uint32_t colour);

// The Brask panel built over the test adaptor, never shown: its control rectangles are the
// module's, and its draw surface, fully painted, is the reference picture.
class OffscreenPanel {
 public:
  OffscreenPanel();
  ~OffscreenPanel();
  IRectangle ControlRect(int controlIdx);
  PixelImage Render();
  // The panel at a window scale: at 2 drawn off-screen from the 2x pictures, elsewhere what
  // the editor paints at that scale.
  PixelImage Render(double scale);
  IPlugBase* Plug() { return plug.get(); }

 private:
  std::unique_ptr<IPlugBase> plug;
};

// Panel control indices (creation order of the layout).
enum PanelControlIndex {
  kBypassSwitch = 1,
  kSidechainSwitch = 2,
  kInputKnob = 3,
  kOutputKnob = 4,
  kAttackKnob = 5,
  kMeter = 9,
};

inline int CenterX(const IRectangle& r) { return (r.L + r.R) / 2; }
inline int CenterY(const IRectangle& r) { return (r.T + r.B) / 2; }
inline LPARAM PointParam(int x, int y) { return MAKELPARAM(WORD(int16_t(x)), WORD(int16_t(y))); }
