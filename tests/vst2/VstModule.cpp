#include "VstModule.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

VstModule::VstModule(const std::string& path) {
#ifdef _WIN32
  mHandle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!mHandle) mError = "LoadLibrary failed with error " + std::to_string(GetLastError());
#else
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle) mError = dlerror();
#endif
}

VstModule::~VstModule() {
  if (!mHandle) return;
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(mHandle));
#else
  dlclose(mHandle);
#endif
}

VstPluginMainProc VstModule::Entry(const char* name) const {
  if (!mHandle) return nullptr;
#ifdef _WIN32
  // Through a generic pointer: FARPROC and the entry type are unrelated function types.
  void* proc = reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(mHandle), name));
#else
  void* proc = dlsym(mHandle, name);
#endif
  return reinterpret_cast<VstPluginMainProc>(proc);
}

std::string BuiltModulePath() {
  const char* overridden = getenv("BRASK_VST2_MODULE");
  if (overridden && *overridden) return overridden;
  std::string path = BRASK_VST2_MODULE_PATH;
#ifdef _WIN32
  // The build records a Unix path; Wine maps the Unix root to drive Z:.
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  return path;
}
