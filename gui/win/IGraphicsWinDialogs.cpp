// The shell services of the Windows editor: folders, the file and colour dialogs, opening a
// web address and reading the clipboard.

#include <windows.h>
// These build on windows.h.
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstring>
#include <string>

#include "gui/win/IGraphicsWin.h"

namespace {

constexpr int kModulePathSize = 256;

// Everything of path up to and including its last backslash; empty when there is none or the
// path ends with it.
std::string FolderOfPath(const char* path) {
  const char* lastSlash = std::strrchr(path, '\\');
  if (!lastSlash || lastSlash[1] == '\0') return std::string();
  return std::string(path, size_t(lastSlash - path + 1));
}

std::string FolderOfModule(HMODULE module) {
  char path[kModulePathSize + 1] = {};
  GetModuleFileNameA(module, path, kModulePathSize);
  return FolderOfPath(path);
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

// "*.a;*.b" for "a b": the same text serves as the filter's description and its pattern.
std::string FilterPatterns(const char* extensions) {
  std::string patterns;
  const char* p = extensions ? extensions : "";
  while (*p) {
    while (*p == ' ') ++p;
    const char* end = p;
    while (*end && *end != ' ') ++end;
    if (end > p) {
      if (!patterns.empty()) patterns += ';';
      patterns += "*.";
      patterns.append(p, size_t(end - p));
    }
    p = end;
  }
  return patterns;
}

std::string FirstExtension(const char* extensions) {
  const char* p = extensions ? extensions : "";
  while (*p == ' ') ++p;
  const char* end = p;
  while (*end && *end != ' ') ++end;
  return std::string(p, size_t(end - p)).substr(0, 15);
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    const char* prompt = reinterpret_cast<const char*>(choose->lCustData);
    if (prompt) SetWindowTextA(dialog, prompt);
  }
  return 0;
}

}  // namespace

void IGraphicsWin::GetHostFolder(std::string* folder) {
  if (folder) *folder = FolderOfModule(nullptr);
}

void IGraphicsWin::GetPluginFolder(std::string* folder) {
  if (folder) *folder = FolderOfModule(mModule);
}

void IGraphicsWin::GetDesktopFolder(std::string* folder) {
  if (folder) *folder = ShellFolder(CSIDL_DESKTOP);
}

void IGraphicsWin::GetAppDataFolder(std::string* folder, bool systemWide) {
  if (folder) *folder = ShellFolder(systemWide ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA);
}

void IGraphicsWin::GetUserDataFolder(std::string* folder, bool) { GetAppDataFolder(folder, false); }

void IGraphicsWin::AskForFile(std::string* fileName, int action, std::string* folder,
                              const char* extensions) {
  if (!fileName) return;
  if (!mWindow) {
    fileName->clear();
    return;
  }
  std::string startFolder = folder ? *folder : std::string();
  if (startFolder.empty()) GetDesktopFolder(&startFolder);
  char path[MAX_PATH] = {};
  lstrcpynA(path, fileName->c_str(), 256);
  const std::string patterns = FilterPatterns(extensions);
  std::string filter = patterns;
  filter.push_back('\0');
  filter += patterns;
  filter.push_back('\0');
  const std::string defaultExtension = FirstExtension(extensions);
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = mWindow;
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = path;
  request.nMaxFile = MAX_PATH;
  request.lpstrInitialDir = startFolder.c_str();
  request.lpstrDefExt = defaultExtension.c_str();
  const bool save = action == 1;
  request.Flags =
      save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  const bool chosen = save ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
  if (!chosen) {
    fileName->clear();
    return;
  }
  *fileName = path;
  if (folder) {
    char drive[_MAX_DRIVE] = {};
    char directory[_MAX_DIR] = {};
    _splitpath(path, drive, directory, nullptr, nullptr);
    *folder = std::string(drive) + directory;
  }
}

bool IGraphicsWin::AskForColour(IArgb* colour, const char* prompt) {
  if (!mWindow || !colour) return false;
  if (!mCustomColours) mCustomColours = new unsigned long[16]();
  CHOOSECOLORA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = mWindow;
  request.rgbResult = RGB(colour->R, colour->G, colour->B);
  request.lpCustColors = reinterpret_cast<COLORREF*>(mCustomColours);
  request.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR | CC_ENABLEHOOK;
  request.lCustData = reinterpret_cast<LPARAM>(prompt);
  request.lpfnHook = &ColourDialogHook;
  if (!ChooseColorA(&request)) return false;
  colour->R = GetRValue(request.rgbResult);
  colour->G = GetGValue(request.rgbResult);
  colour->B = GetBValue(request.rgbResult);
  return true;
}

bool IGraphicsWin::OpenWebAddress(const char* address, const char* title, const char* question,
                                  const char* failureText) {
  if (question && MessageBoxA(mWindow, question, title, MB_YESNO) != IDYES) return false;
  DWORD state = 0;
  if (address && InternetGetConnectedState(&state, 0)) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(mWindow, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  if (failureText) MessageBoxA(mWindow, failureText, title, MB_OK);
  return false;
}

bool IGraphicsWin::ReadClipboardText(std::string* text) {
  if (!text) return false;
  text->clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mWindow)) return false;
  bool read = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      std::string converted(size_t(bytes), '\0');
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, &converted[0], bytes, nullptr, nullptr);
      converted.resize(size_t(bytes - 1));  // without the terminating zero
      *text = converted;
      read = true;
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return read;
}
