// preset-files: writes the factory presets of plugin/BraskPresets.h as VST 3 and VST 2 preset
// files, at build time: one <name>.vstpreset and one <name>.fxp per preset, into one folder.
//
//   preset-files OUTDIR [--guid-class-id]
//
// Each file carries the state the modules themselves write for the preset's values: the VST 3
// controller state (the parameter block, then the host-bypass flag, off; the component keeps
// no state, so its chunk is empty, as hosts save it) and the VST 2 program chunk (the "tffp"
// header, then the parameter block). --guid-class-id names the class as the Windows SDK reads
// it. Preset files in OUTDIR that the table no longer holds are removed.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BraskPresets.h"
#include "ChunkHeader.h"
#include "DecimalVersion.h"
#include "FxpFile.h"
#include "StateChunk.h"
#include "VstPresetFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const StateChunk& chunk) {
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The metadata preset browsers show: the plug-in, its category and the preset's name.
std::string MetaInfo(const BraskPreset& preset) {
  const auto attribute = [](const char* id, const std::string& value) {
    return std::string("\t<Attribute id=\"") + id + "\" value=\"" + XmlEscaped(value) +
           "\" type=\"string\" flags=\"writeProtected\"/>\n";
  };
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MetaInfo>\n" +
         attribute("MediaType", "VstPreset") + attribute("PlugInName", kBraskEffectName) +
         attribute("PlugInCategory", kBraskCategory) + attribute("Name", preset.name) +
         "</MetaInfo>\n";
}

std::vector<uint8_t> Vst3File(const BraskPreset& preset, bool guidClassId) {
  StateChunk controllerState;
  BraskPresetBlock(preset, &controllerState);
  controllerState.PutInt32(0);  // the host's bypass, off
  const std::string info = MetaInfo(preset);
  VstPreset file;
  file.classId = VstClassIdText(kBraskVst3ClassId, guidClassId);
  // The controller state comes last, so its list entry is the file's last bytes: a file cut
  // short anywhere loses that entry, and hosts then load nothing rather than a stale state.
  file.chunks = {{"Comp", {}},
                 {"Info", std::vector<uint8_t>(info.begin(), info.end())},
                 {"Cont", Bytes(controllerState)}};
  return WriteVstPreset(file);
}

std::vector<uint8_t> Vst2File(const BraskPreset& preset) {
  StateChunk programChunk;
  programChunk.PutInt32(kChunkHeaderMagic);
  programChunk.PutInt32(kChunkHeaderVersion);
  BraskPresetBlock(preset, &programChunk);
  FxpProgram program;
  program.fxId = kBraskUniqueId;
  program.fxVersion = DecimalVersion(kBraskVersion);  // as the effect record reports it
  program.numParams = kBraskParamCount;
  program.name = preset.name;
  program.chunk = Bytes(programChunk);
  return WriteFxp(program);
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// Removes preset files whose preset has left the table (or been renamed).
void RemoveStaleFiles(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const fs::path path = entry.path();
    if (path.extension() != ".vstpreset" && path.extension() != ".fxp") continue;
    bool current = false;
    for (const BraskPreset& preset : kBraskPresets) {
      current = current || path.stem() == preset.name;
    }
    if (!current) fs::remove(path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool guidClassId = argc == 3 && std::strcmp(argv[2], "--guid-class-id") == 0;
  if (argc < 2 || argc > 3 || (argc == 3 && !guidClassId)) {
    std::fprintf(stderr, "usage: preset-files OUTDIR [--guid-class-id]\n");
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (failure) {
    std::fprintf(stderr, "preset-files: cannot create %s\n", argv[1]);
    return 1;
  }
  RemoveStaleFiles(folder);
  for (const BraskPreset& preset : kBraskPresets) {
    const fs::path base = folder / preset.name;
    if (!WriteFile(base.string() + ".vstpreset", Vst3File(preset, guidClassId)) ||
        !WriteFile(base.string() + ".fxp", Vst2File(preset))) {
      std::fprintf(stderr, "preset-files: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
