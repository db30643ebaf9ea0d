#pragma once
// BraskTurtle: the LV2 bundle's Turtle, written from a live plug-in object, so the ports'
// names, ranges and defaults are the parameter records' own and cannot drift from the code.

#include <string>

class IPlugBase;

struct BraskPreset;

// manifest.ttl: the plug-in and its UI with their binaries, both described in brask.ttl, and
// the factory presets, described in presets.ttl.
std::string ManifestTurtle(const std::string& dspBinary, const std::string& uiBinary);
// brask.ttl: identity, every port and the UI; enabledParam is the power switch that the
// host may use as the plug-in's own bypass (1 processes).
std::string PluginTurtle(IPlugBase* plug, int enabledParam);
// presets.ttl: every factory preset, with its label, comment and every control port's value.
// False, with the reason in *error, when a preset sets a value outside its parameter's range.
bool PresetsTurtle(IPlugBase* plug, std::string* turtle, std::string* error);
// The URI that names a factory preset.
std::string PresetUri(const BraskPreset& preset);
