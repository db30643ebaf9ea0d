#pragma once
// BraskPresets: the factory presets, the one table every format's preset system is made from.
//
// Each entry is a starting point for one use and sets all eight parameters, in parameter index
// order and in their plain units. Nothing else defines a preset: at build time
// tools/preset-files writes the VST 3 (.vstpreset) and VST 2 (.fxp) files from this table and
// tools/lv2-turtle the LV2 bundle's presets.ttl. A format that keeps presets inside the plug-in
// (a CLAP preset-discovery provider with clap.preset-load) lists this table and loads an entry
// by its key through BraskPresetBlock and the core's LoadState, the path every state load takes.
//
// The plug-in's own program list stays the single "-" program: presets are data, never slots.
//
// Values are exactly representable as 32-bit floats (LV2 ports and VST 2 parameter floats carry
// them unchanged) and lie on the parameters' 0.01 step; the checks below hold the table to that
// at compile time, and the tests hold it to the parameter ranges.

#include <cstddef>

#include "BraskIdentity.h"

class StateChunk;

struct BraskPreset {
  const char* key;          ///< stable identifier (lower case, digits, '-'): LV2 URI, CLAP load key
  const char* name;         ///< what hosts show, and the preset files' name
  const char* description;  ///< what it is for, in one line
  double values[kBraskParamCount];  ///< Input, Output, Attack, Release, Mix, HPF, Bypass, Sidechain
};

// Values in parameter order: Input, Output, Attack, Release, Mix, HPF, Bypass, Sidechain.
inline constexpr BraskPreset kBraskPresets[] = {
    {"init",
     "Init",
     "The defaults: no compression until Input is raised",
     {0, 0, 10, 400, 100, 20, 1, 0}},
    {"drum-bus-glue",
     "Drum Bus Glue",
     "Slow attack, quick release: holds a drum bus together, lows kept out of the detector",
     {4, 2, 30, 300, 100, 80, 1, 0}},
    {"punchy-snare",
     "Punchy Snare",
     "The stick passes, the body comes up after it; kick bleed kept out of the detector",
     {8, 3, 20, 100, 100, 150, 1, 0}},
    {"vocal-leveller",
     "Vocal Leveller",
     "Fast attack and slow release keep a voice at one level",
     {7, 4, 8, 900, 100, 100, 1, 0}},
    {"bass-control",
     "Bass Control",
     "Evens out a bass line without choking its attack",
     {6, 3, 24, 600, 100, 30, 1, 0}},
    {"acoustic-guitar",
     "Acoustic Guitar",
     "Light, open levelling of strummed or picked guitar",
     {5, 3, 16, 700, 100, 80, 1, 0}},
    {"piano",
     "Piano",
     "Gentle control with a long release that leaves the decay alone",
     {3, 2, 30, 1200, 100, 40, 1, 0}},
    {"mix-bus-gentle",
     "Mix Bus Gentle",
     "One or two decibels of slow glue for a whole mix",
     {2, 1, 40, 1500, 100, 60, 1, 0}},
    {"parallel-smash",
     "Parallel Smash",
     "A crushed copy blended under the dry signal (Mix 45)",
     {20, 20, 1, 200, 45, 20, 1, 0}},
    {"side-chain-duck",
     "Side-Chain Duck",
     "Ducks under the side-chain input, a kick or a voice (Sidechain on)",
     {12, 0, 1, 200, 100, 20, 1, 1}},
    {"room-mic-crush",
     "Room Mic Crush",
     "Heavy, fast compression that pulls up a room's sound",
     {18, 14, 1, 100, 100, 120, 1, 0}},
    {"limiter-like-catch",
     "Limiter-Like Catch",
     "Fastest attack and release catch the peaks; Output gives the level back",
     {3, 4, 1, 100, 100, 20, 1, 0}},
};

inline constexpr int kBraskPresetTableSize = int(sizeof(kBraskPresets) / sizeof(kBraskPresets[0]));

// The entry with that key, or null.
const BraskPreset* FindBraskPreset(const char* key);
// Appends the preset's parameter block: the bytes SaveState writes for its values, which
// LoadState (every format's state path) reads back. False when the chunk could not grow.
bool BraskPresetBlock(const BraskPreset& preset, StateChunk* chunk);

// ---compile-time checks on the table---
namespace brask_presets_detail {

constexpr bool IsKeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Names become file names on every system: no path, wildcard or reserved characters, and no
// leading or trailing space. 27 characters fit the VST 2 preset file's name field.
constexpr bool IsNameCharacter(char c) {
  return c >= ' ' && c != '/' && c != '\\' && c != ':' && c != '*' && c != '?' && c != '"' &&
         c != '<' && c != '>' && c != '|' && c != '[' && c != ']';
}

constexpr int Length(const char* text) {
  int n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

constexpr bool SameText(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

constexpr bool KeyIsValid(const char* key) {
  if (key[0] == '\0') return false;
  for (const char* c = key; *c != '\0'; ++c) {
    if (!IsKeyCharacter(*c)) return false;
  }
  return true;
}

constexpr bool NameIsValid(const char* name) {
  const int length = Length(name);
  if (length == 0 || length > 27 || name[0] == ' ' || name[length - 1] == ' ') return false;
  for (const char* c = name; *c != '\0'; ++c) {
    if (!IsNameCharacter(*c)) return false;
  }
  return true;
}

// A float carries the value unchanged, and the value sits on the 0.01 step grid.
constexpr bool ValueIsExact(double value) {
  const double hundredths = value * 100.0;
  const long long whole =
      static_cast<long long>(hundredths < 0 ? hundredths - 0.5 : hundredths + 0.5);
  return double(float(value)) == value && hundredths == double(whole);
}

constexpr bool TableIsValid() {
  for (int i = 0; i < kBraskPresetTableSize; ++i) {
    const BraskPreset& p = kBraskPresets[i];
    if (!KeyIsValid(p.key) || !NameIsValid(p.name) || Length(p.description) == 0) return false;
    for (double value : p.values) {
      if (!ValueIsExact(value)) return false;
    }
    for (int j = 0; j < i; ++j) {
      if (SameText(p.key, kBraskPresets[j].key) || SameText(p.name, kBraskPresets[j].name)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace brask_presets_detail

static_assert(kBraskPresetTableSize >= 10 && kBraskPresetTableSize <= 12,
              "ten to twelve factory presets");
static_assert(brask_presets_detail::TableIsValid(),
              "every preset needs a unique key and file-safe name, and float-exact values on "
              "the 0.01 step");
