// brask-host generate-demo, bench and instantiate: the demo files the main job renders, and the
// speed and instantiation reports.

#include <gtest/gtest.h>

#include <cmath>

#include "HostProcess.h"
#include "JsonValue.h"
#include "WavFiles.h"

TEST(HostDemo, WritesTheGrooveAndItsKickAtTheAskedRateAndLength) {
  ScratchDir dir;
  const HostRun run =
      RunHost({"generate-demo", dir.Path(""), "--seconds", "1.5", "--rate", "44100"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const TestAudio mix = ReadAudio(dir.Path("demo-mix.wav"));
  const TestAudio kick = ReadAudio(dir.Path("demo-kick.wav"));
  ASSERT_EQ(mix.channels.size(), 2u);
  ASSERT_EQ(kick.channels.size(), 2u);
  EXPECT_EQ(mix.sampleRate, 44100);
  EXPECT_EQ(mix.channels[0].size(), 66150u);
  EXPECT_EQ(kick.channels[0].size(), 66150u);
  double mixPeak = 0.0, sideDifference = 0.0, kickLeftRight = 0.0;
  for (size_t n = 0; n < mix.channels[0].size(); ++n) {
    mixPeak =
        std::fmax(mixPeak, std::fmax(std::fabs(mix.channels[0][n]), std::fabs(mix.channels[1][n])));
    sideDifference = std::fmax(sideDifference, std::fabs(mix.channels[0][n] - mix.channels[1][n]));
    kickLeftRight = std::fmax(kickLeftRight, std::fabs(kick.channels[0][n] - kick.channels[1][n]));
  }
  EXPECT_NEAR(mixPeak, std::pow(10.0, -1.0 / 20.0), 1e-6) << "the groove peaks at -1 dBFS";
  EXPECT_GT(sideDifference, 0.001) << "the groove is stereo";
  EXPECT_EQ(kickLeftRight, 0.0) << "the kick sits in the middle";
}

TEST(HostDemo, TheSameCallMakesTheSameFiles) {
  ScratchDir first, second;
  ASSERT_EQ(RunHost({"generate-demo", first.Path(""), "--seconds", "0.5"}).exitCode, 0);
  ASSERT_EQ(RunHost({"generate-demo", second.Path(""), "--seconds", "0.5"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(first.Path("demo-mix.wav")).channels,
            ReadAudio(second.Path("demo-mix.wav")).channels);
}

TEST(HostBench, ReportsBothPrecisionsForEitherModule) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    const HostRun run = RunHost({"bench", module, "--seconds", "0.5", "--runs", "1", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    JsonValue report;
    ASSERT_TRUE(JsonValue::Parse(run.out, &report)) << run.out;
    ASSERT_EQ(report["modules"].items.size(), 1u);
    const JsonValue& results = report["modules"].items[0]["results"];
    ASSERT_EQ(results.items.size(), 2u);
    EXPECT_EQ(results.items[0]["precision"].number, 32.0);
    EXPECT_EQ(results.items[1]["precision"].number, 64.0);
    for (const JsonValue& entry : results.items) {
      EXPECT_GT(entry["realTimeFactor"].number, 0.0);
      EXPECT_NEAR(entry["nanosecondsPerFrame"].number * 24000.0 / 1e9,
                  entry["processSeconds"].number, 1e-9);
    }
  }
}

// Each module in fresh processes, every format a host may load; a path that is no module stops
// the report with the reason.
TEST(HostInstantiate, MeasuresEveryFormatInFreshProcesses) {
  const HostRun run =
      RunHost({"instantiate", Vst3Bundle(), Vst2Module(), BRASK_LV2_BUNDLE_PATH,
               BRASK_CLAP_MODULE_PATH, "--runs", "2", "--instances", "3", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonValue report;
  ASSERT_TRUE(JsonValue::Parse(run.out, &report)) << run.out;
  EXPECT_EQ(report["instances"].number, 3.0);
  const auto& modules = report["modules"].items;
  ASSERT_EQ(modules.size(), 4u);
  const char* const formats[] = {"VST 3", "VST 2", "LV2", "CLAP"};
  for (size_t i = 0; i < modules.size(); ++i) {
    EXPECT_EQ(modules[i]["format"].text, formats[i]);
    for (const char* key : {"load_ms", "first_ms", "next_ms"}) {
      EXPECT_GT(modules[i][key].number, 0.0) << formats[i] << " " << key;
    }
  }
  const HostRun refused = RunHost({"instantiate", BRASK_NOT_A_PLUGIN_PATH, "--runs", "1"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("measuring"), std::string::npos) << refused.err;
}
