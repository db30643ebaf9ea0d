// The state and preset operations of IPlugBase: parameter blocks, the VST 2 chunk header and
// the preset slots with their bank layout.
#include <cstdio>
#include <cstring>

#include "ChunkHeader.h"
#include "IPlugBase.h"

namespace {

constexpr const char* kUserPresetName = "user preset";

}  // namespace

bool IPlugBase::SerializeParams(StateChunk* chunk) {
  if (!chunk) return false;
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  bool ok = true;
  for (const IParamRecord& param : mParams) ok = chunk->PutDouble(param.Value()) && ok;
  return ok;
}

// A block is taken whole or not at all: a block that ends early (a truncated preset or state)
// leaves every value as it was, rather than loading some values and zeroing the next. The size
// is checked first, so nothing is buffered (a program change loads a preset on the audio thread).
int IPlugBase::UnserializeParams(const StateChunk* chunk, int startPos) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  const int64_t blockSize = int64_t(sizeof(double)) * ParamCount();
  if (!chunk || startPos < 0 || int64_t(chunk->Size()) - startPos < blockSize) return -1;
  int pos = startPos;
  for (IParamRecord& param : mParams) {
    double value = 0.0;
    pos = chunk->GetDouble(&value, pos);
    param.SetValueClamped(value);
  }
  for (int i = 0; i < ParamCount(); ++i) OnParamChanged(i);
  return pos;
}

void IPlugBase::WriteChunkHeader(StateChunk* chunk) {
  if (!chunk) return;
  chunk->Clear();
  chunk->PutInt32(kChunkHeaderMagic);
  chunk->PutInt32(kChunkHeaderVersion);
}

int IPlugBase::ReadChunkHeader(const StateChunk* chunk, int* pos) {
  int32_t magic = 0;
  int32_t version = 0;
  int next = 0;
  if (chunk && chunk->GetInt32(&magic, 0) == 4 && magic == kChunkHeaderMagic) {
    next = chunk->GetInt32(&version, 4) == 8 ? 8 : -1;
    if (next < 0) version = 0;
  }
  if (pos) *pos = next;
  return version;
}

PresetSlot* IPlugBase::PresetAt(int idx) {
  return idx >= 0 && idx < PresetCount() ? &mPresets[size_t(idx)] : nullptr;
}

void IPlugBase::ModifyCurrentPreset(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  PresetSlot* slot = PresetAt(mCurrentPreset);
  if (!slot) return;
  slot->chunk.Clear();
  SaveState(&slot->chunk);
  if (name && name[0] != '\0') slot->SetName(name);
}

bool IPlugBase::LoadPreset(int idx) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  PresetSlot* slot = PresetAt(idx);
  if (!slot) return false;
  bool result;
  if (slot->initialized) {
    result = LoadState(&slot->chunk, 0) > 0;
  } else {
    slot->initialized = true;
    int userPresets = 0;
    for (const PresetSlot& other : mPresets) {
      if (strstr(other.name, kUserPresetName)) ++userPresets;
    }
    snprintf(slot->name, sizeof(slot->name), "%s %d", kUserPresetName, userPresets + 1);
    // A slot a bank made uninitialised may still hold its old bytes, which would be read first.
    slot->chunk.Clear();
    result = SaveState(&slot->chunk);
  }
  if (result) {
    mCurrentPreset = idx;
    OnPresetListChanged();
    RefreshEditorFromParams();
  }
  return result;
}

void IPlugBase::FillDefaultPresets(const char* name, int count) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  for (int n = 0; n < count; ++n) {
    PresetSlot* slot = nullptr;
    for (PresetSlot& candidate : mPresets) {
      if (!candidate.initialized) {
        slot = &candidate;
        break;
      }
    }
    if (!slot) return;
    slot->initialized = true;
    slot->SetName(name ? name : "Empty");
    slot->chunk.Clear();
    SaveState(&slot->chunk);
  }
}

bool IPlugBase::SerializePresets(StateChunk* chunk) {
  if (!chunk) return false;
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  bool ok = true;
  for (size_t i = 0; i < mPresets.size() && ok; ++i) {
    const PresetSlot& slot = mPresets[i];
    ok = chunk->PutText(slot.name) && chunk->PutBool(slot.initialized);
    if (ok && slot.initialized) ok = chunk->PutChunk(&slot.chunk) && chunk->Size() > 0;
  }
  return ok;
}

int IPlugBase::UnserializePresets(const StateChunk* chunk, int startPos) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  const StateChunk empty;
  if (!chunk) chunk = &empty;
  int pos = startPos;
  for (size_t i = 0; i < mPresets.size() && pos >= 0; ++i) {
    PresetSlot& slot = mPresets[i];
    // A length or name cut short, or a negative length, is malformed: the slot stays as it was.
    char name[PresetSlot::kNameSize];
    int nameEnd = chunk->GetText(name, sizeof(name), pos);
    if (nameEnd < 0) {
      pos = -1;
      break;
    }
    slot.SetName(name);
    bool initialized = false;
    pos = chunk->GetBool(&initialized, nameEnd);
    if (pos < 0) break;
    slot.initialized = initialized;
    if (!slot.initialized) continue;
    pos = LoadState(chunk, pos);
    if (pos > 0) {
      slot.chunk.Clear();
      SaveState(&slot.chunk);
    }
  }
  LoadPreset(mCurrentPreset);
  return pos;
}
