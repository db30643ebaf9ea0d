#include "Vst3Module.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

using namespace Steinberg;

namespace {
using EntryWithHandle = bool (*)(void*);
using EntryWithoutArgument = bool (*)();
}  // namespace

Vst3Module::Vst3Module(const std::string& path) {
#if defined(_WIN32)
  handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle) {
    error = "LoadLibrary failed for " + path;
    return;
  }
  if (auto init = reinterpret_cast<EntryWithoutArgument>(Export("InitDll"))) entryResult = init();
#else
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    error = dlerror();
    return;
  }
  if (auto entry = reinterpret_cast<EntryWithHandle>(Export("ModuleEntry"))) {
    entryResult = entry(handle);
  }
#endif
}

Vst3Module::~Vst3Module() {
  if (!handle) return;
  CallExit();
#if defined(_WIN32)
  FreeLibrary(reinterpret_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

void* Vst3Module::Export(const char* name) const {
  if (!handle) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

IPluginFactory* Vst3Module::Factory() {
  auto getFactory = reinterpret_cast<GetFactoryProc>(Export("GetPluginFactory"));
  return getFactory ? getFactory() : nullptr;
}

bool Vst3Module::CallExit() {
#if defined(_WIN32)
  auto exit = reinterpret_cast<EntryWithoutArgument>(Export("ExitDll"));
#else
  auto exit = reinterpret_cast<EntryWithoutArgument>(Export("ModuleExit"));
#endif
  return exit && exit();
}

Vst3Module& BraskModule() {
  // BRASK_VST3_MODULE points the tests at another copy: the packaging test loads the one an
  // installer put in place.
  static Vst3Module module([] {
    const char* other = std::getenv("BRASK_VST3_MODULE");
    return std::string(other && *other ? other : BRASK_VST3_MODULE_PATH);
  }());
  return module;
}
