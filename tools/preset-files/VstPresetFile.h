#pragma once
// VstPresetFile: the VST 3 preset file (.vstpreset) as the format publishes it. Little-endian
// throughout:
//
//   header (48 bytes)  "VST3", int32 format version (1), the class ID as 32 ASCII hexadecimal
//                      digits, int64 offset of the chunk list
//   chunk data         each chunk's bytes, one after the other
//   chunk list         "List", int32 entry count, then per chunk its ID (4 characters), int64
//                      offset and int64 size
//
// A host hands the 'Comp' chunk to the component's setState (and to the controller's
// setComponentState) and, when present, the 'Cont' chunk to the controller's setState; 'Info'
// holds XML metadata for preset browsers. Reading checks every offset and size against the
// file, so a damaged file is refused with the reason before any of it reaches a plug-in.

#include <cstdint>
#include <string>
#include <vector>

struct VstPresetChunk {
  std::string id;  ///< four characters: "Comp", "Cont", "Info", ...
  std::vector<uint8_t> data;
};

struct VstPreset {
  static constexpr int32_t kFormatVersion = 1;  ///< the one published version

  int32_t version = kFormatVersion;
  std::string classId;  ///< 32 hexadecimal digits, as the SDK of the plug-in's platform writes it
  std::vector<VstPresetChunk> chunks;  ///< in file order

  // The chunk with that ID, or null.
  const VstPresetChunk* Find(const std::string& id) const;
};

std::vector<uint8_t> WriteVstPreset(const VstPreset& preset);
// Reads a whole file; false with the reason (no file name) in *error when it is not a complete
// VST 3 preset of a version this reader knows, or has no 'Comp' chunk.
bool ReadVstPreset(const std::vector<uint8_t>& bytes, VstPreset* preset, std::string* error);

// The text by which a preset file names the 16-byte class ID, as the VST 3 SDK writes it: on
// Windows the SDK reads the first 8 bytes as a COM GUID (a little-endian 32-bit and two 16-bit
// numbers), elsewhere as plain bytes, so the same class has a different text per platform.
std::string VstClassIdText(const uint8_t (&id)[16], bool guidLayout);
