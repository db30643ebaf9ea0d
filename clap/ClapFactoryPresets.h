#pragma once
// The factory presets as CLAP offers them: a preset-discovery factory with one provider, whose
// one location is the plug-in itself, and the parameter block a preset's load key stands for.

#include "clap/abi/ClapPresets.h"

class StateChunk;

const clap_preset_discovery_factory_t& FactoryPresetDiscovery();

// Appends the parameter block of the preset with that load key; false for an unknown key.
bool AppendFactoryPresetBlock(const char* loadKey, StateChunk* chunk);
