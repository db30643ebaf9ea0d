#include "VstPresetFile.h"

#include <cctype>
#include <cstdio>

#include "PresetBytes.h"

namespace {

constexpr char kHeaderId[] = "VST3";
constexpr char kListId[] = "List";
constexpr size_t kClassIdSize = 32;
constexpr size_t kHeaderSize = 4 + 4 + kClassIdSize + 8;
constexpr size_t kEntrySize = 4 + 8 + 8;
// More entries than any plug-in writes; a count beyond it is damage, not data.
constexpr uint64_t kMostEntries = 128;

std::string Number(uint64_t value) { return std::to_string(value); }

bool HasId(const std::vector<uint8_t>& bytes, size_t at, const char* id) {
  for (size_t i = 0; i < 4; ++i) {
    if (at + i >= bytes.size() || bytes[at + i] != uint8_t(id[i])) return false;
  }
  return true;
}

bool ReadHeader(const std::vector<uint8_t>& bytes, VstPreset* preset, uint64_t* listOffset,
                std::string* error) {
  const size_t known = bytes.size() < 4 ? bytes.size() : 4;
  for (size_t i = 0; i < known; ++i) {
    if (bytes[i] != uint8_t(kHeaderId[i])) {
      *error = "not a VST 3 preset: it does not start with \"VST3\"";
      return false;
    }
  }
  if (bytes.size() < kHeaderSize) {
    *error = "truncated: " + Number(bytes.size()) + " bytes, less than the " + Number(kHeaderSize) +
             "-byte header of a VST 3 preset";
    return false;
  }
  preset->version = int32_t(uint32_t(GetLittle(bytes, 4, 4)));
  if (preset->version > VstPreset::kFormatVersion) {
    *error = "made in VST 3 preset format version " + std::to_string(preset->version) +
             ", newer than version 1, the one this reader knows";
    return false;
  }
  if (preset->version < 1) {
    *error = "damaged: its format version is " + std::to_string(preset->version);
    return false;
  }
  preset->classId.assign(bytes.begin() + 8, bytes.begin() + 8 + kClassIdSize);
  for (char c : preset->classId) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      *error = "damaged: its class ID is not 32 hexadecimal digits";
      return false;
    }
  }
  *listOffset = GetLittle(bytes, 8 + kClassIdSize, 8);
  return true;
}

bool ReadChunkList(const std::vector<uint8_t>& bytes, uint64_t listOffset, VstPreset* preset,
                   std::string* error) {
  const uint64_t size = bytes.size();
  if (listOffset < kHeaderSize) {
    *error = "damaged: its chunk list would start inside the header, at byte " + Number(listOffset);
    return false;
  }
  if (listOffset > size || size - listOffset < 8) {
    *error = "truncated: its chunk list should start at byte " + Number(listOffset) +
             ", but the file ends at byte " + Number(size);
    return false;
  }
  if (!HasId(bytes, size_t(listOffset), kListId)) {
    *error = "damaged: no chunk list (\"List\") at byte " + Number(listOffset);
    return false;
  }
  const uint64_t count = GetLittle(bytes, size_t(listOffset) + 4, 4);
  if (count > kMostEntries) {
    *error = "damaged: its chunk list claims " + Number(count) + " chunks";
    return false;
  }
  const uint64_t entries = listOffset + 8;
  if ((size - entries) / kEntrySize < count) {
    *error =
        "truncated: its chunk list of " + Number(count) + " entries ends past byte " + Number(size);
    return false;
  }
  for (uint64_t i = 0; i < count; ++i) {
    const size_t at = size_t(entries + i * kEntrySize);
    const uint64_t offset = GetLittle(bytes, at + 4, 8);
    const uint64_t length = GetLittle(bytes, at + 12, 8);
    VstPresetChunk chunk;
    chunk.id = ChunkIdText(bytes, at);
    if (offset < kHeaderSize || offset > listOffset || listOffset - offset < length) {
      *error = "truncated: its \"" + chunk.id + "\" chunk of " + Number(length) +
               " bytes at byte " + Number(offset) + " lies outside the data area (bytes " +
               Number(kHeaderSize) + " to " + Number(listOffset) + ")";
      return false;
    }
    chunk.data.assign(bytes.begin() + ptrdiff_t(offset),
                      bytes.begin() + ptrdiff_t(offset + length));
    preset->chunks.push_back(std::move(chunk));
  }
  return true;
}

}  // namespace

const VstPresetChunk* VstPreset::Find(const std::string& id) const {
  for (const VstPresetChunk& chunk : chunks) {
    if (chunk.id == id) return &chunk;
  }
  return nullptr;
}

std::vector<uint8_t> WriteVstPreset(const VstPreset& preset) {
  std::vector<uint8_t> out;
  PutText(&out, kHeaderId);
  PutLittle(&out, uint32_t(preset.version), 4);
  std::string classId = preset.classId;
  classId.resize(kClassIdSize, '0');
  PutText(&out, classId);
  const size_t listOffsetAt = out.size();
  PutLittle(&out, 0, 8);
  std::vector<uint64_t> offsets;
  for (const VstPresetChunk& chunk : preset.chunks) {
    offsets.push_back(out.size());
    out.insert(out.end(), chunk.data.begin(), chunk.data.end());
  }
  const uint64_t listOffset = out.size();
  for (int i = 0; i < 8; ++i) out[listOffsetAt + size_t(i)] = uint8_t(listOffset >> (8 * i));
  PutText(&out, kListId);
  PutLittle(&out, preset.chunks.size(), 4);
  for (size_t i = 0; i < preset.chunks.size(); ++i) {
    std::string id = preset.chunks[i].id;
    id.resize(4, ' ');
    PutText(&out, id);
    PutLittle(&out, offsets[i], 8);
    PutLittle(&out, preset.chunks[i].data.size(), 8);
  }
  return out;
}

bool ReadVstPreset(const std::vector<uint8_t>& bytes, VstPreset* preset, std::string* error) {
  *preset = VstPreset();
  uint64_t listOffset = 0;
  if (!ReadHeader(bytes, preset, &listOffset, error) ||
      !ReadChunkList(bytes, listOffset, preset, error)) {
    return false;
  }
  if (!preset->Find("Comp")) {
    *error = "damaged: it holds no component state (\"Comp\" chunk)";
    return false;
  }
  return true;
}

std::string VstClassIdText(const uint8_t (&id)[16], bool guidLayout) {
  char text[kClassIdSize + 1];
  if (guidLayout) {
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X%02X%02X", id[3], id[2], id[1], id[0],
                  id[5], id[4], id[7], id[6]);
  } else {
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X%02X%02X", id[0], id[1], id[2], id[3],
                  id[4], id[5], id[6], id[7]);
  }
  for (int i = 8; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02X", id[i]);
  return text;
}
