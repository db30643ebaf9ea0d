// The bundle as LV2 tools see it: what lv2info reports against the plug-in's own parameter
// records, the Turtle against the LV2 schemas, and where `cmake --install` puts the bundle.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "Brask.h"
#include "Lv2Tools.h"
#include "lv2/Lv2Layout.h"
#include "plugin/BraskPresets.h"

namespace {

// lv2info's text for one port: each "Key: value" line, continuation lines appended.
using PortInfo = std::map<std::string, std::string>;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The "Port N:" blocks of lv2info's output, in order.
std::vector<PortInfo> PortsOf(const std::string& info) {
  std::vector<PortInfo> ports;
  std::istringstream lines(info);
  std::string line, key;
  while (std::getline(lines, line)) {
    const std::string text = Trimmed(line);
    if (text.rfind("Port ", 0) == 0 && line.find('\t') == 0 && text.back() == ':') {
      ports.emplace_back();
      key.clear();
      continue;
    }
    if (ports.empty() || text.empty()) continue;
    const size_t colon = text.find(": ");
    if (colon != std::string::npos && text.find(' ') > colon) {
      key = text.substr(0, colon);
      ports.back()[key] = Trimmed(text.substr(colon + 1));
    } else if (!key.empty()) {
      ports.back()[key] += " " + text;
    }
  }
  return ports;
}

std::string Fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Slurped(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class Lv2Info : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.Ready());
    run = RunLv2Tool("lv2info", {kBraskLv2Uri}, world);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ports = PortsOf(run.out);
  }

  Lv2World world;
  HostRun run;
  std::vector<PortInfo> ports;
  Brask plug{nullptr};  // the records the description must match
};

}  // namespace

TEST_F(Lv2Info, IdentityAndUi) {
  EXPECT_TRUE(Contains(run.out, "Name:              Brask\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Class:             Compressor Plugin\n"));
  EXPECT_TRUE(Contains(run.out, "Author:            Wyrdworks\n"));
  EXPECT_TRUE(Contains(run.out, "Has latency:       no\n"));
  EXPECT_FALSE(Contains(run.out, "Required Features")) << "minimal hosts must run it";
  EXPECT_TRUE(Contains(run.out, std::string(kBraskLv2UiUri) +
                                    "\n\t\t\tClass:  http://lv2plug.in/ns/extensions/ui#X11UI"));
  EXPECT_TRUE(Contains(run.out, "Brask.lv2/Brask_ui.so"));
  // 4.0.0: the major version is in the URI, the rest in the description.
  const std::string turtle = Slurped(BundleFile("brask.ttl"));
  EXPECT_TRUE(Contains(turtle, "lv2:minorVersion 0 ;"));
  EXPECT_TRUE(Contains(turtle, "lv2:microVersion 0 ;"));
  EXPECT_TRUE(Contains(turtle, "doap:revision \"4.0.0\""));
}

// lv2info prints the labels of the presets it finds, one per line, under "Presets:".
TEST_F(Lv2Info, ListsEveryFactoryPreset) {
  const size_t start = run.out.find("\tPresets: \n");
  ASSERT_NE(start, std::string::npos) << run.out;
  std::istringstream lines(run.out.substr(start + 12));
  std::set<std::string> listed;
  std::string line;
  while (std::getline(lines, line) && !Trimmed(line).empty()) listed.insert(Trimmed(line));
  std::set<std::string> expected;
  for (const BraskPreset& preset : kBraskPresets) expected.insert(preset.name);
  EXPECT_EQ(listed, expected);
}

TEST_F(Lv2Info, ParameterPortsCarryTheRecordsNamesRangesAndDefaults) {
  ASSERT_EQ(ports.size(), size_t(kLv2PortCount)) << run.out;
  for (int i = 0; i < plug.ParamCount(); ++i) {
    const IParamRecord* record = plug.ParamAt(i);
    PortInfo& port = ports[size_t(i)];
    SCOPED_TRACE(record->Name());
    EXPECT_EQ(port["Name"], record->Name());
    EXPECT_TRUE(Contains(port["Type"], "#ControlPort") && Contains(port["Type"], "#InputPort"));
    EXPECT_EQ(port["Minimum"], Fixed(record->Min()));
    EXPECT_EQ(port["Maximum"], Fixed(record->Max()));
    EXPECT_EQ(port["Default"], Fixed(record->Default()));
    const bool isSwitch = record->Kind() == ParamKindInt;
    EXPECT_EQ(Contains(port["Properties"], "#toggled"), isSwitch);
    EXPECT_EQ(Contains(port["Properties"], "#integer"), isSwitch);
    EXPECT_EQ(port.count("Designation") == 1, i == kParamBypass);
  }
  EXPECT_EQ(ports[kParamBypass]["Designation"], "http://lv2plug.in/ns/lv2core#enabled");
}

TEST_F(Lv2Info, MeterAndAudioPorts) {
  ASSERT_EQ(ports.size(), size_t(kLv2PortCount)) << run.out;
  PortInfo& meter = ports[kLv2GainReductionPort];
  EXPECT_EQ(meter["Symbol"], "gain_reduction");
  EXPECT_TRUE(Contains(meter["Type"], "#ControlPort") && Contains(meter["Type"], "#OutputPort"));
  EXPECT_EQ(meter["Minimum"], Fixed(0.0));
  EXPECT_EQ(meter["Maximum"], Fixed(1.0));
  const char* const symbols[] = {"in_l", "in_r", "sidechain_l", "sidechain_r", "out_l", "out_r"};
  for (uint32_t i = 0; i < kLv2AudioInCount + kLv2AudioOutCount; ++i) {
    PortInfo& port = ports[kLv2FirstAudioInPort + i];
    const bool input = i < kLv2AudioInCount;
    SCOPED_TRACE(symbols[i]);
    EXPECT_EQ(port["Symbol"], symbols[i]);
    EXPECT_TRUE(Contains(port["Type"], "#AudioPort"));
    EXPECT_TRUE(Contains(port["Type"], input ? "#InputPort" : "#OutputPort"));
    EXPECT_EQ(Contains(port["Properties"], "#isSideChain"), i == 2 || i == 3);
  }
}

// Hosts print a port's unit beside its value ("HPF 120 %" was wrong): each knob names its real
// unit, and the scales that are not times name none.
TEST(Lv2Turtle, ParameterPortsNameTheirRealUnits) {
  const std::string turtle = Slurped(BundleFile("brask.ttl"));
  const std::pair<const char*, const char*> expected[] = {
      {"input", "units:db"}, {"output", "units:db"}, {"attack", nullptr}, {"release", nullptr},
      {"mix", "units:pc"},   {"hpf", "units:hz"},    {"bypass", nullptr}, {"sidechain", nullptr}};
  for (const auto& [symbol, unit] : expected) {
    const size_t at = turtle.find(std::string("lv2:symbol \"") + symbol + "\"");
    ASSERT_NE(at, std::string::npos) << symbol;
    const size_t start = turtle.rfind('[', at), end = turtle.find(']', at);
    const std::string port = turtle.substr(start, end - start);
    if (unit) {
      EXPECT_TRUE(Contains(port, std::string("units:unit ") + unit + " ;")) << port;
    } else {
      EXPECT_FALSE(Contains(port, "units:unit")) << port;
    }
  }
}

TEST(Lv2Turtle, ValidatesAgainstTheLv2Schemas) {
  std::vector<std::string> files = SchemaTurtle();
  ASSERT_FALSE(files.empty()) << "the LV2 schemas (lv2-dev) are missing";
  files.push_back(BundleFile("manifest.ttl"));
  files.push_back(BundleFile("brask.ttl"));
  files.push_back(BundleFile("presets.ttl"));
  const HostRun run = RunProgram("/usr/bin/sord_validate", files);
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_TRUE(Contains(run.out + run.err, "Found 0 errors")) << run.out << run.err;
}

// The plug-in binary never shows a panel: it carries no picture, only the UI binary does. A
// run of bytes from the middle of each picture file is looked for in both binaries.
TEST(Lv2Binaries, OnlyTheUiCarriesThePictures) {
  const std::string plugin = Slurped(BundleFile("Brask.so"));
  const std::string ui = Slurped(BundleFile("Brask_ui.so"));
  ASSERT_FALSE(plugin.empty());
  for (const char* picture : {"bg.png", "Thr.png", "vu.png", "2x/bg.png", "2x/SC.png"}) {
    const std::string png = Slurped(std::string(BRASK_PICTURE_DIR) + "/" + picture);
    ASSERT_GT(png.size(), 256u) << picture;
    const std::string middle = png.substr(png.size() / 2, 64);
    EXPECT_EQ(plugin.find(middle), std::string::npos) << picture << " is in the plug-in binary";
    EXPECT_NE(ui.find(middle), std::string::npos) << picture << " is missing from the UI binary";
  }
}

// `cmake --install` with HOME set to a scratch folder, into a prefix.
TEST(Lv2Install, HomeGetsDotLv2AndOtherPrefixesLibLv2) {
  for (const bool home : {true, false}) {
    ScratchDir homeDir, prefixDir;
    const std::string prefix = home ? homeDir.Path("") : prefixDir.Path("usr");
    const HostRun run =
        RunProgram(BRASK_CMAKE_COMMAND, {"--install", BRASK_BINARY_DIR, "--prefix", prefix},
                   {"HOME=" + homeDir.Path("")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string bundle =
        home ? homeDir.Path(".lv2/Brask.lv2") : prefixDir.Path("usr/lib/lv2/Brask.lv2");
    SCOPED_TRACE(bundle);
    for (const char* file :
         {"manifest.ttl", "brask.ttl", "presets.ttl", "Brask.so", "Brask_ui.so"}) {
      EXPECT_TRUE(IsFile(bundle + "/" + file)) << file;
    }
    const HostRun info =
        RunProgram("/usr/bin/lv2info", {kBraskLv2Uri},
                   {"LV2_PATH=" + bundle.substr(0, bundle.rfind('/')) + ":" + kSystemLv2Dir});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(Contains(info.out, "Bundle:            file://" + bundle + "/")) << info.out;
    EXPECT_TRUE(Contains(info.out, "Presets:")) << "the installed bundle lists its presets";
  }
}
