#pragma once
// IGraphicsWin: the editor on Win32. It opens the editor as an "IPlugWndClass" child window
// inside the window the host provides, repaints the dirty controls from a window timer by
// copying the draw surface to the screen, and turns the window's mouse and keyboard messages
// into the editor's events. It also offers the in-place text entry, pop-up menus, the standard
// dialogs, shell folders and the clipboard.
//
// Everything here runs on the thread that opened the window (the host's user-interface
// thread). The count of open windows and the frame rate of the last opened one are shared by
// every editor of the module: the window class lives while at least one window is open.
//
// Win32 types stay out of this header so that code choosing the editor class (the plug-in's
// layout) does not pull in <windows.h>; handles are kept as opaque pointers.

#include <cstdint>
#include <string>

#include "gui/IGraphics.h"

struct HWND__;
struct HINSTANCE__;

class IGraphicsWin : public IGraphics {
 public:
  enum TextEntryState {
    EntryNone = 0,
    EntryFocused = 1,  // the entry has the keyboard
    EntryPainted = 2,  // a tick repainted around the open entry
    EntryCancel = 3,   // close without applying at the next tick
    EntryCommit = 4,   // apply and close at the next tick
  };

  static constexpr const char* kWindowClassName = "IPlugWndClass";
  static constexpr const char* kWindowTitle = "IPlug";
  static constexpr unsigned kTimerId = 2;
  static constexpr int kEntryChildId = 99;

  IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate);
  ~IGraphicsWin() override;

  // ---from IGraphics---
  bool PresentRegion(const IRectangle& editorRect) override;
  bool MeasureText(ITextStyle* style, const char* text, IRectangle* rect) override {
    return DrawStyledText(style, text, rect, true);
  }
  void CancelTextEntry() override { mEntryState = EntryCancel; }
  void Resize(int width, int height) override;
  bool IsWindowOpen() override { return mWindow != nullptr; }
  const char* DrawingApiName() override { return "Windows GDI"; }
  int PresentMessageBox(const char* text, const char* caption, int type) override;
  IChoiceMenu* RunPopupMenu(IChoiceMenu* menu, const IRectangle& area) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& area,
                     const char* text, int paramIdx) override;
  void GetHostFolder(std::string* folder) override;
  void GetPluginFolder(std::string* folder) override;
  void GetDesktopFolder(std::string* folder) override;
  void GetAppDataFolder(std::string* folder, bool systemWide) override;
  void GetUserDataFolder(std::string* folder, bool flag) override;
  void AskForFile(std::string* fileName, int action, std::string* folder,
                  const char* extensions) override;
  bool AskForColour(IArgb* colour, const char* prompt) override;
  bool OpenWebAddress(const char* address, const char* title, const char* question,
                      const char* failureText) override;
  void* OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  void* GetNativeWindow() override { return mWindow; }
  bool ReadClipboardText(std::string* text) override;
  void HidePointer() override;
  void RestorePointer() override;
  LICE_IBitmap* LoadPlatformBitmap(int resourceId, const char* name) override;
  // From the pixel density of the monitor the window (or the host's window) is on.
  double SystemWindowScale() override;
  void ApplyWindowScale() override;

  // ---text entry, as the window layer sees it---
  void* TextEntryWindow() const { return mEntryWindow; }
  int TextEntryStateNow() const { return mEntryState; }

  // Editor windows of this module open right now.
  static int OpenWindowCount();

 private:
  static intptr_t __stdcall WindowProc(HWND__* window, unsigned message, uintptr_t wParam,
                                       intptr_t lParam);
  static intptr_t __stdcall EntryProc(HWND__* window, unsigned message, uintptr_t wParam,
                                      intptr_t lParam);
  intptr_t Dispatch(HWND__* window, unsigned message, uintptr_t wParam, intptr_t lParam);
  intptr_t DispatchMouse(HWND__* window, unsigned message, uintptr_t wParam, intptr_t lParam);
  intptr_t DispatchKey(HWND__* window, unsigned message, uintptr_t wParam, intptr_t lParam);
  intptr_t DispatchEntry(HWND__* window, unsigned message, uintptr_t wParam, intptr_t lParam);
  intptr_t EntryColours(void* deviceContext, HWND__* control);
  void Paint(HWND__* window);
  void Tick();
  void EntryStep();
  void CommitTextEntry();
  void CloseTextEntry();
  void ForgetWindow();
  bool RegisterWindowClass();
  void UnregisterWindowClass();
  void FindHostMainWindow();
  // The tooltip window and its one tool (the editor window); none when that fails.
  void CreateTooltip();
  void HideTooltip();
  void ResizeWindow();
  void ResizeAncestors(int dw, int dh);

  HINSTANCE__* mModule;
  HWND__* mWindow = nullptr;
  HWND__* mEntryWindow = nullptr;
  HWND__* mTooltipWindow = nullptr;
  IControl* mEntryControl = nullptr;  // not owned
  int mEntryParamIdx = -1;
  intptr_t mEntryPreviousProc = 0;
  int mEntryState = EntryNone;
  void* mEntryFont = nullptr;  // HFONT, owned while the entry is open
  bool mTooltipShown = false;
  bool mDrawnAhead = false;  // between a tick that drew its areas and the paint presenting them
  int mTooltipIdx = -1;
  unsigned long* mCustomColours = nullptr;  // COLORREF[16], owned
  unsigned long mProcessId = 0;
  HWND__* mParent = nullptr;
  int mWindowWidth = 0;  // the size the window was given, in window pixels
  int mWindowHeight = 0;
  HWND__* mHostMainWindow = nullptr;
  std::string mHostMainClass;
};
