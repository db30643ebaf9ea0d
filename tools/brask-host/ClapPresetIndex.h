#pragma once
// ClapPresetIndex: a CLAP module's presets as a host's browser indexes them: every provider of
// the module's preset-discovery factory is made with an indexer record, declares its locations
// in init, and reports the presets of each location the plug-in itself holds. Preset files on
// disk (the other kind of location) are not crawled: Brask declares none.

#include <string>
#include <vector>

#include "HostedPlugin.h"
#include "clap/abi/ClapPresets.h"

// The presets that name pluginId (or no plug-in at all), in the providers' order.
std::vector<PluginPreset> IndexClapPresets(const clap_plugin_entry_t* entry,
                                           const std::string& pluginId);
