#pragma once
// Vst3Module: loads a built VST 3 module by path, the way a host does (dlopen or LoadLibrary),
// calls its entry point, and hands out its exported functions. Nothing of the plug-in is
// linked into the test program: everything goes through the module's exports.

#include <string>

#include "pluginterfaces/base/ipluginbase.h"

class Vst3Module {
 public:
  explicit Vst3Module(const std::string& path);
  ~Vst3Module();
  Vst3Module(const Vst3Module&) = delete;
  Vst3Module& operator=(const Vst3Module&) = delete;

  bool Loaded() const { return handle != nullptr; }
  const std::string& Error() const { return error; }
  // The result of the entry call made at load (InitDll / ModuleEntry).
  bool EntryResult() const { return entryResult; }
  // A new reference to the process factory (the caller releases it); null when missing.
  Steinberg::IPluginFactory* Factory();
  // Calls the exit entry point (ExitDll / ModuleExit) and answers its result.
  bool CallExit();
  // The address of any export, null when the module does not export it.
  void* Export(const char* name) const;

 private:
  void* handle = nullptr;
  bool entryResult = false;
  std::string error;
};

// The Brask module this test program was built against (or the one BRASK_VST3_MODULE names),
// loaded once.
Vst3Module& BraskModule();
