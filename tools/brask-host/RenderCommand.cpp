// brask-host render: runs an audio file through a plug-in, block by block, as a DAW's export
// does, and writes the result (and, asked for, the gain reduction per block).

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "AudioFile.h"
#include "CommandLine.h"
#include "Commands.h"
#include "JsonText.h"
#include "Levels.h"
#include "ParamSettings.h"
#include "PendingFile.h"
#include "PluginLoader.h"
#include "PresetCatalog.h"
#include "ProgressBar.h"

namespace {

const char kUsage[] =
    "usage: brask-host render MODULE IN OUT [--class NAME] [--preset NAME|FILE]\n"
    "                         [--set NAME=VALUE ...] [--sidechain FILE] [--block N]\n"
    "                         [--precision 32|64] [--meter FILE.csv] [--json]\n";

constexpr double kProgressSeconds = 20.0;  // shorter files render too fast for a bar
constexpr double kFloorDb = -120.0;        // silence in the meter file
constexpr char kDriveParam[] = "Input";    // the compressor's drive; at its minimum, no compression

struct RenderJob {
  std::string module, className, inputPath, outputPath, meterPath;
  std::string presetPath;  ///< the preset file loaded before the settings, or empty
  std::string presetKey;   ///< or the key of a preset inside the plug-in (CLAP)
  ParamSettings settings;
  ProcessSettings process;
  AudioData input;
  AudioData sideChain;
  std::unique_ptr<HostedPlugin> plugin;
  std::unique_ptr<HostedPlugin> reference;  ///< same settings without compression, for --meter
};

struct RenderResult {
  Levels in, out;
  Levels uncompressed;  ///< the reference instance's output (or the input), for --meter
  double largestReductionDb = 0.0;
  double processSeconds = 0.0;
};

double Floored(double db) { return std::isfinite(db) ? std::fmax(db, kFloorDb) : kFloorDb; }

// Sample n of a file channel, mono files feeding both channels, silence past the end.
double SampleAt(const AudioData& audio, int channel, int64_t n) {
  if (audio.channels.empty() || n >= audio.Frames()) return 0.0;
  const auto& source = audio.channels[size_t(channel) % audio.channels.size()];
  return source[size_t(n)];
}

template <typename Sample>
class BlockBuffers {
 public:
  explicit BlockBuffers(int frames) {
    for (auto& channel : storage) channel.assign(size_t(frames), Sample(0));
    for (int c = 0; c < 6; ++c) pointers[c] = storage[c].data();
  }
  Sample* const* Inputs() { return pointers; }
  Sample* const* Outputs() { return pointers + 4; }
  Sample* Channel(int c) { return pointers[c]; }

 private:
  std::vector<Sample> storage[6];  ///< main L, R, side-chain L, R, output L, R
  Sample* pointers[6];
};

// Runs the whole file; the meter file gets one line per block.
template <typename Sample>
bool RenderAll(RenderJob& job, AudioFileWriter& writer, FILE* meter, RenderResult* result,
               std::string* error) {
  const int block = job.process.maxBlock;
  BlockBuffers<Sample> main(block), ref(block);
  std::vector<double> interleaved(size_t(block) * 2);
  const int64_t total = job.input.Frames();
  ProgressBar progress("render", total, int64_t(kProgressSeconds * job.input.sampleRate));
  for (int64_t start = 0; start < total; start += block) {
    const int frames = int(std::min<int64_t>(block, total - start));
    Levels blockIn, blockOut, blockRef;
    for (int i = 0; i < frames; ++i) {
      for (int c = 0; c < 2; ++c) {
        main.Channel(c)[i] = Sample(SampleAt(job.input, c, start + i));
        main.Channel(2 + c)[i] = Sample(SampleAt(job.sideChain, c, start + i));
        blockIn.Add(double(main.Channel(c)[i]));
      }
    }
    const auto begin = std::chrono::steady_clock::now();
    job.plugin->Process(main.Inputs(), main.Outputs(), frames);
    result->processSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (job.reference) job.reference->Process(main.Inputs(), ref.Outputs(), frames);
    for (int i = 0; i < frames; ++i) {
      for (int c = 0; c < 2; ++c) {
        const double out = double(main.Channel(4 + c)[i]);
        interleaved[size_t(2 * i + c)] = out;
        blockOut.Add(out);
        if (job.reference) blockRef.Add(double(ref.Channel(4 + c)[i]));
      }
    }
    if (!writer.Write(interleaved.data(), frames, error)) return false;
    result->in.peak = std::fmax(result->in.peak, blockIn.peak);
    result->in.sumSquares += blockIn.sumSquares;
    result->in.count += blockIn.count;
    result->out.peak = std::fmax(result->out.peak, blockOut.peak);
    result->out.sumSquares += blockOut.sumSquares;
    result->out.count += blockOut.count;
    if (meter) {
      const Levels& uncompressed = job.reference ? blockRef : blockIn;
      result->uncompressed.sumSquares += uncompressed.sumSquares;
      result->uncompressed.count += uncompressed.count;
      const double reduction = uncompressed.Rms() > 1e-6 && blockOut.Rms() > 0.0
                                   ? Levels::ToDb(uncompressed.Rms()) - blockOut.RmsDb()
                                   : 0.0;
      result->largestReductionDb = std::fmax(result->largestReductionDb, reduction);
      std::fprintf(meter, "%.6f,%.3f,%.3f,%.3f\n", double(start) / job.input.sampleRate,
                   Floored(blockIn.RmsDb()), Floored(blockOut.RmsDb()), reduction);
    }
    progress.Update(start + frames);
  }
  return true;
}

bool LoadInputs(const CommandLine& args, RenderJob* job, std::string* error) {
  if (ContainerForName(job->outputPath) == 0) {
    *error = "cannot tell the format of " + job->outputPath +
             " from its name (use .wav, .aiff or .flac)";
    return false;
  }
  if (!ReadAudioFile(job->inputPath, &job->input, error)) return false;
  if (args.Has("--sidechain")) {
    const std::string path = args.Value("--sidechain");
    if (!ReadAudioFile(path, &job->sideChain, error)) return false;
    if (job->sideChain.sampleRate != job->input.sampleRate) {
      *error = "the side-chain file " + path + " runs at " +
               std::to_string(int(job->sideChain.sampleRate)) + " Hz, the input at " +
               std::to_string(int(job->input.sampleRate)) + " Hz; resample it first";
      return false;
    }
  }
  job->process.sampleRate = job->input.sampleRate;
  job->process.sideChain = args.Has("--sidechain");
  return true;
}

// A CLAP plug-in's presets are inside it; the other formats' are files.
bool ResolveRenderPreset(const std::string& argument, RenderJob* job, std::string* error) {
  const HostIdentity identity = job->plugin->Identity();
  return identity.format == "CLAP"
             ? ResolvePluginPreset(argument, job->plugin.get(), &job->presetKey, error)
             : ResolvePreset(argument, job->module, identity, &job->presetPath, error);
}

// The preset, then the settings, on one instance.
bool ApplyPresetAndSettings(const RenderJob& job, const ParamSettings& settings,
                            HostedPlugin* plugin, std::string* error) {
  return (job.presetPath.empty() || plugin->LoadPresetFile(job.presetPath, error)) &&
         (job.presetKey.empty() || plugin->LoadPluginPreset(job.presetKey, error)) &&
         settings.Apply(plugin, error);
}

// The reference instance: the same preset and settings with the drive at its minimum.
bool LoadReference(RenderJob* job, std::string* error) {
  job->reference = LoadPlugin(job->module, error, job->className);
  if (!job->reference) return false;
  const std::vector<HostParam> params = job->reference->Params();
  const HostParam* drive = ParamSettings::Find(params, kDriveParam);
  if (!drive) {
    job->reference.reset();  // the meter falls back to output against input
    return true;
  }
  ParamSettings uncompressed = job->settings;
  uncompressed.Put(drive->name, drive->minPlain);
  return ApplyPresetAndSettings(*job, uncompressed, job->reference.get(), error) &&
         job->reference->Prepare(job->process, error);
}

// The whole render's reduction: the uncompressed RMS over the output's, in dB.
double OverallReductionDb(const RenderResult& r) {
  return r.uncompressed.Rms() > 1e-6 && r.out.Rms() > 0.0
             ? Levels::ToDb(r.uncompressed.Rms()) - r.out.RmsDb()
             : 0.0;
}

void PrintSummary(const RenderJob& job, const RenderResult& r, bool json, bool metered) {
  const double seconds = double(job.input.Frames()) / job.input.sampleRate;
  const double realTime = r.processSeconds > 0.0 ? seconds / r.processSeconds : 0.0;
  if (json) {
    std::printf(
        "{\"input\": %s, \"output\": %s, \"sampleRate\": %s, \"frames\": %lld, \"block\": %d, "
        "\"precision\": %d, \"inputPeakDb\": %s, \"inputRmsDb\": %s, \"outputPeakDb\": %s, "
        "\"outputRmsDb\": %s, \"gainReductionDb\": %s, \"largestGainReductionDb\": %s, "
        "\"processSeconds\": %s, \"realTimeFactor\": %s}\n",
        JsonQuote(job.inputPath).c_str(), JsonQuote(job.outputPath).c_str(),
        JsonNumber(job.input.sampleRate).c_str(), (long long)job.input.Frames(),
        job.process.maxBlock, job.process.use64 ? 64 : 32, JsonNumber(r.in.PeakDb()).c_str(),
        JsonNumber(r.in.RmsDb()).c_str(), JsonNumber(r.out.PeakDb()).c_str(),
        JsonNumber(r.out.RmsDb()).c_str(),
        metered ? JsonNumber(OverallReductionDb(r)).c_str() : "null",
        metered ? JsonNumber(r.largestReductionDb).c_str() : "null",
        JsonNumber(r.processSeconds).c_str(), JsonNumber(realTime).c_str());
    return;
  }
  std::printf("rendered %s -> %s: %.2f s at %g Hz, block %d, %d-bit\n", job.inputPath.c_str(),
              job.outputPath.c_str(), seconds, job.input.sampleRate, job.process.maxBlock,
              job.process.use64 ? 64 : 32);
  std::printf("  input   peak %7.2f dBFS  RMS %7.2f dBFS\n", r.in.PeakDb(), r.in.RmsDb());
  std::printf("  output  peak %7.2f dBFS  RMS %7.2f dBFS\n", r.out.PeakDb(), r.out.RmsDb());
  if (metered) {
    std::printf("  gain reduction %.2f dB overall, %.2f dB at most\n", OverallReductionDb(r),
                r.largestReductionDb);
  }
  std::printf("  processing %.3f s, %.1f x real time\n", r.processSeconds, realTime);
}

bool ParseProcessOptions(const CommandLine& args, RenderJob* job, std::string* error) {
  long block = 512;
  if (!ParseInteger(args.Value("--block", "512"), 1, 65536, &block)) {
    *error = "--block takes a whole number of frames from 1 to 65536";
    return false;
  }
  const std::string precision = args.Value("--precision", "64");
  if (args.Has("--precision") && precision != "32" && precision != "64") {
    *error = "--precision takes 32 or 64";
    return false;
  }
  job->process.maxBlock = int(block);
  job->process.use64 = precision == "64";
  job->process.offline = true;
  return job->settings.Parse(args.Values("--set"), error);
}

}  // namespace

int RunRender(int argc, char** argv) {
  CommandLine args(
      {"--class", "--preset", "--set", "--sidechain", "--block", "--precision", "--meter"},
      {"--json"});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 3) return UsageError("render takes MODULE IN OUT", kUsage);
  RenderJob job;
  job.module = args.Positional()[0];
  job.inputPath = args.Positional()[1];
  job.outputPath = args.Positional()[2];
  job.meterPath = args.Value("--meter");
  job.className = args.Value("--class");
  if (!ParseProcessOptions(args, &job, &error)) return UsageError(error, kUsage);
  if (!LoadInputs(args, &job, &error)) return Fail(error);

  job.plugin = LoadPlugin(job.module, &error, job.className);
  if (!job.plugin) return Fail(error);
  // Without --precision: 64-bit where the plug-in offers it.
  if (!args.Has("--precision")) job.process.use64 = job.plugin->CanProcess64();
  if (args.Has("--preset") && !ResolveRenderPreset(args.Value("--preset"), &job, &error)) {
    return Fail(error);
  }
  if (!ApplyPresetAndSettings(job, job.settings, job.plugin.get(), &error) ||
      !job.plugin->Prepare(job.process, &error)) {
    return Fail(error);
  }
  const bool metered = !job.meterPath.empty();
  if (metered && !LoadReference(&job, &error)) return Fail(error);

  AudioFileWriter writer(job.outputPath);
  if (!writer.Open(job.input.sampleRate, 2, job.input.format, &error)) return Fail(error);
  PendingFile meterFile(job.meterPath);
  FILE* meter = nullptr;
  if (metered) {
    const int fd = meterFile.Create(&error);
    if (fd < 0 || !(meter = fdopen(fd, "w")))
      return Fail(error.empty() ? "cannot write " + job.meterPath : error);
    std::fprintf(meter, "time_s,input_rms_db,output_rms_db,gain_reduction_db\n");
  }
  RenderResult result;
  const bool rendered = job.process.use64 ? RenderAll<double>(job, writer, meter, &result, &error)
                                          : RenderAll<float>(job, writer, meter, &result, &error);
  const bool meterClosed = !meter || std::fclose(meter) == 0;
  if (!rendered) return Fail(error);
  if (!meterClosed) return Fail("cannot write " + job.meterPath);
  if (!writer.Commit(&error) || (metered && !meterFile.Commit(&error))) return Fail(error);
  PrintSummary(job, result, args.Has("--json"), metered);
  return kExitOk;
}
