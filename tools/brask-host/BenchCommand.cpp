// brask-host bench: what each module's processing costs, side by side, at 32 and 64 bits.
//
// Every module gets one instance per precision, all loaded and prepared before timing starts.
// The timed runs then go round-robin (each run of every instance, then the next run), so a
// change in machine load during the bench hits every module alike. Every process call is timed
// on its own, and each cell reports each block's median over the runs, summed: on a shared
// machine most runs contain calls the operating system interrupted, and those drop out.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "BenchTable.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DemoSignal.h"
#include "ParamSettings.h"
#include "PluginLoader.h"
#include "plugin/DenormalGuard.h"

namespace {

const char kUsage[] =
    "usage: brask-host bench MODULE [--class NAME] [--set NAME=VALUE ...] [MODULE ...]\n"
    "                        [--seconds S] [--runs R] [--block N] [--json]\n";

constexpr double kSampleRate = 48000.0;
constexpr double kWarmUpSeconds = 1.0;
const std::set<std::string> kValueOptions = {"--seconds", "--runs", "--block", "--set", "--class"};

// One MODULE word with the options that follow it.
struct ModuleRequest {
  std::string path;
  std::string className;
  std::vector<std::string> settingTexts;
};

// The six channels one instance processes: main left, right, side-chain left, right (silent),
// output left, right.
template <typename Sample>
struct BlockChannels {
  explicit BlockChannels(int frames) {
    for (auto& channel : storage) channel.assign(size_t(frames), Sample(0));
    for (int c = 0; c < 6; ++c) pointers[c] = storage[c].data();
  }
  std::vector<Sample> storage[6];
  Sample* pointers[6];
};

// Puts --class and --set into the module before them and every other word into *global.
bool GroupWords(int argc, char** argv, std::vector<ModuleRequest>* modules,
                std::vector<std::string>* global, std::string* error) {
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
      modules->push_back(ModuleRequest{word, "", {}});
      continue;
    }
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (kValueOptions.count(name) && equals == std::string::npos) {
      if (i + 1 >= argc) {
        *error = name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (name != "--set" && name != "--class") {
      global->push_back(
          equals == std::string::npos && !kValueOptions.count(name) ? word : name + "=" + value);
    } else if (modules->empty()) {
      *error = name + " belongs after the MODULE it is for";
      return false;
    } else if (name == "--set") {
      modules->back().settingTexts.push_back(value);
    } else {
      modules->back().className = value;
    }
  }
  return true;
}

bool ParseSetup(const std::vector<std::string>& words, BenchSetup* setup, bool* json,
                std::string* error) {
  std::vector<std::string> copies(words);
  std::vector<char*> argv;
  for (std::string& word : copies) argv.push_back(word.data());
  CommandLine args({"--seconds", "--runs", "--block"}, {"--json"});
  if (!args.Parse(int(argv.size()), argv.data(), error)) return false;
  long runs = 0, block = 0;
  if (!ParseNumber(args.Value("--seconds", "5"), &setup->seconds) || setup->seconds <= 0 ||
      setup->seconds > 3600) {
    *error = "--seconds takes a duration above 0 and up to 3600";
    return false;
  }
  if (!ParseInteger(args.Value("--runs", "5"), 1, 1000, &runs)) {
    *error = "--runs takes a whole number from 1 to 1000";
    return false;
  }
  if (!ParseInteger(args.Value("--block", "512"), 1, 65536, &block)) {
    *error = "--block takes a whole number of frames from 1 to 65536";
    return false;
  }
  setup->runs = int(runs);
  setup->block = int(block);
  *json = args.Has("--json");
  return true;
}

// What reading the clock twice around nothing takes, the median of many tries. A small
// block's call is not much longer than that, so it is taken off every timed call; otherwise
// the clock, not the plug-in, would make small blocks look dear.
double ClockSeconds() {
  std::vector<double> tries(20001);
  for (double& seconds : tries) {
    const auto begin = std::chrono::steady_clock::now();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  }
  std::nth_element(tries.begin(), tries.begin() + tries.size() / 2, tries.end());
  return tries[tries.size() / 2];
}

// Times the plug-in's process calls alone over `frames` of the groove, block by block; answers
// each block's seconds, the clock's own cost taken off.
template <typename Sample>
std::vector<double> TimeProcessing(HostedPlugin* plugin, const DemoSignal& signal, size_t frames,
                                   int block, double clockSeconds) {
  BlockChannels<Sample> channels(block);
  const size_t total = std::min(frames, signal.mix[0].size());
  std::vector<double> seconds;
  seconds.reserve(total / size_t(block) + 1);
  for (size_t start = 0; start < total; start += size_t(block)) {
    const int count = int(std::min(total - start, size_t(block)));
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < count; ++i) {
        channels.storage[c][size_t(i)] = Sample(signal.mix[c][start + size_t(i)]);
      }
    }
    const auto begin = std::chrono::steady_clock::now();
    plugin->Process(channels.pointers, channels.pointers + 4, count);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    seconds.push_back(std::max(0.0, elapsed - clockSeconds));
  }
  return seconds;
}

std::vector<double> TimeCell(HostedPlugin* plugin, int precision, const DemoSignal& signal,
                             size_t frames, const BenchSetup& setup) {
  const double clock = setup.clockNanoseconds * 1e-9;
  return precision == 64 ? TimeProcessing<double>(plugin, signal, frames, setup.block, clock)
                         : TimeProcessing<float>(plugin, signal, frames, setup.block, clock);
}

// Loads, sets and prepares one instance per precision the module supports.
bool LoadModule(const ModuleRequest& request, const BenchSetup& setup, BenchRow* row,
                std::unique_ptr<HostedPlugin> instances[2], std::string* error) {
  ParamSettings settings;
  if (!settings.Parse(request.settingTexts, error)) return false;
  row->module = request.path;
  row->settings = request.settingTexts;
  for (int c = 0; c < 2; ++c) {
    auto plugin = LoadPlugin(request.path, error, request.className);
    if (!plugin) return false;
    if (c == 0) {
      const HostIdentity identity = plugin->Identity();
      row->name = identity.name;
      row->format = identity.format;
    }
    const bool use64 = row->cells[c].precision == 64;
    if (use64 && !plugin->CanProcess64()) continue;
    const ProcessSettings process{setup.sampleRate, setup.block, use64, false, false};
    if (!settings.Apply(plugin.get(), error) || !plugin->Prepare(process, error)) {
      *error = request.path + ": " + *error;
      return false;
    }
    row->cells[c].measured = true;
    instances[c] = std::move(plugin);
  }
  return true;
}

}  // namespace

int RunBench(int argc, char** argv) {
  std::vector<ModuleRequest> requests;
  std::vector<std::string> global;
  BenchSetup setup;
  setup.sampleRate = kSampleRate;
  bool json = false;
  std::string error;
  if (!GroupWords(argc, argv, &requests, &global, &error) ||
      !ParseSetup(global, &setup, &json, &error)) {
    return UsageError(error, kUsage);
  }
  if (requests.empty()) return UsageError("bench takes at least one MODULE", kUsage);

  std::vector<BenchRow> rows(requests.size());
  std::vector<std::unique_ptr<HostedPlugin>> instances(2 * requests.size());
  for (size_t m = 0; m < requests.size(); ++m) {
    if (!LoadModule(requests[m], setup, &rows[m], &instances[2 * m], &error)) return Fail(error);
  }
  const DemoSignal signal = DemoSignal::Make(setup.sampleRate, setup.seconds);
  const size_t frames = signal.mix[0].size();
  const size_t warmUpFrames = std::min(frames, size_t(kWarmUpSeconds * setup.sampleRate));
  // DAW audio threads run with denormals flushed; so do the timed calls.
  const DenormalGuard flushDenormals;
  setup.clockNanoseconds = ClockSeconds() * 1e9;
  for (int run = -1; run < setup.runs; ++run) {
    for (size_t i = 0; i < instances.size(); ++i) {
      if (!instances[i]) continue;
      BenchCell& cell = rows[i / 2].cells[i % 2];
      // Run -1 warms caches and lazy set-up up and is not counted.
      const size_t length = run < 0 ? warmUpFrames : frames;
      std::vector<double> blocks =
          TimeCell(instances[i].get(), cell.precision, signal, length, setup);
      if (run < 0) continue;
      double seconds = 0.0;
      for (double s : blocks) seconds += s;
      cell.nanosecondsPerFrame.push_back(seconds * 1e9 / double(frames));
      cell.blockSeconds.push_back(std::move(blocks));
      cell.frames = double(frames);
    }
  }
  std::fputs((json ? BenchJson(setup, rows) : BenchText(setup, rows)).c_str(), stdout);
  return kExitOk;
}
