#include "BraskPresets.h"

#include <cstring>

#include "StateChunk.h"

const BraskPreset* FindBraskPreset(const char* key) {
  if (!key) return nullptr;
  for (const BraskPreset& preset : kBraskPresets) {
    if (std::strcmp(preset.key, key) == 0) return &preset;
  }
  return nullptr;
}

// The layout of the core's parameter block: every value as a double, in index order.
bool BraskPresetBlock(const BraskPreset& preset, StateChunk* chunk) {
  if (!chunk) return false;
  bool ok = true;
  for (double value : preset.values) ok = chunk->PutDouble(value) && ok;
  return ok;
}
