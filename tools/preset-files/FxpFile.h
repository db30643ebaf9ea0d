#pragma once
// FxpFile: the VST 2 program file (.fxp) holding one program as an opaque chunk, as the format
// publishes it. Big-endian 32-bit fields:
//
//   "CcnK", byte size of the rest of the file, "FPCh", format version (1), the plug-in's
//   unique ID, the plug-in's version, its parameter count, the program name (28 bytes,
//   NUL-terminated), the chunk's size, then the chunk: the bytes the host hands to the
//   plug-in's effSetChunk for a single program.
//
// Reading checks every size against the file, so a damaged file is refused with the reason
// before any of it reaches a plug-in. Programs kept as parameter lists ("FxCk") and banks
// (.fxb) are refused by name.

#include <cstdint>
#include <string>
#include <vector>

struct FxpProgram {
  static constexpr int32_t kFormatVersion = 1;  ///< the one published version
  static constexpr int kNameSize = 28;          ///< terminator included

  int32_t version = kFormatVersion;
  int32_t fxId = 0;       ///< the plug-in's unique ID (AEffect uniqueID)
  int32_t fxVersion = 0;  ///< the plug-in's version (AEffect version)
  int32_t numParams = 0;
  std::string name;  ///< at most 27 characters
  std::vector<uint8_t> chunk;
};

std::vector<uint8_t> WriteFxp(const FxpProgram& program);
// Reads a whole file; false with the reason (no file name) in *error when it is not a complete
// chunk program of a format version this reader knows.
bool ReadFxp(const std::vector<uint8_t>& bytes, FxpProgram* program, std::string* error);
