// brask-host info: what a host reads from each module, human-readable and as JSON.

#include <gtest/gtest.h>

#include "HostProcess.h"
#include "JsonValue.h"

namespace {

std::vector<std::string> Names(const JsonValue& params) {
  std::vector<std::string> names;
  for (const JsonValue& p : params.items) names.push_back(p["name"].text);
  return names;
}

JsonValue InfoJson(const std::string& module) {
  const HostRun run = RunHost({"info", module, "--json"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  JsonValue json;
  EXPECT_TRUE(JsonValue::Parse(run.out, &json)) << "not JSON:\n" << run.out;
  return json;
}

const std::vector<std::string> kPluginParams = {"Input", "Output", "Attack", "Release",
                                                "Mix",   "HPF",    "Bypass", "Sidechain"};

}  // namespace

TEST(HostInfo, Vst3JsonListsTenParametersWithTheHostControlsFirst) {
  const JsonValue info = InfoJson(Vst3Bundle());
  EXPECT_EQ(info["format"].text, "VST 3");
  EXPECT_EQ(info["name"].text, "Brask");
  EXPECT_EQ(info["vendor"].text, "Wyrdworks");
  EXPECT_EQ(info["version"].text, "4.0.0");
  EXPECT_EQ(info["category"].text, "Fx|Dynamics");
  const JsonValue& params = info["parameters"];
  ASSERT_EQ(params.items.size(), 10u);
  std::vector<std::string> expected = {"Preset", "Bypass"};
  expected.insert(expected.end(), kPluginParams.begin(), kPluginParams.end());
  EXPECT_EQ(Names(params), expected);
  EXPECT_TRUE(params.items[0]["hostControl"].boolean);
  EXPECT_TRUE(params.items[1]["hostControl"].boolean);
  for (size_t i = 2; i < 10; ++i) {
    EXPECT_FALSE(params.items[i]["hostControl"].boolean) << i;
    EXPECT_EQ(params.items[i]["id"].number, double(i - 2)) << i;
  }
  const JsonValue& attack = params.items[4];
  EXPECT_DOUBLE_EQ(attack["min"].number, 1.0);
  EXPECT_DOUBLE_EQ(attack["max"].number, 50.0);
  EXPECT_DOUBLE_EQ(attack["default"].number, 10.0);
  EXPECT_EQ(attack["display"].text, "10.00");
  EXPECT_EQ(attack["unit"].text, "%");
}

TEST(HostInfo, Vst3JsonListsTheMainAndSideChainBuses) {
  const JsonValue info = InfoJson(Vst3Bundle());
  const JsonValue& buses = info["buses"];
  ASSERT_EQ(buses.items.size(), 3u);
  EXPECT_EQ(buses.items[0]["name"].text, "Main Input");
  EXPECT_EQ(buses.items[0]["type"].text, "main");
  EXPECT_EQ(buses.items[1]["name"].text, "Aux Input");
  EXPECT_EQ(buses.items[1]["type"].text, "aux");
  EXPECT_FALSE(buses.items[1]["defaultActive"].boolean);
  EXPECT_EQ(buses.items[2]["direction"].text, "output");
  for (const JsonValue& bus : buses.items) EXPECT_EQ(bus["channels"].number, 2.0);
}

TEST(HostInfo, Vst2JsonListsEightParametersAndTheProgram) {
  const JsonValue info = InfoJson(Vst2Module());
  EXPECT_EQ(info["format"].text, "VST 2");
  EXPECT_EQ(info["name"].text, "Brask");
  EXPECT_EQ(info["uniqueId"].text, "Brk1");
  EXPECT_EQ(info["version"].text, "4.0.0");
  const JsonValue& params = info["parameters"];
  ASSERT_EQ(params.items.size(), 8u);
  EXPECT_EQ(Names(params), kPluginParams);
  const JsonValue& release = params.items[3];
  EXPECT_DOUBLE_EQ(release["min"].number, 100.0);
  EXPECT_DOUBLE_EQ(release["max"].number, 3000.0);
  EXPECT_DOUBLE_EQ(release["default"].number, 400.0);
  const JsonValue& output = params.items[1];
  EXPECT_DOUBLE_EQ(output["min"].number, -20.0);
  EXPECT_DOUBLE_EQ(output["max"].number, 20.0);
  ASSERT_EQ(info["programs"].items.size(), 1u);
  EXPECT_EQ(info["programs"].items[0].text, "-");
}

TEST(HostInfo, HumanOutputNamesThePlugInAndEveryParameter) {
  for (const std::string& module : {Vst3Bundle(), Vst2Module()}) {
    const HostRun run = RunHost({"info", module});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Brask (VST"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("by Wyrdworks, version 4.0.0"), std::string::npos) << run.out;
    for (const std::string& name : kPluginParams) {
      EXPECT_NE(run.out.find(name), std::string::npos) << name;
    }
  }
}

TEST(HostInfo, TheBinaryInsideTheBundleLoadsAsVst3) {
  const JsonValue info = InfoJson(Vst3Bundle() + "/Contents/x86_64-linux/Brask.so");
  EXPECT_EQ(info["format"].text, "VST 3");
  EXPECT_EQ(info["parameters"].items.size(), 10u);
}
