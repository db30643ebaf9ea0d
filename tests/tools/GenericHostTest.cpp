// brask-host as a host of any module: the probe modules (a VST 3 component with a separate
// edit controller, a VST 2 effect that questions its host) log what the host does to them.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "JsonValue.h"
#include "WavFiles.h"

namespace {

const std::string kProbeVst3 = BRASK_PROBE_VST3_PATH;
const std::string kProbeVst2 = BRASK_PROBE_VST2_PATH;

// A brask-host run with the probe modules logging into the scratch folder.
struct ProbedRun {
  HostRun run;
  std::vector<std::string> log;

  bool Has(const std::string& line) const {
    for (const std::string& entry : log) {
      if (entry == line) return true;
    }
    return false;
  }
  // Position of the first line starting with prefix, or -1.
  int Find(const std::string& prefix) const {
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].compare(0, prefix.size(), prefix) == 0) return int(i);
    }
    return -1;
  }
  std::string Dump() const {
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    return text;
  }
};

ProbedRun RunProbed(const ScratchDir& dir, const std::vector<std::string>& args) {
  const std::string logPath = dir.Path("probe.log");
  std::remove(logPath.c_str());
  ProbedRun probed;
  probed.run = RunProgram(BRASK_HOST_PATH, args, {"BRASK_PROBE_LOG=" + logPath});
  std::ifstream file(logPath);
  for (std::string line; std::getline(file, line);) probed.log.push_back(line);
  return probed;
}

JsonValue Json(const HostRun& run) {
  JsonValue json;
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(JsonValue::Parse(run.out, &json)) << "not JSON:\n" << run.out;
  return json;
}

const JsonValue* Param(const JsonValue& params, const std::string& name) {
  for (const JsonValue& param : params.items) {
    if (param["name"].text == name) return &param;
  }
  return nullptr;
}

// Renders the program signal through the module and answers the output over the input gain.
double RenderedGain(const ScratchDir& dir, std::vector<std::string> extra) {
  EXPECT_TRUE(WriteAudio(dir.Path("in.wav"), MakeProgramSignal(44100, 4410),
                         SF_FORMAT_WAV | SF_FORMAT_DOUBLE));
  std::vector<std::string> args = {"render",  extra[0], dir.Path("in.wav"), dir.Path("out.wav"),
                                   "--block", "256"};
  args.insert(args.end(), extra.begin() + 1, extra.end());
  const HostRun run = RunHost(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const TestAudio in = ReadAudio(dir.Path("in.wav"));
  const TestAudio out = ReadAudio(dir.Path("out.wav"));
  if (out.channels.size() != 2 || out.channels[0].size() != in.channels[0].size()) return 0.0;
  double inEnergy = 0.0, outEnergy = 0.0;
  for (size_t c = 0; c < 2; ++c) {
    for (size_t n = 0; n < in.channels[c].size(); ++n) {
      inEnergy += in.channels[c][n] * in.channels[c][n];
      outEnergy += out.channels[c][n] * out.channels[c][n];
    }
  }
  return std::sqrt(outEnergy / inEnergy);
}

}  // namespace

TEST(HostSeparateController, InfoShowsTheControllerConnectedAndTold) {
  ScratchDir dir;
  const ProbedRun probed = RunProbed(dir, {"info", kProbeVst3, "--json"});
  const JsonValue info = Json(probed.run);
  EXPECT_EQ(info["name"].text, "Probe Gain") << "the controller class listed first is skipped";
  EXPECT_EQ(info["vendor"].text, "Wyrdworks Tests");
  ASSERT_EQ(info["buses"].items.size(), 3u);
  EXPECT_EQ(info["buses"].items[1]["channels"].number, 1.0);
  const JsonValue& params = info["parameters"];
  ASSERT_NE(Param(params, "Handshake"), nullptr) << probed.run.out;
  EXPECT_EQ((*Param(params, "Handshake"))["normalized"].number, 1.0)
      << "the component's message reached the controller\n"
      << probed.Dump();
  EXPECT_EQ((*Param(params, "State Syncs"))["value"].number, 1.0) << probed.Dump();
  EXPECT_TRUE(probed.Has("component initialize host=brask-host")) << probed.Dump();
  EXPECT_TRUE(probed.Has("component hello sent")) << probed.Dump();
}

TEST(HostSeparateController, SetUpAndTeardownComeInAHostsOrder) {
  ScratchDir dir;
  ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), MakeProgramSignal(48000, 4800),
                         SF_FORMAT_WAV | SF_FORMAT_DOUBLE));
  const ProbedRun probed =
      RunProbed(dir, {"render", kProbeVst3, dir.Path("in.wav"), dir.Path("out.wav")});
  ASSERT_EQ(probed.run.exitCode, 0) << probed.run.err;
  const std::vector<std::string> order = {"module entry",
                                          "component initialize",
                                          "controller initialize",
                                          "component connect",
                                          "controller got hello",
                                          "controller setComponentState",
                                          "arrangements in=2,1 out=2",
                                          "setup mode=2 sampleSize=0 block=512 rate=48000",
                                          "active 1",
                                          "processing 1",
                                          "process buses=as arranged",
                                          "processing 0",
                                          "active 0",
                                          "component disconnect",
                                          "controller terminate",
                                          "component terminate",
                                          "module exit"};
  int previous = -1;
  for (const std::string& step : order) {
    const int at = probed.Find(step);
    EXPECT_GT(at, previous) << "\"" << step << "\" missing or out of order in\n" << probed.Dump();
    previous = std::max(previous, at);
  }
  EXPECT_NE(probed.Find("process buses=as arranged outputChanges=yes tempo=120"), -1)
      << probed.Dump();
}

TEST(HostSeparateController, ParameterChangesReachTheProcessor) {
  ScratchDir dir;
  EXPECT_NEAR(RenderedGain(dir, {kProbeVst3, "--set", "Gain=6"}), std::pow(10.0, 6.0 / 20.0), 1e-5);
  EXPECT_NEAR(RenderedGain(dir, {kProbeVst3, "--class", "Probe Gain 64", "--set", "Gain=-12"}),
              std::pow(10.0, -12.0 / 20.0), 1e-9);
}

TEST(HostSeparateController, LoadedStateReachesTheController) {
  ScratchDir dir;
  const HostRun saved =
      RunHost({"state", kProbeVst3, "--set", "Gain=-7.5", "--save", dir.Path("probe.state")});
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  const JsonValue loaded =
      Json(RunHost({"state", kProbeVst3, "--load", dir.Path("probe.state"), "--json"}));
  EXPECT_EQ(loaded["stateBytes"].number, 8.0);
  ASSERT_NE(Param(loaded["parameters"], "Gain"), nullptr) << loaded["parameters"].items.size();
  EXPECT_NEAR((*Param(loaded["parameters"], "Gain"))["value"].number, -7.5, 1e-9);
  EXPECT_EQ((*Param(loaded["parameters"], "State Syncs"))["value"].number, 2.0)
      << "once at creation, once after the load";
}

TEST(HostClassChoice, PicksTheNamedClassOrNamesTheChoices) {
  EXPECT_EQ(Json(RunHost({"info", kProbeVst3, "--class", "Probe Gain 64", "--json"}))["name"].text,
            "Probe Gain 64");
  const HostRun unknown = RunHost({"info", kProbeVst3, "--class", "Probe Loud"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("no audio-effect class \"Probe Loud\" (classes: Probe Gain, "
                             "Probe Gain 64)"),
            std::string::npos)
      << unknown.err;
  const HostRun vst2 = RunHost({"info", kProbeVst2, "--class", "Probe Gain"});
  EXPECT_EQ(vst2.exitCode, 1);
  EXPECT_NE(vst2.err.find("is a VST 2 module"), std::string::npos) << vst2.err;
}

TEST(HostVst2Callbacks, IdentityAndCapabilitiesAreAnswered) {
  ScratchDir dir;
  const ProbedRun probed = RunProbed(dir, {"info", kProbeVst2, "--json"});
  const JsonValue info = Json(probed.run);
  EXPECT_EQ(info["name"].text, "Probe Gain");
  EXPECT_EQ(info["version"].text, "1.2.3");
  EXPECT_TRUE(probed.Has("entry version=2400")) << "asked before the effect record exists\n"
                                                << probed.Dump();
  EXPECT_TRUE(probed.Has("open vendor=Wyrdworks product=brask-host vendorVersion=" +
                         std::to_string(BRASK_HOST_VENDOR_VERSION)))
      << probed.Dump();
  EXPECT_TRUE(
      probed.Has("canDo sendVstTimeInfo=1 sizeWindow=-1 receiveVstEvents=-1 "
                 "acceptIOChanges=1 noSuchCapability=0"))
      << probed.Dump();
  EXPECT_TRUE(probed.Has("edits begin=1 end=1 level=1")) << probed.Dump();
  EXPECT_TRUE(probed.Has("close")) << probed.Dump();
}

TEST(HostVst2Callbacks, ProcessingSeesTheSetupTransportAndLevel) {
  ScratchDir dir;
  // bench plays in real time; render works offline at the file's rate.
  const ProbedRun bench =
      RunProbed(dir, {"bench", kProbeVst2, "--seconds", "0.05", "--runs", "1", "--block", "300"});
  ASSERT_EQ(bench.run.exitCode, 0) << bench.run.err;
  for (const char* line : {"precision 32", "precision 64", "mains 1 rate=48000 block=300", "start",
                           "stop", "mains 0 rate=48000 block=300",
                           "process32 level=2 samplePos=0 rate=48000 tempo=120 signature=4/4",
                           "process32 level=2 samplePos=300 rate=48000 tempo=120 signature=4/4",
                           "process64 level=2 samplePos=0 rate=48000 tempo=120 signature=4/4"}) {
    EXPECT_TRUE(bench.Has(line)) << line << " missing from\n" << bench.Dump();
  }
  EXPECT_LT(bench.Find("start"), bench.Find("process32")) << bench.Dump();
  ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), MakeProgramSignal(44100, 441),
                         SF_FORMAT_WAV | SF_FORMAT_DOUBLE));
  const ProbedRun render =
      RunProbed(dir, {"render", kProbeVst2, dir.Path("in.wav"), dir.Path("out.wav")});
  ASSERT_EQ(render.run.exitCode, 0) << render.run.err;
  EXPECT_TRUE(render.Has("mains 1 rate=44100 block=512")) << render.Dump();
  EXPECT_NE(render.Find("process64 level=4 samplePos=0"), -1) << render.Dump();
}

TEST(HostVst2Callbacks, ValuesTheTextIsRefusedForAreFoundThroughTheDisplay) {
  ScratchDir dir;
  // The probe shows two decimals; the middle of the values showing the asked number is
  // within a quarter of a hundredth of a dB of it.
  EXPECT_NEAR(RenderedGain(dir, {kProbeVst2, "--set", "Gain=6"}), std::pow(10.0, 6.0 / 20.0), 6e-4);
  EXPECT_NEAR(RenderedGain(dir, {kProbeVst2, "--set", "Gain=-20.5", "--precision", "32"}),
              std::pow(10.0, -20.5 / 20.0), 3e-5);
  const HostRun outside =
      RunHost({"state", kProbeVst2, "--set", "Gain=30", "--save", dir.Path("never.state")});
  EXPECT_EQ(outside.exitCode, 1);
  EXPECT_NE(outside.err.find("shows no value 30 (it shows -24 to 24)"), std::string::npos)
      << outside.err;
}

TEST(HostBundles, ARenamedBundleLoadsItsOnlyBinary) {
  ScratchDir dir;
  std::filesystem::copy(kProbeVst3, dir.Path("Renamed.vst3"),
                        std::filesystem::copy_options::recursive);
  EXPECT_EQ(Json(RunHost({"info", dir.Path("Renamed.vst3"), "--json"}))["name"].text, "Probe Gain");
  std::filesystem::copy_file(dir.Path("Renamed.vst3/Contents/x86_64-linux/ProbeGain.so"),
                             dir.Path("Renamed.vst3/Contents/x86_64-linux/Other.so"));
  const HostRun two = RunHost({"info", dir.Path("Renamed.vst3")});
  EXPECT_EQ(two.exitCode, 1) << "two binaries, none named after the bundle";
  EXPECT_NE(two.err.find("is no VST 3 bundle: it has no " + dir.Path("Renamed.vst3") +
                         "/Contents/x86_64-linux/Renamed.so"),
            std::string::npos)
      << two.err;
}
