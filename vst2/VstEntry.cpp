// The module's exports: VSTPluginMain, its older alias main, and on Windows the library entry
// that records the module handle the editor needs for its window class and pictures.

#include <mutex>

#include "Brask.h"

#ifdef _WIN32
#include <windows.h>

#include "gui/win/ModuleHandle.h"
#define BRASK_EXPORT extern "C" __declspec(dllexport)
#else
#define BRASK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// Instances are created one at a time; the lock lives from first use until the module unloads.
std::mutex& CreationLock() {
  static std::mutex lock;
  return lock;
}

AEffect* CreateEffect(audioMasterCallback host) {
  // Every later host request goes through the callback; without one there is no host to serve.
  if (!host) return nullptr;
  std::lock_guard<std::mutex> lock(CreationLock());
  try {
    Brask* plug = new Brask(host);
    plug->FillDefaultPresets("Empty", plug->PresetCount());
    AEffect* effect = plug->Effect();
    if (effect->numPrograms < 1) effect->numPrograms = 1;
    return effect;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

BRASK_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) { return CreateEffect(host); }

// A C++ function cannot be called main unless it returns int, so the alias gets its exported
// name from the assembler.
BRASK_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback host) __asm__("main");
BRASK_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback host) { return VSTPluginMain(host); }

#ifdef _WIN32
namespace {
HINSTANCE gModuleInstance = nullptr;
}  // namespace

HINSTANCE BraskModuleHandle() { return gModuleInstance; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  gModuleInstance = instance;
  return TRUE;
}
#endif
