// The factory presets' .vstpreset files loaded into the module as hosts load them: by the
// VST 3 SDK's own preset reader, which checks the class, hands the component state to the
// component and to the controller, and the controller state to the controller. Each preset
// then holds exactly the table's values, and the state the module writes back is the one in
// the file. A damaged or foreign file changes nothing.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Vst3Plugin.h"
#include "plugin/BraskPresets.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"
#include "support/FileBytes.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Bytes = std::vector<uint8_t>;

// BRASK_PRESET_DIR points the tests at installed presets (the installer test's).
std::string PresetPath(const char* name) {
  const char* other = std::getenv("BRASK_PRESET_DIR");
  const std::string folder = other && *other ? other : BRASK_PRESET_FILES_DIR;
  return folder + "/" + name + ".vstpreset";
}

Bytes ReadFile(const std::string& path) { return ReadFileBytes(path); }

Bytes StateOf(const double (&values)[kBraskParamCount]) {
  Bytes bytes;
  for (double value : values) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i) bytes.push_back(uint8_t(bits >> (8 * i)));
  }
  bytes.insert(bytes.end(), {0, 0, 0, 0});  // the host's bypass, off
  return bytes;
}

bool Contains(const Bytes& haystack, const Bytes& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
         haystack.end();
}

class FactoryPresets : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plug.Valid());
    ASSERT_EQ(plug.component->initialize(&plug.host), kResultOk);
    ASSERT_EQ(plug.Setup(48000.0, 64, kSample64), kResultOk);
  }

  // The SDK's preset loading, on a copy of the file's bytes.
  bool Load(Bytes file) {
    IPtr<MemoryStream> stream = owned(new MemoryStream(file.data(), TSize(file.size())));
    return PresetFile::loadPreset(stream, FUID::fromTUID(kBraskClassId), plug.component,
                                  plug.controller);
  }

  Bytes Saved() {
    TestStream stream;
    EXPECT_EQ(plug.controller->getState(&stream), kResultOk);
    return stream.bytes;
  }

  Vst3Plugin plug;
};

TEST_F(FactoryPresets, EachLoadsExactlyTheTablesValues) {
  for (const BraskPreset& preset : kBraskPresets) {
    SCOPED_TRACE(preset.name);
    const Bytes file = ReadFile(PresetPath(preset.name));
    ASSERT_FALSE(file.empty()) << PresetPath(preset.name);
    ASSERT_TRUE(Load(file));
    const Bytes state = Saved();
    EXPECT_EQ(state, StateOf(preset.values)) << "the plug-in holds other values";
    EXPECT_TRUE(Contains(file, state)) << "the file carries other bytes than the module writes";
  }
}

// Each damaged copy of a preset is offered after Init is loaded; Init must still be there.
// Cut anywhere, a file loses the controller state's list entry, which comes last.
TEST_F(FactoryPresets, DamagedOrForeignFilesChangeNothing) {
  const Bytes good = ReadFile(PresetPath("Room Mic Crush"));
  ASSERT_GT(good.size(), 48u + 68u);
  Bytes foreign = good;
  foreign[8 + 31] = foreign[8 + 31] == '0' ? '1' : '0';  // the last digit of the class ID
  Bytes shortState = good;  // the 'Cont' entry (the last) claims 40 of its 68 bytes
  shortState[good.size() - 8] = 40;
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"cut in half", Bytes(good.begin(), good.begin() + ptrdiff_t(good.size() / 2))},
      {"cut by one byte", Bytes(good.begin(), good.end() - 1)},
      {"only the header", Bytes(good.begin(), good.begin() + 48)},
      {"another plug-in's", foreign},
      {"not a preset", Bytes(good.begin() + 48, good.end())},
      {"its state cut short", shortState},
  };
  ASSERT_TRUE(Load(ReadFile(PresetPath("Init"))));
  const Bytes init = Saved();
  // Whether the SDK then answers failure is its own affair (it reads what entries it can).
  for (const auto& c : cases) {
    Load(c.bytes);
    EXPECT_EQ(Saved(), init) << c.what;
  }
}

}  // namespace
