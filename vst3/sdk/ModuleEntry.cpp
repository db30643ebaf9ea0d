#include "ModuleEntry.h"

#if defined(_WIN32)
#include <windows.h>

#include "gui/win/ModuleHandle.h"

namespace {
// Recorded at process attach, before any host call can reach the module.
HINSTANCE gAttachedModule = nullptr;
}  // namespace

// The framework's copy of the module handle, set by InitDll.
HINSTANCE gModuleInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) gAttachedModule = instance;
  return TRUE;
}

bool InitDll() {
  gModuleInstance = gAttachedModule;
  return true;
}

bool ExitDll() { return true; }

// Hosts that skip InitDll still get the handle recorded at process attach.
HINSTANCE BraskModuleHandle() { return gModuleInstance ? gModuleInstance : gAttachedModule; }

#else

bool ModuleEntry(void* /*libraryHandle*/) { return true; }

bool ModuleExit() { return true; }

#endif
