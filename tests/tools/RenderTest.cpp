// brask-host render: the audio a host gets out of each module, against the input, against
// other block sizes and formats, and against the compressor driven directly.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "HostProcess.h"
#include "JsonValue.h"
#include "WavFiles.h"
#include "plugin/BraskRig.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = 24000;
constexpr int kDoubleWav = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;

// Settings that make every stage matter: drive, output gain, times, parallel mix, high-pass.
const std::vector<std::pair<std::string, double>> kSettings = {{"Input", 15.0}, {"Output", 2.5},
                                                               {"Attack", 3.0}, {"Release", 250.0},
                                                               {"Mix", 80.0},   {"HPF", 60.0}};

class HostRender : public ::testing::Test {
 protected:
  void SetUp() override {
    input = MakeProgramSignal(kRate, kFrames);
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), input, kDoubleWav));
    ASSERT_TRUE(WriteAudio(dir.Path("kick.wav"), MakeKickSignal(kRate, kFrames), kDoubleWav));
  }

  // Renders in.wav to name with the settings plus extra arguments; answers the output.
  TestAudio Render(const std::string& module, const std::string& name,
                   std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"render", module, dir.Path("in.wav"), dir.Path(name)};
    for (const auto& setting : kSettings) {
      args.push_back("--set");
      args.push_back(setting.first + "=" + Number(setting.second));
    }
    args.insert(args.end(), extra.begin(), extra.end());
    const HostRun run = RunHost(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadAudio(dir.Path(name));
  }

  static std::string Number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
  }

  ScratchDir dir;
  TestAudio input;
};

double LargestDifference(const TestAudio& a, const TestAudio& b) {
  double largest = 0.0;
  for (size_t c = 0; c < a.channels.size(); ++c) {
    for (size_t n = 0; n < a.channels[c].size(); ++n) {
      largest = std::fmax(largest, std::fabs(a.channels[c][n] - b.channels[c][n]));
    }
  }
  return largest;
}

}  // namespace

TEST_F(HostRender, BypassOffReproducesTheInputExactlyAt64Bits) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    const HostRun run = RunHost({"render", module, dir.Path("in.wav"), dir.Path("out.wav"), "--set",
                                 "Bypass=0", "--set", "Input=30", "--precision", "64"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const TestAudio out = ReadAudio(dir.Path("out.wav"));
    EXPECT_EQ(out.sampleRate, kRate);
    EXPECT_EQ(out.channels, input.channels) << module;
  }
}

TEST_F(HostRender, MonoInputFeedsBothChannels) {
  TestAudio mono = input;
  mono.channels.resize(1);
  ASSERT_TRUE(WriteAudio(dir.Path("mono.wav"), mono, kDoubleWav));
  const HostRun run = RunHost(
      {"render", Vst3Bundle(), dir.Path("mono.wav"), dir.Path("out.wav"), "--set", "Bypass=0"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const TestAudio out = ReadAudio(dir.Path("out.wav"));
  ASSERT_EQ(out.channels.size(), 2u);
  EXPECT_EQ(out.channels[0], mono.channels[0]);
  EXPECT_EQ(out.channels[1], mono.channels[0]);
}

TEST_F(HostRender, KeepsTheInputSampleRate) {
  TestAudio slow = MakeProgramSignal(88200, 8820);
  ASSERT_TRUE(WriteAudio(dir.Path("slow.wav"), slow, kDoubleWav));
  const HostRun run = RunHost({"render", Vst2Module(), dir.Path("slow.wav"), dir.Path("out.flac")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const TestAudio out = ReadAudio(dir.Path("out.flac"));
  EXPECT_EQ(out.sampleRate, 88200);
  ASSERT_EQ(out.channels.size(), 2u);
  EXPECT_EQ(out.channels[0].size(), slow.channels[0].size());
}

TEST_F(HostRender, BlockSizeDoesNotChangeTheResult) {
  const TestAudio vst3Large = Render(Vst3Bundle(), "a.wav", {"--block", "512"});
  const TestAudio vst3Small = Render(Vst3Bundle(), "b.wav", {"--block", "64"});
  const TestAudio vst2Large = Render(Vst2Module(), "c.wav", {"--block", "512"});
  const TestAudio vst2Small = Render(Vst2Module(), "d.wav", {"--block", "64"});
  const TestAudio vst2Odd = Render(Vst2Module(), "e.wav", {"--block", "97"});
  ASSERT_EQ(vst3Large.channels.size(), 2u);
  EXPECT_GT(LargestDifference(vst3Large, input), 0.05) << "the settings should change the sound";
  EXPECT_EQ(vst3Small.channels, vst3Large.channels);
  EXPECT_EQ(vst2Small.channels, vst2Large.channels);
  EXPECT_EQ(vst2Odd.channels, vst2Large.channels);
  // VST 3 carries values as normalized numbers, whose round trip through a shape exponent may
  // move a plain value by an ulp; the sound is the same to far below audibility.
  EXPECT_LT(LargestDifference(vst2Large, vst3Large), 1e-9);
}

TEST_F(HostRender, SinglePrecisionAgreesAcrossModulesAndWithDoublePrecision) {
  const TestAudio single3 = Render(Vst3Bundle(), "a.wav", {"--precision", "32"});
  const TestAudio single2 = Render(Vst2Module(), "b.wav", {"--precision", "32", "--block", "64"});
  const TestAudio double3 = Render(Vst3Bundle(), "c.wav", {"--precision", "64"});
  EXPECT_LT(LargestDifference(single3, single2), 1e-6);
  EXPECT_LT(LargestDifference(single3, double3), 1e-5);
}

// The plug-in class driven directly, each setting stored the way one host format stores it.
Output DirectRender(const TestAudio& input, bool throughNormalized) {
  BraskRig rig(kRate);
  const std::vector<std::string> names = {"Input", "Output", "Attack", "Release", "Mix", "HPF"};
  for (const auto& setting : kSettings) {
    const int index = int(std::find(names.begin(), names.end(), setting.first) - names.begin());
    IParamRecord* param = rig.plug.ParamAt(index);
    if (throughNormalized) {
      param->SetValueFromNormalized(param->NormalizedFromPlain(setting.second));
      rig.plug.OnParamChanged(index);
    } else {
      rig.Set(index, setting.second);
    }
  }
  Signal signal(kFrames);
  signal[0] = input.channels[0];
  signal[1] = input.channels[1];
  return rig.Process(signal, 512);
}

TEST_F(HostRender, MatchesTheCompressorDrivenDirectly) {
  const TestAudio vst2 = Render(Vst2Module(), "vst2.wav");
  const Output plainSet = DirectRender(input, false);
  ASSERT_EQ(vst2.channels.size(), 2u);
  EXPECT_EQ(vst2.channels[0], plainSet.left);
  EXPECT_EQ(vst2.channels[1], plainSet.right);

  const TestAudio vst3 = Render(Vst3Bundle(), "vst3.wav", {"--block", "64"});
  const Output normalizedSet = DirectRender(input, true);
  ASSERT_EQ(vst3.channels.size(), 2u);
  EXPECT_EQ(vst3.channels[0], normalizedSet.left);
  EXPECT_EQ(vst3.channels[1], normalizedSet.right);
}

TEST_F(HostRender, SideChainFileFeedsTheDetector) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    const TestAudio keyed =
        Render(module, "keyed.wav", {"--set", "Sidechain=1", "--sidechain", dir.Path("kick.wav")});
    const TestAudio unkeyed = Render(module, "unkeyed.wav", {"--set", "Sidechain=1"});
    const TestAudio ignored = Render(module, "ignored.wav", {"--sidechain", dir.Path("kick.wav")});
    const TestAudio plain = Render(module, "plain.wav");
    // Without a side-chain signal the detector hears silence, so the kick must make a difference.
    EXPECT_GT(LargestDifference(keyed, unkeyed), 0.01) << module;
    // With the detector on the main input, the side-chain file is not heard.
    EXPECT_EQ(ignored.channels, plain.channels) << module;
  }
}

TEST_F(HostRender, MeterFileHasOneLinePerBlockAndAgreesWithTheSummary) {
  const HostRun run =
      RunHost({"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("out.wav"), "--set", "Input=20",
               "--block", "1000", "--meter", dir.Path("meter.csv"), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonValue summary;
  ASSERT_TRUE(JsonValue::Parse(run.out, &summary)) << run.out;
  std::ifstream csv(dir.Path("meter.csv"));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "time_s,input_rms_db,output_rms_db,gain_reduction_db");
  int lines = 0;
  double largest = 0.0;
  while (std::getline(csv, line)) {
    ++lines;
    largest = std::fmax(largest, std::stod(line.substr(line.rfind(',') + 1)));
  }
  EXPECT_EQ(lines, kFrames / 1000);
  EXPECT_GT(largest, 3.0) << "Input=20 compresses this signal hard";
  EXPECT_NEAR(summary["largestGainReductionDb"].number, largest, 0.001);
  EXPECT_EQ(summary["frames"].number, double(kFrames));
}

TEST_F(HostRender, MeterShowsNoReductionWhileBypassed) {
  const HostRun run =
      RunHost({"render", Vst2Module(), dir.Path("in.wav"), dir.Path("out.wav"), "--set", "Input=20",
               "--set", "Bypass=0", "--meter", dir.Path("meter.csv"), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonValue summary;
  ASSERT_TRUE(JsonValue::Parse(run.out, &summary)) << run.out;
  EXPECT_EQ(summary["largestGainReductionDb"].number, 0.0);
}
