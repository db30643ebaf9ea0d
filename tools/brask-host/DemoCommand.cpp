// brask-host generate-demo: writes the demo groove and its kick-only side-chain as WAV files.

#include <cstdio>

#include "AudioFile.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DemoSignal.h"

namespace {

const char kUsage[] = "usage: brask-host generate-demo OUTDIR [--seconds S] [--rate HZ]\n";

bool WriteStereo(const std::string& path, double sampleRate,
                 const std::vector<double> (&channels)[2], std::string* error) {
  std::vector<double> interleaved(channels[0].size() * 2);
  for (size_t n = 0; n < channels[0].size(); ++n) {
    interleaved[2 * n] = channels[0][n];
    interleaved[2 * n + 1] = channels[1][n];
  }
  AudioFileWriter writer(path);
  return writer.Open(sampleRate, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, error) &&
         writer.Write(interleaved.data(), int64_t(channels[0].size()), error) &&
         writer.Commit(error);
}

}  // namespace

int RunGenerateDemo(int argc, char** argv) {
  CommandLine args({"--seconds", "--rate"}, {});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 1) return UsageError("generate-demo takes one OUTDIR", kUsage);
  double seconds = 8.0;
  long rate = 48000;
  if (!ParseNumber(args.Value("--seconds", "8"), &seconds) || seconds <= 0 || seconds > 600) {
    return UsageError("--seconds takes a duration above 0 and up to 600", kUsage);
  }
  if (!ParseInteger(args.Value("--rate", "48000"), 8000, 384000, &rate)) {
    return UsageError("--rate takes a sample rate from 8000 to 384000 Hz", kUsage);
  }
  const std::string dir = args.Positional()[0];
  const DemoSignal demo = DemoSignal::Make(double(rate), seconds);
  const std::string mixPath = dir + "/demo-mix.wav";
  const std::string kickPath = dir + "/demo-kick.wav";
  if (!WriteStereo(mixPath, double(rate), demo.mix, &error) ||
      !WriteStereo(kickPath, double(rate), demo.kick, &error)) {
    return Fail(error);
  }
  std::printf("wrote %s and %s (%g s at %ld Hz)\n", mixPath.c_str(), kickPath.c_str(), seconds,
              rate);
  return kExitOk;
}
