// brask_editor_showcase: a minimal VST 2 host window that loads the built module by path,
// opens its editor with effEditOpen, turns two knobs and the power switch through window
// messages as a user would, and keeps the window up for a while so that the display can be
// captured (scripts/screenshot).
//
//   brask_editor_showcase.exe <Brask.dll> [seconds]

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "vst2/AEffect.h"
#include "vst2/VstRecords.h"

namespace {

VstIntPtr QuietHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) { return 0; }

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  while (int(GetTickCount() - end) < 0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

LPARAM At(int x, int y) { return MAKELPARAM(WORD(x), WORD(y)); }

void TurnKnob(HWND editor, int x, int y, int pixels) {
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  for (int step = 1; step <= 10; ++step) {
    SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(x, y - pixels * step / 10));
    Pump(20);
  }
  SendMessageA(editor, WM_LBUTTONUP, 0, At(x, y - pixels));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <Brask.dll> [seconds]\n", argv[0]);
    return 2;
  }
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 4;
  HMODULE module = LoadLibraryA(argv[1]);
  auto entry = module ? reinterpret_cast<VstPluginMainProc>(
                            reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")))
                      : nullptr;
  AEffect* effect = entry ? entry(&QuietHost) : nullptr;
  if (!effect) {
    std::fprintf(stderr, "cannot load the plug-in from %s\n", argv[1]);
    return 1;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
  windowClass.lpszClassName = "BraskShowcaseHost";
  RegisterClassA(&windowClass);
  // The editor's size follows the screen's pixel density; the host window leaves a margin.
  ERect* size = nullptr;
  effect->dispatcher(effect, effEditGetRect, 0, 0, &size, 0.0f);
  const int width = size ? size->right - size->left : 796;
  const int height = size ? size->bottom - size->top : 472;
  const double scale = double(width) / 796.0;
  HWND host =
      CreateWindowExA(0, "BraskShowcaseHost", "Brask", WS_POPUP | WS_VISIBLE, 20, 20, width + 40,
                      height + 40, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f)) {
    std::fprintf(stderr, "the editor did not open\n");
    return 1;
  }
  HWND editor = FindWindowExA(host, nullptr, "IPlugWndClass", nullptr);
  SetWindowPos(editor, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump(300);
  // As a user would: input up, mix down, attack up, by as much on every screen.
  auto at = [scale](int v) { return int(v * scale + 0.5); };
  TurnKnob(editor, at(203), at(369), at(60));
  TurnKnob(editor, at(667), at(152), at(-30));
  TurnKnob(editor, at(132), at(152), at(25));
  std::printf("editor %dx%d open; showing for %d s\n", width, height, seconds);
  std::fflush(stdout);
  Pump(DWORD(seconds) * 1000);
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
