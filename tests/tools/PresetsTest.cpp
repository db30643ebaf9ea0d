// brask-host and the factory presets: `presets` lists the presets of each format (CLAP's from
// the plug-in's own preset-discovery factory) with the table's values, `render --preset` sounds
// exactly like the plug-in set to them, and a preset file that is truncated, another plug-in's, of
// a newer version or no preset at all is refused with its reason before anything reaches the
// plug-in, leaving no file behind.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "HostProcess.h"
#include "JsonValue.h"
#include "WavFiles.h"
#include "plugin/BraskPresets.h"
#include "plugin/BraskRig.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = 9600;
constexpr int kDoubleWav = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
const char* const kParamNames[] = {"Input", "Output", "Attack", "Release",
                                   "Mix",   "HPF",    "Bypass", "Sidechain"};

std::string Slurped(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Built(const std::string& name) {
  return std::string(BRASK_PRESET_FILES_DIR) + "/" + name;
}

std::string Lv2Bundle() { return BRASK_LV2_BUNDLE_PATH; }

// A copy of text with the first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string WithBytes(std::string bytes, size_t at, const std::string& replacement) {
  return bytes.replace(at, replacement.size(), replacement);
}

class HostPresets : public ::testing::Test {
 protected:
  void SetUp() override {
    input = MakeProgramSignal(kRate, kFrames);
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), input, kDoubleWav));
  }

  // presets MODULE --json, parsed: preset name -> parameter name -> value.
  std::map<std::string, std::map<std::string, double>> Listed(const std::string& module) {
    const HostRun run = RunHost({"presets", module, "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    JsonValue listing;
    EXPECT_TRUE(JsonValue::Parse(run.out, &listing)) << run.out;
    std::map<std::string, std::map<std::string, double>> presets;
    for (const JsonValue& preset : listing["presets"].items) {
      for (const auto& value : preset["values"].members) {
        presets[preset["name"].text][value.first] = value.second.number;
      }
    }
    return presets;
  }

  TestAudio Render(const std::string& module, std::vector<std::string> extra) {
    std::vector<std::string> args = {"render", module, dir.Path("in.wav"), dir.Path("out.wav")};
    args.insert(args.end(), extra.begin(), extra.end());
    const HostRun run = RunHost(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadAudio(dir.Path("out.wav"));
  }

  // The plug-in class itself, set to the preset's values as plain numbers.
  TestAudio Direct(const BraskPreset& preset, double mix) {
    BraskRig rig(kRate);
    for (int i = 0; i < kBraskParamCount; ++i) rig.Set(i, preset.values[i]);
    rig.Set(kParamMix, mix);
    Signal signal(kFrames);
    signal[0] = input.channels[0];
    signal[1] = input.channels[1];
    const Output out = rig.Process(signal, 512);
    TestAudio audio;
    audio.channels = {out.left, out.right};
    return audio;
  }

  ScratchDir dir;
  TestAudio input;
};

}  // namespace

TEST_F(HostPresets, EveryFormatListsEveryPresetWithTheTablesValues) {
  for (const std::string& module :
       {Vst3Bundle(), Vst2Module(), Lv2Bundle(), std::string(BRASK_CLAP_MODULE_PATH)}) {
    SCOPED_TRACE(module);
    const auto listed = Listed(module);
    EXPECT_EQ(listed.size(), size_t(kBraskPresetTableSize));
    for (const BraskPreset& preset : kBraskPresets) {
      ASSERT_EQ(listed.count(preset.name), 1u) << preset.name;
      const auto& values = listed.at(preset.name);
      for (int i = 0; i < kBraskParamCount; ++i) {
        // VST 3 hosts read values as normalized numbers: a shape exponent moves them by an ulp.
        EXPECT_NEAR(values.at(kParamNames[i]), preset.values[i], 1e-12)
            << preset.name << " " << kParamNames[i];
      }
    }
  }
}

TEST_F(HostPresets, RenderingWithAPresetSoundsLikeThePlugInSetToIt) {
  const BraskPreset& preset = *FindBraskPreset("vocal-leveller");
  const TestAudio expected = Direct(preset, preset.values[kParamMix]);
  EXPECT_EQ(Render(Vst3Bundle(), {"--preset", preset.name}).channels, expected.channels);
  EXPECT_EQ(Render(Vst2Module(), {"--preset", Built(std::string(preset.name) + ".fxp")}).channels,
            expected.channels);
  EXPECT_EQ(Render(BRASK_CLAP_MODULE_PATH, {"--preset", preset.key}).channels, expected.channels);
  // --set changes the preset afterwards.
  EXPECT_EQ(Render(Vst2Module(), {"--preset", preset.name, "--set", "Mix=50"}).channels,
            Direct(preset, 50.0).channels);
}

TEST_F(HostPresets, TheMeterSummaryMeasuresThePreset) {
  const HostRun run =
      RunHost({"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("out.wav"), "--preset",
               "Room Mic Crush", "--meter", dir.Path("meter.csv"), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonValue summary;
  ASSERT_TRUE(JsonValue::Parse(run.out, &summary)) << run.out;
  EXPECT_GT(summary["gainReductionDb"].number, 3.0) << "the crush preset compresses hard";
  EXPECT_LT(summary["gainReductionDb"].number, summary["largestGainReductionDb"].number);
}

// Each bad file, by format: refused by `presets --preset` and by `render --preset` with the file
// and the reason named, and the refused render writes nothing.
TEST_F(HostPresets, BadPresetFilesAreRefusedWithTheReason) {
  const std::string vst3 = Slurped(Built("Piano.vstpreset"));
  const std::string vst2 = Slurped(Built("Piano.fxp"));
  const std::string lv2 = Slurped(Lv2Bundle() + "/presets.ttl");
  const std::string wav = Slurped(dir.Path("in.wav"));
  ASSERT_TRUE(!vst3.empty() && !vst2.empty() && !lv2.empty());
  const std::string lv2Module = Lv2Bundle();
  const struct {
    std::string module, file, bytes, reason;
  } cases[] = {
      {Vst3Bundle(), "cut.vstpreset", vst3.substr(0, vst3.size() / 2), "truncated"},
      {Vst3Bundle(), "other.vstpreset", WithBytes(vst3, 8 + 30, "77"), "another plug-in"},
      {Vst3Bundle(), "newer.vstpreset", WithBytes(vst3, 4, "\x02"), "newer than version 1"},
      {Vst3Bundle(), "wav.vstpreset", wav, "not a VST 3 preset"},
      {Vst3Bundle(), "nocomp.vstpreset", Replaced(vst3, "Comp", "Xomp"), "no component state"},
      {Vst3Bundle(), "outside.vstpreset", WithBytes(vst3, vst3.size() - 8, "\xff"),
       "lies outside the data area"},
      {Vst2Module(), "cut.fxp", vst2.substr(0, 100), "truncated"},
      {Vst2Module(), "other.fxp", WithBytes(vst2, 16, "Othr"), "another plug-in (unique ID Othr)"},
      {Vst2Module(), "newer.fxp", WithBytes(vst2, 20, std::string("\0\1\x86\xa0", 4)),
       "made by Brask 10.0.0, newer than this module's 4.0.0"},
      {Vst2Module(), "format.fxp", WithBytes(vst2, 15, "\x02"), "newer than version 1"},
      {Vst2Module(), "wav.fxp", wav, "not a VST 2 preset"},
      {Vst2Module(), "bank.fxp", WithBytes(vst2, 8, "FBCh"), "a bank of programs"},
      {lv2Module, "cut.ttl", lv2.substr(0, lv2.size() / 3), "not a complete Turtle file"},
      {lv2Module, "other.ttl",
       Replaced(lv2, "appliesTo <urn:wyrdworks:brask>", "appliesTo <urn:x>"),
       "is a preset for urn:x, not for Brask"},
      {lv2Module, "newer.ttl", Replaced(lv2, "lv2:symbol \"mix\"", "lv2:symbol \"ratio\""),
       "sets the control \"ratio\", which Brask does not have"},
      {lv2Module, "wav.ttl", wav, "not a complete Turtle file"},
      {lv2Module, "none.ttl", "<urn:x> <urn:y> <urn:z> .\n", "describes no pset:Preset"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Path(c.file);
    Write(path, c.bytes);
    const std::vector<std::string> before = dir.Files();
    const HostRun listed = RunHost({"presets", c.module, "--preset", path});
    EXPECT_EQ(listed.exitCode, 1) << c.file;
    EXPECT_NE(listed.err.find(path + ": "), std::string::npos) << c.file << ": " << listed.err;
    EXPECT_NE(listed.err.find(c.reason), std::string::npos) << c.file << ": " << listed.err;
    if (c.module == lv2Module) continue;
    const HostRun rendered =
        RunHost({"render", c.module, dir.Path("in.wav"), dir.Path("out.wav"), "--preset", path});
    EXPECT_EQ(rendered.exitCode, 1) << c.file;
    EXPECT_NE(rendered.err.find(c.reason), std::string::npos) << c.file << ": " << rendered.err;
    EXPECT_EQ(dir.Files(), before) << c.file << ": a refused render left a file";
  }
}
