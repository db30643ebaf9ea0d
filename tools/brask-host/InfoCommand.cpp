// brask-host info: what a host learns from a module: identity, buses, parameters, programs.

#include <cstdio>

#include "CommandLine.h"
#include "Commands.h"
#include "JsonText.h"
#include "ParamReport.h"
#include "PluginLoader.h"

namespace {

const char kUsage[] = "usage: brask-host info MODULE [--class NAME] [--json]\n";

void PrintText(const std::string& module, const HostIdentity& id,
               const std::vector<HostParam>& params) {
  std::printf("%s (%s) by %s, version %s\n", id.name.c_str(), id.format.c_str(), id.vendor.c_str(),
              id.version.c_str());
  std::printf("  module:    %s\n  category:  %s\n  unique ID: %s\n", module.c_str(),
              id.category.c_str(), id.uniqueId.c_str());
  std::printf("Buses:\n");
  for (const HostBus& bus : id.buses) {
    std::printf("  %-4s %-16s %d ch  %s%s\n", bus.input ? "in" : "out", bus.name.c_str(),
                bus.channels, bus.main ? "main" : "aux",
                bus.defaultActive ? ", active by default" : "");
  }
  std::printf("Parameters (%zu):\n%s", params.size(), ParamsAsText(params).c_str());
  std::printf("Programs (%zu):\n", id.programs.size());
  for (size_t i = 0; i < id.programs.size(); ++i) {
    std::printf("  %zu  %s\n", i, id.programs[i].c_str());
  }
}

void PrintJson(const std::string& module, const HostIdentity& id,
               const std::vector<HostParam>& params) {
  std::string buses;
  for (const HostBus& bus : id.buses) {
    buses += (buses.empty() ? "\n    " : ",\n    ") + std::string("{\"name\": ") +
             JsonQuote(bus.name) + ", \"direction\": " + (bus.input ? "\"input\"" : "\"output\"") +
             ", \"type\": " + (bus.main ? "\"main\"" : "\"aux\"") +
             ", \"channels\": " + std::to_string(bus.channels) +
             ", \"defaultActive\": " + (bus.defaultActive ? "true" : "false") + "}";
  }
  std::string programs;
  for (const std::string& name : id.programs) {
    programs += (programs.empty() ? "" : ", ") + JsonQuote(name);
  }
  std::printf(
      "{\n  \"module\": %s,\n  \"format\": %s,\n  \"name\": %s,\n  \"vendor\": %s,\n"
      "  \"version\": %s,\n  \"category\": %s,\n  \"uniqueId\": %s,\n  \"buses\": [%s\n  ],\n"
      "  \"parameters\": %s,\n  \"programs\": [%s]\n}\n",
      JsonQuote(module).c_str(), JsonQuote(id.format).c_str(), JsonQuote(id.name).c_str(),
      JsonQuote(id.vendor).c_str(), JsonQuote(id.version).c_str(), JsonQuote(id.category).c_str(),
      JsonQuote(id.uniqueId).c_str(), buses.c_str(), ParamsAsJson(params).c_str(),
      programs.c_str());
}

}  // namespace

int RunInfo(int argc, char** argv) {
  CommandLine args({"--class"}, {"--json"});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 1) return UsageError("info takes one MODULE", kUsage);
  const std::string& module = args.Positional()[0];
  auto plugin = LoadPlugin(module, &error, args.Value("--class"));
  if (!plugin) return Fail(error);
  const HostIdentity identity = plugin->Identity();
  const std::vector<HostParam> params = plugin->Params();
  if (args.Has("--json")) {
    PrintJson(module, identity, params);
  } else {
    PrintText(module, identity, params);
  }
  return kExitOk;
}
