// brask-host presets: a module's presets as hosts' preset browsers offer them, each with the
// values it sets. VST 3 and VST 2 presets are the preset files installed beside the module (or
// the one --preset names), each loaded into an instance as a host loads it and read back from
// the plug-in; CLAP presets are those its preset-discovery factory lists, loaded the same way;
// LV2 presets are those the bundle describes, as lilv reads them.

#include <sys/stat.h>

#include <cstdio>

#include "CommandLine.h"
#include "Commands.h"
#include "JsonText.h"
#include "Lv2Presets.h"
#include "PluginLoader.h"
#include "PresetCatalog.h"

namespace {

const char kUsage[] =
    "usage: brask-host presets MODULE [--class NAME] [--preset NAME|FILE] [--json]\n";

struct Catalog {
  std::string module, plugin, format, folder;
  std::vector<PresetListing> presets;
};

bool IsLv2Bundle(const std::string& path) {
  struct stat info {};
  return stat((path + "/manifest.ttl").c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

void PrintText(const Catalog& catalog) {
  const std::string where = catalog.folder.empty() ? "" : " in " + catalog.folder;
  std::printf("%zu presets of %s (%s)%s\n", catalog.presets.size(), catalog.plugin.c_str(),
              catalog.format.c_str(), where.c_str());
  for (const PresetListing& preset : catalog.presets) {
    std::string values;
    for (const PresetValue& value : preset.values) {
      values += " " + value.name + "=" + Number(value.value);
    }
    std::printf("  %-20s%s\n", preset.name.c_str(), values.c_str());
  }
}

void PrintJson(const Catalog& catalog) {
  std::string presets;
  for (const PresetListing& preset : catalog.presets) {
    std::string values;
    for (const PresetValue& value : preset.values) {
      values +=
          (values.empty() ? "" : ", ") + JsonQuote(value.name) + ": " + JsonNumber(value.value);
    }
    presets += (presets.empty() ? "\n    " : ",\n    ") + std::string("{\"name\": ") +
               JsonQuote(preset.name) + ", \"source\": " + JsonQuote(preset.source) +
               ", \"values\": {" + values + "}}";
  }
  std::printf(
      "{\n  \"module\": %s,\n  \"plugin\": %s,\n  \"format\": %s,\n  \"folder\": %s,\n"
      "  \"presets\": [%s\n  ]\n}\n",
      JsonQuote(catalog.module).c_str(), JsonQuote(catalog.plugin).c_str(),
      JsonQuote(catalog.format).c_str(), JsonQuote(catalog.folder).c_str(), presets.c_str());
}

// The bundle's presets, or those of the file named.
bool Lv2Catalog(const CommandLine& args, Catalog* catalog, std::string* error) {
  std::unique_ptr<Lv2Presets> lv2 = Lv2Presets::Open(catalog->module, error);
  if (!lv2) return false;
  catalog->plugin = lv2->PluginName();
  catalog->format = "LV2";
  return args.Has("--preset") ? lv2->ReadFile(args.Value("--preset"), &catalog->presets, error)
                              : lv2->List(&catalog->presets, error);
}

// The values the instance holds now, as a listing.
PresetListing Listing(const std::string& name, const std::string& source, HostedPlugin* plugin) {
  PresetListing preset{name, source, {}};
  for (const HostParam& param : plugin->Params()) {
    if (!param.hostControl) preset.values.push_back({param.name, param.plain});
  }
  return preset;
}

// The presets inside the plug-in, each loaded as a host's browser loads it and read back.
bool PluginCatalog(const CommandLine& args, HostedPlugin* plugin, Catalog* catalog,
                   std::string* error) {
  std::string only;
  if (args.Has("--preset") && !ResolvePluginPreset(args.Value("--preset"), plugin, &only, error)) {
    return false;
  }
  for (const PluginPreset& preset : plugin->PluginPresets()) {
    if (!only.empty() && preset.key != only) continue;
    if (!plugin->LoadPluginPreset(preset.key, error)) return false;
    catalog->presets.push_back(Listing(preset.name, preset.key, plugin));
  }
  return true;
}

// A module loaded into an instance: a CLAP plug-in's own presets, or else (VST 3, VST 2) each
// preset file loaded into the instance and read back from it. Files the folder holds that
// cannot be loaded are reported and skipped; *skipped counts them.
bool ModuleCatalog(const CommandLine& args, Catalog* catalog, int* skipped, std::string* error) {
  std::unique_ptr<HostedPlugin> plugin = LoadPlugin(catalog->module, error, args.Value("--class"));
  if (!plugin) return false;
  const HostIdentity identity = plugin->Identity();
  catalog->plugin = identity.name;
  catalog->format = identity.format;
  if (identity.format == "CLAP") return PluginCatalog(args, plugin.get(), catalog, error);
  std::vector<std::string> files;
  if (args.Has("--preset")) {
    std::string file;
    if (!ResolvePreset(args.Value("--preset"), catalog->module, identity, &file, error)) {
      return false;
    }
    files.push_back(file);
  } else {
    catalog->folder = PresetFolder(catalog->module, identity, nullptr);
    if (!catalog->folder.empty()) files = PresetFiles(catalog->folder, PresetExtension(identity));
  }
  for (const std::string& file : files) {
    if (!plugin->LoadPresetFile(file, error)) {
      if (args.Has("--preset")) return false;
      std::fprintf(stderr, "brask-host: skipped %s\n", error->c_str());
      ++*skipped;
      continue;
    }
    catalog->presets.push_back(Listing(PresetName(file), file, plugin.get()));
  }
  return true;
}

}  // namespace

int RunPresets(int argc, char** argv) {
  CommandLine args({"--class", "--preset"}, {"--json"});
  std::string error;
  if (!args.Parse(argc, argv, &error)) return UsageError(error, kUsage);
  if (args.Positional().size() != 1) return UsageError("presets takes one MODULE", kUsage);
  Catalog catalog;
  catalog.module = args.Positional()[0];
  int skipped = 0;
  const bool listed = IsLv2Bundle(catalog.module) ? Lv2Catalog(args, &catalog, &error)
                                                  : ModuleCatalog(args, &catalog, &skipped, &error);
  if (!listed) return Fail(error);
  if (args.Has("--json")) {
    PrintJson(catalog);
  } else {
    PrintText(catalog);
  }
  return skipped > 0 ? Fail(std::to_string(skipped) + " preset files could not be loaded")
                     : kExitOk;
}
