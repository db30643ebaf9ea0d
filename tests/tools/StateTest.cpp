// brask-host state: the bytes a host stores for an instance, saved, loaded and saved again.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "HostProcess.h"
#include "JsonValue.h"

namespace {

// A value for every plug-in parameter, none of them its default.
const std::vector<std::pair<std::string, double>> kValues = {
    {"Input", 12.5}, {"Output", -3.25}, {"Attack", 7.0}, {"Release", 1200.0},
    {"Mix", 65.0},   {"HPF", 150.0},    {"Bypass", 0.0}, {"Sidechain", 1.0}};

std::string Bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> SetArguments() {
  std::vector<std::string> args;
  for (const auto& value : kValues) {
    std::ostringstream text;
    text << value.first << "=" << value.second;
    args.push_back("--set");
    args.push_back(text.str());
  }
  return args;
}

// The plug-in parameters of a state --json answer, by name.
std::map<std::string, double> Values(const std::string& json) {
  JsonValue answer;
  EXPECT_TRUE(JsonValue::Parse(json, &answer)) << json;
  std::map<std::string, double> values;
  for (const JsonValue& param : answer["parameters"].items) {
    if (!param["hostControl"].boolean) values[param["name"].text] = param["value"].number;
  }
  return values;
}

void ExpectRoundTrip(const std::string& module, size_t stateSize) {
  ScratchDir dir;
  std::vector<std::string> save = {"state", module, "--save", dir.Path("a.state"), "--json"};
  const std::vector<std::string> sets = SetArguments();
  save.insert(save.end(), sets.begin(), sets.end());
  const HostRun saved = RunHost(save);
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_EQ(Bytes(dir.Path("a.state")).size(), stateSize);

  // A fresh instance loads it and saves it again, byte for byte.
  const HostRun loaded = RunHost(
      {"state", module, "--load", dir.Path("a.state"), "--save", dir.Path("b.state"), "--json"});
  ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
  EXPECT_EQ(Bytes(dir.Path("b.state")), Bytes(dir.Path("a.state")));
  const std::map<std::string, double> values = Values(loaded.out);
  ASSERT_EQ(values.size(), kValues.size());
  for (const auto& value : kValues) {
    EXPECT_NEAR(values.at(value.first), value.second, 1e-9) << value.first;
  }
}

}  // namespace

TEST(HostState, Vst3StreamRoundTripsEveryParameter) { ExpectRoundTrip(Vst3Bundle(), 68); }

TEST(HostState, Vst2ProgramChunkRoundTripsEveryParameter) { ExpectRoundTrip(Vst2Module(), 72); }

TEST(HostState, ClapStateRoundTripsEveryParameter) {
  ExpectRoundTrip(BRASK_CLAP_MODULE_PATH, 72);
}

TEST(HostState, Vst2ProgramChunkCarriesItsHeader) {
  ScratchDir dir;
  const HostRun run = RunHost({"state", Vst2Module(), "--save", dir.Path("s.state")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Bytes(dir.Path("s.state")).substr(0, 4), "tffp");
}

TEST(HostState, LoadAloneShowsTheStoredValues) {
  ScratchDir dir;
  ASSERT_EQ(RunHost({"state", Vst3Bundle(), "--set", "Bypass=0", "--set", "Input=30", "--save",
                     dir.Path("s.state")})
                .exitCode,
            0);
  const HostRun shown = RunHost({"state", Vst3Bundle(), "--load", dir.Path("s.state"), "--json"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const std::map<std::string, double> values = Values(shown.out);
  EXPECT_EQ(values.at("Bypass"), 0.0);
  EXPECT_NEAR(values.at("Input"), 30.0, 1e-9);
}
