// The factory presets' .fxp files loaded into the module as a VST 2 host loads a program file:
// the host checks the published header ("CcnK", "FPCh", the plug-in's unique ID) and hands
// the chunk to effSetChunk for a single program. Each preset then holds exactly the table's
// values, and the program chunk the module writes back is the file's. A chunk cut short or of a
// newer format changes nothing.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Vst2Test.h"
#include "plugin/BraskPresets.h"
#include "support/FileBytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr VstInt32 kProgramChunk = 1;
constexpr size_t kChunkAt = 60;  // the published header, name and chunk size come first

// BRASK_PRESET_DIR points the tests at installed presets.
Bytes PresetFile(const char* name) {
  const char* other = std::getenv("BRASK_PRESET_DIR");
  return ReadFileBytes(std::string(other && *other ? other : BRASK_PRESET_FILES_DIR) + "/" + name +
                       ".fxp");
}

int32_t BigEndianAt(const Bytes& bytes, size_t at) {
  return int32_t(uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                 uint32_t(bytes[at + 2]) << 8 | uint32_t(bytes[at + 3]));
}

Bytes ProgramChunkOf(const double (&values)[kBraskParamCount]) {
  const uint8_t header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  Bytes bytes(sizeof header + sizeof values);
  std::memcpy(bytes.data(), header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, values, sizeof values);
  return bytes;
}

class FactoryPresets : public Vst2Test {
 protected:
  void SetUp() override {
    Vst2Test::SetUp();
    plug = CreateStarted(host, 64);
    ASSERT_TRUE(*plug);
  }
  Bytes Saved() const {
    void* data = nullptr;
    const VstIntPtr size = plug->Dispatch(effGetChunk, kProgramChunk, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes ? Bytes(bytes, bytes + size) : Bytes();
  }
  VstIntPtr Load(Bytes chunk) const {
    return plug->Dispatch(effSetChunk, kProgramChunk, VstIntPtr(chunk.size()), chunk.data());
  }
  std::unique_ptr<HostedEffect> plug;
};

TEST_F(FactoryPresets, EachLoadsExactlyTheTablesValues) {
  const AEffect* effect = plug->Effect();
  for (const BraskPreset& preset : kBraskPresets) {
    SCOPED_TRACE(preset.name);
    const Bytes file = PresetFile(preset.name);
    ASSERT_GE(file.size(), kChunkAt);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "CcnK");
    EXPECT_EQ(BigEndianAt(file, 4), int32_t(file.size() - 8));
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "FPCh");
    EXPECT_EQ(BigEndianAt(file, 16), effect->uniqueID);
    EXPECT_EQ(BigEndianAt(file, 20), effect->version);
    EXPECT_EQ(BigEndianAt(file, 24), effect->numParams);
    EXPECT_STREQ(reinterpret_cast<const char*>(file.data() + 28), preset.name);
    ASSERT_EQ(size_t(BigEndianAt(file, 56)), file.size() - kChunkAt);
    const Bytes chunk(file.begin() + kChunkAt, file.end());
    ASSERT_EQ(Load(chunk), 1);
    EXPECT_EQ(Saved(), ProgramChunkOf(preset.values)) << "the plug-in holds other values";
    EXPECT_EQ(Saved(), chunk) << "the file carries other bytes than the module writes";
    EXPECT_EQ(plug->Text(effGetProgramName), "-") << "the program list stays as it is";
  }
}

TEST_F(FactoryPresets, ChunksCutShortOrOfANewerFormatChangeNothing) {
  const Bytes file = PresetFile("Room Mic Crush");
  ASSERT_GT(file.size(), kChunkAt);
  const Bytes chunk(file.begin() + kChunkAt, file.end());
  ASSERT_EQ(Load(ProgramChunkOf(FindBraskPreset("init")->values)), 1);
  const Bytes init = Saved();
  for (size_t length : {size_t(0), size_t(4), size_t(8), size_t(40), chunk.size() - 1}) {
    EXPECT_EQ(Load(Bytes(chunk.begin(), chunk.begin() + ptrdiff_t(length))), 0) << length;
    EXPECT_EQ(Saved(), init) << length;
  }
  Bytes newer = chunk;
  newer[6] = 0x02;  // format version 0x00020000
  EXPECT_EQ(Load(newer), 0);
  EXPECT_EQ(Saved(), init);
}

}  // namespace
