// brask-host state: saves and loads the instance state exactly as a host keeps it in a project
// (VST 3: the controller's state stream; VST 2: the program chunk).

#include <unistd.h>

#include <cstdio>

#include "CommandLine.h"
#include "Commands.h"
#include "FileBytes.h"
#include "JsonText.h"
#include "ParamReport.h"
#include "ParamSettings.h"
#include "PendingFile.h"
#include "PluginLoader.h"

namespace {

const char kUsage[] =
    "usage: brask-host state MODULE [--class NAME] [--load FILE] [--set NAME=VALUE ...]\n"
    "                        [--save FILE] [--json]\n";

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  PendingFile pending(path);
  const int fd = pending.Create(error);
  if (fd < 0) return false;
  const bool written = write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  if (close(fd) != 0 || !written) {
    *error = "cannot write " + path;
    return false;
  }
  return pending.Commit(error);
}

}  // namespace

int RunState(int argc, char** argv) {
  CommandLine args({"--class", "--load", "--save", "--set"}, {"--json"});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 1) return UsageError("state takes one MODULE", kUsage);
  if (!args.Has("--load") && !args.Has("--save")) {
    return UsageError("state needs --load FILE, --save FILE or both", kUsage);
  }
  ParamSettings settings;
  if (!settings.Parse(args.Values("--set"), &error)) return UsageError(error, kUsage);
  std::vector<uint8_t> loaded;
  if (args.Has("--load") && !ReadFileBytes(args.Value("--load"), &loaded, &error))
    return Fail(error);

  auto plugin = LoadPlugin(args.Positional()[0], &error, args.Value("--class"));
  if (!plugin) return Fail(error);
  // Set up as for playback, so changes travel the way a host sends them.
  ProcessSettings playback;
  playback.use64 = plugin->CanProcess64();
  if (!plugin->Prepare(playback, &error)) return Fail(error);
  if (args.Has("--load") && !plugin->LoadState(loaded, &error)) return Fail(error);
  if (!settings.Apply(plugin.get(), &error)) return Fail(error);
  plugin->Flush();
  std::vector<uint8_t> saved;
  if (!plugin->SaveState(&saved, &error)) return Fail(error);
  if (args.Has("--save") && !WriteBytes(args.Value("--save"), saved, &error)) return Fail(error);

  const std::vector<HostParam> params = plugin->Params();
  if (args.Has("--json")) {
    std::printf("{\n  \"stateBytes\": %zu,\n  \"parameters\": %s\n}\n", saved.size(),
                ParamsAsJson(params).c_str());
  } else {
    const std::string from = args.Has("--load") ? ", loaded from " + args.Value("--load") : "";
    const std::string to = args.Has("--save") ? ", saved to " + args.Value("--save") : "";
    std::printf("state of %zu bytes%s%s\n%s", saved.size(), from.c_str(), to.c_str(),
                ParamsAsText(params).c_str());
  }
  return kExitOk;
}
