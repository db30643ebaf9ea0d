#pragma once
// PresetCatalog: where the preset files of a VST 3 or VST 2 module lie, as installs put them:
// presets/<maker>/<plug-in> in the module's own folder (~/.vst3/presets beside the bundles in
// ~/.vst3, the build tree's out/presets beside out/Brask.vst3), in the VST 3 folder next to a
// VST 2 folder (~/.vst3 next to ~/.vst), or in share/vst3/presets of the prefix the module is
// installed under (/usr/share/vst3/presets for /usr/lib/vst3 and /usr/lib/vst). VST 3 presets
// are the .vstpreset files there, VST 2 presets the .fxp files beside them.

#include <string>
#include <vector>

#include "HostedPlugin.h"

// ".vstpreset" or ".fxp", by the identity's format.
std::string PresetExtension(const HostIdentity& identity);
// The first of those folders that exists, or "" (then *searched lists where it looked).
std::string PresetFolder(const std::string& modulePath, const HostIdentity& identity,
                         std::vector<std::string>* searched);
// The files in folder with that extension, sorted by name.
std::vector<std::string> PresetFiles(const std::string& folder, const std::string& extension);
// The file a --preset argument names: an existing file, or a path ending in the extension, is
// taken as it is; anything else is the name of one of the module's presets.
bool ResolvePreset(const std::string& argument, const std::string& modulePath,
                   const HostIdentity& identity, std::string* path, std::string* error);
// The key of the plug-in's own preset (CLAP) that a --preset argument names, by name or key.
bool ResolvePluginPreset(const std::string& argument, HostedPlugin* plugin, std::string* key,
                         std::string* error);
// The name a host's preset menu shows for a file: its name without folder and extension.
std::string PresetName(const std::string& path);
