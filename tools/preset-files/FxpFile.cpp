#include "FxpFile.h"

#include <cstring>

#include "PresetBytes.h"

namespace {

constexpr char kFileId[] = "CcnK";
constexpr char kChunkProgramId[] = "FPCh";
constexpr size_t kHeaderSize = 7 * 4 + FxpProgram::kNameSize + 4;  // up to the chunk

std::string Number(uint64_t value) { return std::to_string(value); }

int32_t Field(const std::vector<uint8_t>& bytes, size_t at) {
  return int32_t(uint32_t(GetBig(bytes, at, 4)));
}

bool StartsAsFxp(const std::vector<uint8_t>& bytes, std::string* error) {
  for (size_t i = 0; i < 4 && i < bytes.size(); ++i) {
    if (bytes[i] != uint8_t(kFileId[i])) {
      *error = "not a VST 2 preset: it does not start with \"CcnK\"";
      return false;
    }
  }
  if (bytes.size() < 12) {
    *error = "truncated: " + Number(bytes.size()) + " bytes";
    return false;
  }
  const std::string kind = ChunkIdText(bytes, 8);
  if (kind == "FxCk") {
    *error =
        "a program kept as a parameter list (\"FxCk\"); only chunk programs (\"FPCh\") "
        "are read";
    return false;
  }
  if (kind == "FBCh" || kind == "FxBk") {
    *error = "a bank of programs (\"" + kind + "\", an .fxb file), not a single program";
    return false;
  }
  if (kind != kChunkProgramId) {
    *error = "not a VST 2 program: its kind is \"" + kind + "\"";
    return false;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> WriteFxp(const FxpProgram& program) {
  std::vector<uint8_t> out;
  PutText(&out, kFileId);
  PutBig(&out, kHeaderSize - 8 + program.chunk.size(), 4);
  PutText(&out, kChunkProgramId);
  PutBig(&out, uint32_t(program.version), 4);
  PutBig(&out, uint32_t(program.fxId), 4);
  PutBig(&out, uint32_t(program.fxVersion), 4);
  PutBig(&out, uint32_t(program.numParams), 4);
  std::string name = program.name.substr(0, FxpProgram::kNameSize - 1);
  name.resize(FxpProgram::kNameSize, '\0');
  PutText(&out, name);
  PutBig(&out, program.chunk.size(), 4);
  out.insert(out.end(), program.chunk.begin(), program.chunk.end());
  return out;
}

bool ReadFxp(const std::vector<uint8_t>& bytes, FxpProgram* program, std::string* error) {
  *program = FxpProgram();
  if (!StartsAsFxp(bytes, error)) return false;
  if (bytes.size() < kHeaderSize) {
    *error = "truncated: " + Number(bytes.size()) + " bytes, less than the " + Number(kHeaderSize) +
             "-byte header of a VST 2 program";
    return false;
  }
  program->version = Field(bytes, 12);
  if (program->version > FxpProgram::kFormatVersion) {
    *error = "made in VST 2 program format version " + std::to_string(program->version) +
             ", newer than version 1, the one this reader knows";
    return false;
  }
  program->fxId = Field(bytes, 16);
  program->fxVersion = Field(bytes, 20);
  program->numParams = Field(bytes, 24);
  const char* name = reinterpret_cast<const char*>(bytes.data() + 28);
  program->name.assign(name, strnlen(name, FxpProgram::kNameSize - 1));
  const uint64_t chunkSize = uint32_t(Field(bytes, kHeaderSize - 4));
  if (chunkSize > bytes.size() - kHeaderSize) {
    *error = "truncated: its chunk of " + Number(chunkSize) + " bytes needs a file of " +
             Number(kHeaderSize + chunkSize) + " bytes, it has " + Number(bytes.size());
    return false;
  }
  program->chunk.assign(bytes.begin() + kHeaderSize,
                        bytes.begin() + ptrdiff_t(kHeaderSize + chunkSize));
  return true;
}
