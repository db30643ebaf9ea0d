// brask-host bench: how fast the plug-in processes, through the module, at 32 and 64 bits.

#include <chrono>
#include <cstdio>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "DemoSignal.h"
#include "JsonText.h"
#include "ParamSettings.h"
#include "PluginLoader.h"

namespace {

const char kUsage[] =
    "usage: brask-host bench MODULE [--seconds S] [--block N] [--set NAME=VALUE ...] [--json]\n";

constexpr double kSampleRate = 48000.0;

struct BenchResult {
  int precision = 64;
  double audioSeconds = 0.0;
  double processSeconds = 0.0;
  double RealTimeFactor() const { return processSeconds > 0 ? audioSeconds / processSeconds : 0; }
  double NanosecondsPerFrame() const { return processSeconds * 1e9 / (audioSeconds * kSampleRate); }
};

// Times the plug-in's process calls alone over the demo groove.
template <typename Sample>
double TimeProcessing(HostedPlugin* plugin, const DemoSignal& signal, int block) {
  std::vector<Sample> channels[6];
  for (auto& channel : channels) channel.assign(size_t(block), Sample(0));
  Sample* pointers[6];
  for (int c = 0; c < 6; ++c) pointers[c] = channels[c].data();
  const size_t total = signal.mix[0].size();
  double seconds = 0.0;
  for (size_t start = 0; start < total; start += size_t(block)) {
    const int frames = int(std::min(total - start, size_t(block)));
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < frames; ++i)
        channels[c][size_t(i)] = Sample(signal.mix[c][start + size_t(i)]);
    }
    const auto begin = std::chrono::steady_clock::now();
    plugin->Process(pointers, pointers + 4, frames);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  }
  return seconds;
}

}  // namespace

int RunBench(int argc, char** argv) {
  CommandLine args({"--seconds", "--block", "--set"}, {"--json"});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 1) return UsageError("bench takes one MODULE", kUsage);
  double seconds = 10.0;
  long block = 512;
  if (!ParseNumber(args.Value("--seconds", "10"), &seconds) || seconds <= 0 || seconds > 3600) {
    return UsageError("--seconds takes a duration above 0 and up to 3600", kUsage);
  }
  if (!ParseInteger(args.Value("--block", "512"), 1, 65536, &block)) {
    return UsageError("--block takes a whole number of frames from 1 to 65536", kUsage);
  }
  ParamSettings settings;
  if (!settings.Parse(args.Values("--set"), &error)) return UsageError(error, kUsage);

  const DemoSignal signal = DemoSignal::Make(kSampleRate, seconds);
  std::vector<BenchResult> results;
  for (const int precision : {32, 64}) {
    // A fresh instance per precision: nothing carries over from the other run.
    auto plugin = LoadPlugin(args.Positional()[0], &error);
    ProcessSettings process{kSampleRate, int(block), precision == 64, false, false};
    if (!plugin || !settings.Apply(plugin.get(), &error) || !plugin->Prepare(process, &error)) {
      return Fail(error);
    }
    BenchResult result{precision, seconds, 0.0};
    result.processSeconds = precision == 64
                                ? TimeProcessing<double>(plugin.get(), signal, int(block))
                                : TimeProcessing<float>(plugin.get(), signal, int(block));
    results.push_back(result);
  }
  if (args.Has("--json")) {
    std::printf("[");
    for (size_t i = 0; i < results.size(); ++i) {
      std::printf(
          "%s{\"precision\": %d, \"audioSeconds\": %s, \"processSeconds\": %s, "
          "\"realTimeFactor\": %s, \"nanosecondsPerFrame\": %s}",
          i ? ", " : "", results[i].precision, JsonNumber(results[i].audioSeconds).c_str(),
          JsonNumber(results[i].processSeconds).c_str(),
          JsonNumber(results[i].RealTimeFactor()).c_str(),
          JsonNumber(results[i].NanosecondsPerFrame()).c_str());
    }
    std::printf("]\n");
    return kExitOk;
  }
  std::printf("%g s of stereo audio at %g Hz, block %ld, real-time process mode\n", seconds,
              kSampleRate, block);
  for (const BenchResult& r : results) {
    std::printf("  %d-bit: %8.1f x real time, %7.1f ns per frame\n", r.precision,
                r.RealTimeFactor(), r.NanosecondsPerFrame());
  }
  return kExitOk;
}
