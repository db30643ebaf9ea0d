#include "Lv2Tools.h"

#include <unistd.h>

#include <filesystem>

namespace {

// The bundles the plug-in's Turtle refers to, with everything they import.
const char* const kSchemaBundles[] = {"schemas", "core", "ui",   "units",
                                      "options", "urid", "atom", "presets"};

}  // namespace

Lv2World::Lv2World() {
  linked = symlink(BRASK_LV2_BUNDLE_PATH, dir.Path("Brask.lv2").c_str()) == 0;
}

std::string Lv2World::PathEntry() const {
  return "LV2_PATH=" + dir.Path("").substr(0, dir.Path("").size() - 1) + ":" + kSystemLv2Dir;
}

HostRun RunLv2Tool(const std::string& program, const std::vector<std::string>& args,
                   const Lv2World& world) {
  std::vector<std::string> environment = {world.PathEntry()};
#if defined(BRASK_LV2_TOOL_ENVIRONMENT)
  environment.push_back(BRASK_LV2_TOOL_ENVIRONMENT);
#endif
#if defined(BRASK_LV2_TOOL_NO_LEAK_CHECK)
  // What the tools themselves keep until exit is theirs, not the plug-in's.
  environment.push_back("ASAN_OPTIONS=detect_leaks=0");
#endif
  return RunProgram("/usr/bin/" + program, args, environment);
}

std::vector<std::string> SchemaTurtle() {
  std::vector<std::string> files;
  for (const char* bundle : kSchemaBundles) {
    const std::filesystem::path folder = std::string(kSystemLv2Dir) + "/" + bundle + ".lv2";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".ttl") files.push_back(entry.path().string());
    }
  }
  return files;
}

std::string BundleFile(const std::string& name) {
  return std::string(BRASK_LV2_BUNDLE_PATH) + "/" + name;
}
