#include "SharedLibrary.h"

#include <dlfcn.h>

SharedLibrary::~SharedLibrary() {
  if (handle) dlclose(handle);
}

bool SharedLibrary::Open(const std::string& file, std::string* error) {
  path = file;
  // RTLD_LOCAL keeps two modules (VST 3 and VST 2 of the same plug-in) from sharing symbols.
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* message = dlerror();
    *error = message ? message : "cannot load " + path;
    return false;
  }
  return true;
}

void* SharedLibrary::Symbol(const char* name) const {
  return handle ? dlsym(handle, name) : nullptr;
}
