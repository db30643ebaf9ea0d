// lv2apply renders a four-channel file (main left, right, side chain left, right) through the
// bundle; brask-host renders the same audio through the VST 3 module's 32-bit path. Both are
// built from this tree, so every sample must be the same float.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <sstream>

#include "Lv2Tools.h"
#include "WavFiles.h"
#include "lv2/Lv2Layout.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = 12000;
constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

struct Setting {
  const char* name;    // as brask-host takes it
  const char* symbol;  // as lv2apply takes it
  double value;
};

// Heavy compression. The values are ones whose normalized form maps back to exactly the same
// plain value, so the VST 3 module's record holds what the LV2 port holds.
const std::vector<Setting> kHeavy = {{"Input", "input", 40.0},  {"Output", "output", 10.0},
                                     {"Attack", "attack", 1.0}, {"Release", "release", 825.0},
                                     {"HPF", "hpf", 260.0},     {"Mix", "mix", 100.0}};

std::vector<Setting> With(std::vector<Setting> settings, const Setting& extra) {
  for (Setting& s : settings) {
    if (std::string(s.name) == extra.name) {
      s = extra;
      return settings;
    }
  }
  settings.push_back(extra);
  return settings;
}

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

class Lv2Render : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.Ready());
    main = MakeProgramSignal(kRate, kFrames);
    side = MakeKickSignal(kRate, kFrames);
    TestAudio four = main;
    four.channels.insert(four.channels.end(), side.channels.begin(), side.channels.end());
    ASSERT_TRUE(WriteAudio(dir.Path("four.wav"), four, kFloatWav));
    ASSERT_TRUE(WriteAudio(dir.Path("main.wav"), main, kFloatWav));
    ASSERT_TRUE(WriteAudio(dir.Path("side.wav"), side, kFloatWav));
  }

  TestAudio RenderLv2(const std::vector<Setting>& settings) {
    std::vector<std::string> args = {"-i", dir.Path("four.wav"), "-o", dir.Path("lv2.wav")};
    for (const Setting& s : settings) args.insert(args.end(), {"-c", s.symbol, Number(s.value)});
    args.push_back(kBraskLv2Uri);
    const HostRun run = RunLv2Tool("lv2apply", args, world);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    return ReadAudio(dir.Path("lv2.wav"));
  }

  TestAudio RenderVst3(const std::vector<Setting>& settings) {
    std::vector<std::string> args = {
        "render",      Vst3Bundle(),         dir.Path("main.wav"), dir.Path("vst3.wav"),
        "--sidechain", dir.Path("side.wav"), "--precision",        "32"};
    for (const Setting& s : settings) {
      args.insert(args.end(), {"--set", std::string(s.name) + "=" + Number(s.value)});
    }
    const HostRun run = RunHost(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadAudio(dir.Path("vst3.wav"));
  }

  // Renders both ways; answers the LV2 output after checking it against the VST 3 one.
  TestAudio ExpectSameRender(const std::vector<Setting>& settings) {
    const TestAudio lv2 = RenderLv2(settings);
    const TestAudio vst3 = RenderVst3(settings);
    EXPECT_EQ(lv2.sampleRate, kRate);
    EXPECT_EQ(lv2.channels.size(), 2u);
    EXPECT_EQ(vst3.channels.size(), 2u);
    EXPECT_EQ(lv2.channels.size() == 2 ? lv2.channels[0].size() : 0, size_t(kFrames));
    for (size_t c = 0; c < lv2.channels.size() && c < vst3.channels.size(); ++c) {
      size_t differing = 0, first = 0;
      for (size_t n = 0; n < lv2.channels[c].size() && n < vst3.channels[c].size(); ++n) {
        if (lv2.channels[c][n] != vst3.channels[c][n] && differing++ == 0) first = n;
      }
      EXPECT_EQ(differing, 0u) << "channel " << c << ", first at frame " << first;
    }
    return lv2;
  }

  Lv2World world;
  ScratchDir dir;
  TestAudio main, side;
};

// How far apart two renders are, as the largest sample difference.
double Distance(const TestAudio& a, const TestAudio& b) {
  double largest = 0.0;
  for (size_t c = 0; c < a.channels.size() && c < b.channels.size(); ++c) {
    for (size_t n = 0; n < a.channels[c].size() && n < b.channels[c].size(); ++n) {
      largest = std::max(largest, std::abs(a.channels[c][n] - b.channels[c][n]));
    }
  }
  return largest;
}

}  // namespace

TEST_F(Lv2Render, HeavyCompressionParallelAndSideChainMatchTheVst3Module) {
  const TestAudio heavy = ExpectSameRender(kHeavy);
  const TestAudio parallel = ExpectSameRender(With(kHeavy, {"Mix", "mix", 50.0}));
  const TestAudio keyed = ExpectSameRender(With(kHeavy, {"Sidechain", "sidechain", 1.0}));
  // Each setting must have changed the sound, or the comparison proves nothing about it.
  EXPECT_GT(Distance(heavy, main), 0.05);
  EXPECT_GT(Distance(heavy, parallel), 0.01);
  EXPECT_GT(Distance(heavy, keyed), 0.01);
}

TEST_F(Lv2Render, PowerSwitchOffPassesTheMainInputUntouched) {
  const TestAudio off = ExpectSameRender(With(kHeavy, {"Bypass", "bypass", 0.0}));
  ASSERT_EQ(off.channels.size(), 2u);
  ASSERT_EQ(off.channels[0].size(), size_t(kFrames));
  for (size_t n = 0; n < size_t(kFrames); ++n) {
    ASSERT_EQ(off.channels[0][n], double(float(main.channels[0][n]))) << n;
  }
}
