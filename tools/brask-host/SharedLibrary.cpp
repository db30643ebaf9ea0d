#include "SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

SharedLibrary::~SharedLibrary() {
  if (!handle) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

bool SharedLibrary::Open(const std::string& file, std::string* error) {
  path = file;
#if defined(_WIN32)
  handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle) {
    *error = "cannot load " + path;
    return false;
  }
#else
  // RTLD_LOCAL keeps two modules (VST 3 and VST 2 of the same plug-in) from sharing symbols.
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* message = dlerror();
    *error = message ? message : "cannot load " + path;
    return false;
  }
#endif
  return true;
}

void* SharedLibrary::Symbol(const char* name) const {
  if (!handle) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}
