// The preset file formats as brask-host reads them: a generated file cut anywhere is refused as
// truncated, never read. (Damaged, foreign and newer files: tests/tools/PresetsTest.cpp.)

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FxpFile.h"
#include "VstPresetFile.h"
#include "support/FileBytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::string& path) { return ReadFileBytes(path); }

std::string PresetFile(const char* name, const char* extension) {
  return std::string(BRASK_PRESET_FILES_DIR) + "/" + name + extension;
}

// Cut anywhere, a file is refused as truncated (or, within its first bytes, as no preset).
TEST(PresetFormats, EveryTruncationIsRefused) {
  const Bytes vst3 = FileBytes(PresetFile("Init", ".vstpreset"));
  const Bytes vst2 = FileBytes(PresetFile("Init", ".fxp"));
  ASSERT_GT(vst3.size(), 100u);
  ASSERT_EQ(vst2.size(), 132u);
  for (size_t length = 0; length < vst3.size(); ++length) {
    VstPreset preset;
    std::string error;
    EXPECT_FALSE(
        ReadVstPreset(Bytes(vst3.begin(), vst3.begin() + ptrdiff_t(length)), &preset, &error));
    EXPECT_EQ(error.rfind("truncated", 0), 0u) << length << ": " << error;
  }
  for (size_t length = 0; length < vst2.size(); ++length) {
    FxpProgram program;
    std::string error;
    EXPECT_FALSE(ReadFxp(Bytes(vst2.begin(), vst2.begin() + ptrdiff_t(length)), &program, &error));
    EXPECT_EQ(error.rfind("truncated", 0), 0u) << length << ": " << error;
  }
}

}  // namespace
