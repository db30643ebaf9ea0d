#pragma once
// Module entry points a VST 3 host calls right after loading the module and right before
// unloading it: InitDll and ExitDll on Windows, ModuleEntry and ModuleExit on Linux. They
// record the module handle and otherwise do nothing; GetPluginFactory builds the factory
// on first use.

#include "pluginterfaces/base/fplatform.h"

extern "C" {
#if defined(_WIN32)
SMTG_EXPORT_SYMBOL bool InitDll();
SMTG_EXPORT_SYMBOL bool ExitDll();
#else
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* libraryHandle);
SMTG_EXPORT_SYMBOL bool ModuleExit();
#endif
}
