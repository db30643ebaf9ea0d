// brask-host bench with several modules: one table, one row per module in the order given,
// costs relative to the first; and the refusals for modules that are not there or no plug-in.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "JsonValue.h"

namespace {

const std::string kProbeVst3 = BRASK_PROBE_VST3_PATH;
const std::string kProbeVst2 = BRASK_PROBE_VST2_PATH;
const std::string kNotAPlugin = BRASK_NOT_A_PLUGIN_PATH;

// Probe Gain (32-bit only) first, then modules that also process 64-bit samples.
const std::vector<std::string> kThreeModules = {
    "bench",      kProbeVst3, "--set",    "Gain=3",    kProbeVst2, "--set",  "Gain=-3",
    Vst3Bundle(), "--set",    "Input=10", "--seconds", "0.1",      "--runs", "3"};

std::vector<std::string> With(std::vector<std::string> args, const std::string& extra) {
  args.push_back(extra);
  return args;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream stream(line);
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

void ExpectBenchRefusal(const std::vector<std::string>& args, int exitCode,
                        const std::string& message) {
  const HostRun run = RunHost(args);
  EXPECT_EQ(run.exitCode, exitCode) << message;
  EXPECT_NE(run.err.find(message), std::string::npos) << "stderr: " << run.err;
  EXPECT_TRUE(run.out.empty()) << "a refused bench printed a table:\n" << run.out;
}

}  // namespace

TEST(HostBenchSideBySide, JsonHasEveryModuleInOrderWithItsRunsAndRelativeCost) {
  const HostRun run = RunHost(With(kThreeModules, "--json"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  JsonValue report;
  ASSERT_TRUE(JsonValue::Parse(run.out, &report)) << run.out;
  EXPECT_EQ(report["runs"].number, 3.0);
  EXPECT_GT(report["clockNanoseconds"].number, 0.0) << "the clock's own cost is measured";
  const JsonValue& modules = report["modules"];
  ASSERT_EQ(modules.items.size(), 3u);
  EXPECT_EQ(modules.items[0]["name"].text, "Probe Gain");
  EXPECT_EQ(modules.items[1]["format"].text, "VST 2");
  EXPECT_EQ(modules.items[2]["name"].text, "Brask");
  EXPECT_EQ(modules.items[2]["settings"].items[0].text, "Input=10");
  ASSERT_EQ(modules.items[0]["results"].items.size(), 1u) << "Probe Gain has no 64-bit path";
  const JsonValue& first32 = modules.items[0]["results"].items[0];
  EXPECT_EQ(first32["relative"].number, 1.0);
  for (size_t m = 1; m < 3; ++m) {
    const JsonValue& results = modules.items[m]["results"];
    ASSERT_EQ(results.items.size(), 2u) << m;
    const JsonValue& own32 = results.items[0];
    EXPECT_NEAR(own32["relative"].number,
                own32["nanosecondsPerFrame"].number / first32["nanosecondsPerFrame"].number, 1e-12);
    EXPECT_EQ(results.items[1]["relative"].kind, JsonValue::Null)
        << "no 64-bit cost of the first module to compare with";
  }
  for (const JsonValue& module : modules.items) {
    for (const JsonValue& result : module["results"].items) {
      ASSERT_EQ(result["runs"].items.size(), 3u);
      std::vector<double> runs;
      for (const JsonValue& value : result["runs"].items) runs.push_back(value.number);
      std::sort(runs.begin(), runs.end());
      EXPECT_GT(runs[0], 0.0);
      // A block's median of three runs is at most the larger of any two of them, so the
      // cost is at most the two fastest runs together.
      const double cost = result["nanosecondsPerFrame"].number;
      EXPECT_GT(cost, 0.0);
      EXPECT_LE(cost, runs[0] + runs[1]);
    }
  }
}

TEST(HostBenchSideBySide, TextTableHasOneRowPerModuleAndTheFirstAtExactlyOne) {
  const HostRun run = RunHost(kThreeModules);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  size_t header = 0;
  while (header < lines.size() && lines[header].compare(0, 6, "Module") != 0) ++header;
  ASSERT_EQ(lines.size(), header + 4) << run.out;
  const std::vector<std::string> rowNames = {"Probe Gain (VST 3)", "Probe Gain (VST 2)",
                                             "Brask (VST 3)"};
  for (size_t r = 0; r < 3; ++r) {
    const std::string& row = lines[header + 1 + r];
    EXPECT_EQ(row.compare(0, rowNames[r].size(), rowNames[r]), 0) << row;
    // After the name: 32-bit cost, its range, relative cost; the same for 64 bits or "- -".
    const std::vector<std::string> words = Words(row.substr(rowNames[r].size()));
    ASSERT_GE(words.size(), 4u) << row;
    EXPECT_GE(std::stod(words[0]), 0.0) << row;  // a fast probe may print 0.0
    EXPECT_EQ(words[1].front(), '(') << row;
    if (r == 0) {
      EXPECT_EQ(words[2], "1.00") << row;
      EXPECT_EQ(std::vector<std::string>(words.begin() + 3, words.end()),
                (std::vector<std::string>{"-", "-"}))
          << row;
    } else {
      EXPECT_GT(std::stod(words[2]), 0.0) << row;
      ASSERT_EQ(words.size(), 6u) << row;
      EXPECT_EQ(words[5], "-") << "no 64-bit reference: " << row;
    }
  }
}

TEST(HostBenchSideBySide, ModulesThatAreNotThereOrNoPlugInAreNamed) {
  ScratchDir dir;
  ExpectBenchRefusal({"bench", kProbeVst2, dir.Path("Absent.vst3"), "--seconds", "0.05"}, 1,
                     "no module at " + dir.Path("Absent.vst3"));
  ExpectBenchRefusal({"bench", BRASK_HOST_PATH, "--seconds", "0.05"}, 1,
                     "is not a loadable module");
  ExpectBenchRefusal({"bench", kNotAPlugin, "--seconds", "0.05"}, 1,
                     kNotAPlugin + " is neither a VST 3, a VST 2 nor a CLAP module");
  // A bundle folder without the binary inside.
  ExpectBenchRefusal({"bench", dir.Path(""), "--seconds", "0.05"}, 1, "is no VST 3 bundle");
}

TEST(HostBenchSideBySide, OptionsOutOfPlaceAreUsageErrors) {
  ExpectBenchRefusal({"bench", "--set", "Gain=1", kProbeVst2}, 2,
                     "--set belongs after the MODULE it is for");
  ExpectBenchRefusal({"bench", kProbeVst2, "--runs", "0"}, 2, "--runs takes a whole number");
  ExpectBenchRefusal({"bench", kProbeVst2, "--class"}, 2, "--class needs a value");
  ExpectBenchRefusal({"bench", "--json"}, 2, "bench takes at least one MODULE");
  ExpectBenchRefusal({"bench", kProbeVst3, "--set", "Volume=1"}, 1, "unknown parameter \"Volume\"");
}
