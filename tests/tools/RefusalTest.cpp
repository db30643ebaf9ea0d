// brask-host refusals: each bad request is named on standard error, ends with a non-zero exit
// and leaves no output file behind (nor touches one that was there).

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <sstream>

#include "HostProcess.h"
#include "WavFiles.h"

namespace {

constexpr int kDoubleWav = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;

class HostRefusal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), MakeProgramSignal(48000, 4800), kDoubleWav));
    ASSERT_TRUE(WriteAudio(dir.Path("kick44.wav"), MakeKickSignal(44100, 4410), kDoubleWav));
    inputs = dir.Files();
  }

  // Runs a render with the given extra arguments and expects a refusal naming `message`.
  void ExpectRefusal(const std::string& module, std::vector<std::string> extra,
                     const std::string& message, const std::string& input = "in.wav") {
    std::vector<std::string> args = {
        "render", module, dir.Path(input), dir.Path("out.wav"), "--meter", dir.Path("meter.csv")};
    args.insert(args.end(), extra.begin(), extra.end());
    const HostRun run = RunHost(args);
    EXPECT_EQ(run.exitCode, 1) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << "stderr: " << run.err;
    EXPECT_EQ(dir.Files(), inputs) << "a refused render left files behind: " << message;
  }

  ScratchDir dir;
  std::vector<std::string> inputs;
};

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace

TEST_F(HostRefusal, MissingFilesAreNamed) {
  ExpectRefusal(Vst3Bundle(), {}, "cannot read " + dir.Path("absent.wav"), "absent.wav");
  ExpectRefusal(Vst3Bundle(), {"--sidechain", dir.Path("absent.wav")},
                "cannot read " + dir.Path("absent.wav"));
  ExpectRefusal(dir.Path("Nothing.vst3"), {}, "no module at " + dir.Path("Nothing.vst3"));
}

TEST_F(HostRefusal, UnknownParameterNamesTheKnownOnes) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    ExpectRefusal(module, {"--set", "Threshold=3"},
                  "unknown parameter \"Threshold\" (parameters: Input, Output, Attack, Release, "
                  "Mix, HPF, Bypass, Sidechain)");
  }
}

TEST_F(HostRefusal, ValuesOutsideTheRangeAreRefused) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    ExpectRefusal(module, {"--set", "Attack=60"},
                  "Attack=60 is out of range: Attack takes 1 to 50");
    ExpectRefusal(module, {"--set", "Mix=-0.5"}, "Mix=-0.5 is out of range");
    ExpectRefusal(module, {"--set", "Bypass=2"}, "Bypass=2 is out of range");
    // A valid setting before the bad one changes nothing either.
    ExpectRefusal(module, {"--set", "Input=10", "--set", "Release=99"},
                  "Release=99 is out of range");
  }
}

TEST_F(HostRefusal, SideChainAtAnotherSampleRateIsRefused) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    ExpectRefusal(module, {"--sidechain", dir.Path("kick44.wav")},
                  "runs at 44100 Hz, the input at 48000 Hz");
  }
}

TEST_F(HostRefusal, UnknownOutputFormatIsRefusedBeforeRendering) {
  const HostRun run = RunHost({"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("out.mp3")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("cannot tell the format of"), std::string::npos) << run.err;
  EXPECT_EQ(dir.Files(), inputs);
}

TEST_F(HostRefusal, WrongUsageExitsWithTwo) {
  const HostRun noValue =
      RunHost({"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("o.wav"), "--set", "Input"});
  EXPECT_EQ(noValue.exitCode, 2);
  EXPECT_NE(noValue.err.find("--set needs NAME=VALUE"), std::string::npos) << noValue.err;
  const HostRun notNumber = RunHost(
      {"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("o.wav"), "--set", "Input=loud"});
  EXPECT_EQ(notNumber.exitCode, 2);
  EXPECT_NE(notNumber.err.find("is not a number"), std::string::npos) << notNumber.err;
  const HostRun precision =
      RunHost({"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("o.wav"), "--precision", "16"});
  EXPECT_EQ(precision.exitCode, 2);
  const HostRun option = RunHost({"info", Vst3Bundle(), "--colour"});
  EXPECT_EQ(option.exitCode, 2);
  EXPECT_NE(option.err.find("unknown option --colour"), std::string::npos) << option.err;
  EXPECT_EQ(dir.Files(), inputs);
}

TEST_F(HostRefusal, AnExistingOutputIsLeftAsItWas) {
  {
    std::ofstream before(dir.Path("out.wav"), std::ios::binary);
    before << "keep me";
  }
  const HostRun run = RunHost(
      {"render", Vst3Bundle(), dir.Path("in.wav"), dir.Path("out.wav"), "--set", "Attack=0"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Contents(dir.Path("out.wav")), "keep me");
}

TEST_F(HostRefusal, StateRefusalsWriteNothing) {
  const HostRun missing = RunHost({"state", Vst3Bundle(), "--load", dir.Path("absent.state")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot read " + dir.Path("absent.state")), std::string::npos);
  const HostRun range =
      RunHost({"state", Vst2Module(), "--set", "HPF=10", "--save", dir.Path("s.state")});
  EXPECT_EQ(range.exitCode, 1);
  EXPECT_NE(range.err.find("HPF=10 is out of range"), std::string::npos) << range.err;
  EXPECT_EQ(dir.Files(), inputs);
}
