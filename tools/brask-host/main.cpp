// brask-host: a command-line plug-in host. It loads a built module by path through the entry
// points a DAW uses (VST 3: ModuleEntry and GetPluginFactory; VST 2: VSTPluginMain; CLAP:
// clap_entry) and shows
// what the plug-in reports, renders audio files through it, saves and loads its state, and
// measures its speed.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "Commands.h"

namespace {

const char kHelp[] =
    "usage: brask-host COMMAND ...\n"
    "\n"
    "MODULE is a VST 3 bundle (Brask.vst3, or the .so inside it), a VST 2 module (Brask.so) or\n"
    "a CLAP module (Brask.clap), of Brask or of any other plug-in. --class NAME picks one\n"
    "audio-effect class of a VST 3 module, or one plug-in id of a CLAP module, whose factory\n"
    "offers several (default: the first).\n"
    "\n"
    "  info MODULE [--class NAME] [--json]\n"
    "      Identity, buses, every parameter (name, unit, range, default, current display)\n"
    "      and programs, as a host reads them.\n"
    "\n"
    "  render MODULE IN OUT [--class NAME] [--preset NAME|FILE] [--set NAME=VALUE ...]\n"
    "                       [--sidechain FILE] [--block N] [--precision 32|64]\n"
    "                       [--meter FILE.csv] [--json]\n"
    "      Runs IN through the plug-in into OUT (WAV, AIFF or FLAC, chosen by OUT's name), at\n"
    "      IN's sample rate; a mono IN feeds both channels. VALUE is in the parameter's own\n"
    "      units (--set Input=20 --set Attack=5 --set Mix=70 --set Bypass=0) and goes through\n"
    "      the plug-in's own conversion; an unknown name or a value outside the parameter's\n"
    "      range is refused. --preset first loads one of the module's presets (a name\n"
    "      that `presets MODULE` lists, or a .vstpreset or .fxp file); --set values then\n"
    "      change it. --sidechain feeds FILE (same sample rate as IN; mono feeds both\n"
    "      channels, a shorter file is followed by silence) to inputs 3-4 and, for VST 3,\n"
    "      activates the side-chain bus. --block sets the frames per process call\n"
    "      (default 512), --precision the sample type (default 64 where the plug-in offers\n"
    "      it, else 32).\n"
    "      --meter writes one line per block: time, input RMS, output RMS and gain reduction\n"
    "      in dB; the summary adds the whole render's gain reduction and the largest. The\n"
    "      plug-in shows its gain reduction only on its panel, so brask-host measures it: a\n"
    "      second instance renders the same input with the same preset and settings but\n"
    "      \"Input\" at its minimum (threshold at full scale: no compression), and the gain\n"
    "      reduction is that instance's RMS over the real output's, in dB. It includes\n"
    "      the effect of Mix (parallel compression shows less reduction). A plug-in without an\n"
    "      \"Input\" parameter is measured against its input instead.\n"
    "      Nothing is written unless the whole render succeeds. On a terminal, files of 20 s\n"
    "      or more show a progress bar.\n"
    "\n"
    "  state MODULE [--class NAME] [--load FILE] [--set NAME=VALUE ...] [--save FILE]\n"
    "               [--json]\n"
    "      Loads a saved state, applies settings, saves the state as a host stores it (VST 3:\n"
    "      the state stream, 68 bytes for Brask; VST 2 and CLAP: the program chunk, 72 bytes),\n"
    "      and prints the parameters.\n"
    "\n"
    "  bench MODULE [--class NAME] [--set NAME=VALUE ...] [MODULE ...] [--seconds S]\n"
    "              [--runs R] [--block N] [--json]\n"
    "      What processing costs, in nanoseconds per stereo frame at 48 kHz, at 32 and 64\n"
    "      bits (\"-\" where a module cannot), for one module or several side by side, with\n"
    "      each module's cost relative to the first. --class and --set belong to the MODULE\n"
    "      before them. Every module's instances are prepared first; then each timed run\n"
    "      (S seconds of the demo groove, default 5, in blocks of N frames, default 512)\n"
    "      goes round-robin over all of them, R runs (default 5) after one warm-up run. Each\n"
    "      process call is timed alone, with denormals flushed to zero as on a DAW's audio\n"
    "      thread; the cost is each block's median over the runs, summed, so calls that\n"
    "      the system interrupted drop out, and is shown with the fastest and slowest run.\n"
    "      --json gives every run.\n"
    "\n"
    "  instantiate MODULE [MODULE ...] [--runs R] [--instances N] [--json]\n"
    "      What creating instances costs, each module in a fresh process per run: loading the\n"
    "      binary, the first instance, the next one (ms), and the resident memory the module,\n"
    "      the first instance and N instances (default 64) add (MB). Runs (default 5) go\n"
    "      round-robin over the modules; each cell is the median run. MODULE may also be an\n"
    "      LV2 bundle folder, whose first plug-in is instantiated at 48 kHz.\n"
    "\n"
    "  presets MODULE [--class NAME] [--preset NAME|FILE] [--json]\n"
    "      The module's presets, as hosts' preset browsers offer them, with the value of\n"
    "      every parameter each one sets. VST 3 and VST 2 presets are the .vstpreset and .fxp\n"
    "      files installed beside the module: presets/MAKER/PLUG-IN in its folder, in ~/.vst3\n"
    "      next to ~/.vst, or in share/vst3/presets of its prefix; each is loaded into an\n"
    "      instance as a host loads it and read back. MODULE may also be an LV2 bundle\n"
    "      folder, whose presets come from its own data. --preset lists one preset, by name\n"
    "      or file (an LV2 preset as Turtle). A file that is truncated, of another plug-in,\n"
    "      of a newer version or no preset at all is refused with the reason.\n"
    "\n"
    "  generate-demo OUTDIR [--seconds S] [--rate HZ]\n"
    "      Writes demo-mix.wav (drums and bass) and demo-kick.wav (the kick alone, a\n"
    "      side-chain signal) into OUTDIR.\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (message on standard error), 2 wrong usage.\n";

}  // namespace

int Fail(const std::string& message) {
  std::fprintf(stderr, "brask-host: %s\n", message.c_str());
  return kExitFailed;
}

int UsageError(const std::string& message, const char* usage) {
  std::fprintf(stderr, "brask-host: %s\n%s", message.c_str(), usage);
  return kExitUsage;
}

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help") ||
      !std::strcmp(argv[1], "-h")) {
    std::fputs(kHelp, argc < 2 ? stderr : stdout);
    return argc < 2 ? kExitUsage : kExitOk;
  }
  const std::string command = argv[1];
  int (*run)(int, char**) = nullptr;
  if (command == "info") run = RunInfo;
  if (command == "render") run = RunRender;
  if (command == "state") run = RunState;
  if (command == "bench") run = RunBench;
  if (command == "instantiate") run = RunInstantiate;
  if (command == "generate-demo") run = RunGenerateDemo;
  if (command == "presets") run = RunPresets;
  if (!run) return UsageError("unknown command \"" + command + "\"", kHelp);
  // Out of memory is the one exception the commands can meet (a huge file, a huge request).
  try {
    return run(argc - 2, argv + 2);
  } catch (const std::exception& failure) {
    return Fail(std::string("stopped: ") + failure.what());
  }
}
