#pragma once
// VstModule: a built VST 2 module loaded by path, as a host loads it, with access to its two
// exported entry points. The module stays loaded until the object is destroyed.

#include <string>

#include "vst2/AEffect.h"

class VstModule {
 public:
  explicit VstModule(const std::string& path);
  ~VstModule();
  VstModule(const VstModule&) = delete;
  VstModule& operator=(const VstModule&) = delete;

  bool IsLoaded() const { return mHandle != nullptr; }
  const std::string& Error() const { return mError; }
  // The exported entry point of that name ("VSTPluginMain" or "main"), or null.
  VstPluginMainProc Entry(const char* name) const;

 private:
  void* mHandle = nullptr;
  std::string mError;
};

// The module this test program was built with: BRASK_VST2_MODULE in the environment, else the
// path the build recorded.
std::string BuiltModulePath();
