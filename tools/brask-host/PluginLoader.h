#pragma once
// PluginLoader: opens a module by path and picks its format the way a host scanning a folder
// would: a .vst3 bundle folder, or a binary exporting GetPluginFactory, is VST 3; a binary
// exporting VSTPluginMain or main is VST 2; a binary exporting clap_entry is CLAP.

#include <memory>
#include <string>

#include "HostedPlugin.h"

// className picks one audio-effect class of a VST 3 factory by name, or one plug-in of a CLAP
// module by id (empty: the first); VST 2 modules hold one plug-in and refuse a class name.
std::unique_ptr<HostedPlugin> LoadPlugin(const std::string& path, std::string* error,
                                         const std::string& className = "");
