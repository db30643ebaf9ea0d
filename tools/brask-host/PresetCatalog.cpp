#include "PresetCatalog.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool IsDirectory(const fs::path& path) {
  std::error_code failure;
  return fs::is_directory(path, failure);
}

// The folder the module sits in: a bundle's parent, also when the path names the binary
// inside the bundle.
fs::path ModuleFolder(const std::string& modulePath) {
  fs::path path = fs::absolute(modulePath).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  for (fs::path at = path; at.has_relative_path(); at = at.parent_path()) {
    if (at.extension() == ".vst3" && IsDirectory(at)) return at.parent_path();
  }
  return path.parent_path();
}

}  // namespace

std::string PresetExtension(const HostIdentity& identity) {
  return identity.format == "VST 2" ? ".fxp" : ".vstpreset";
}

std::string PresetFolder(const std::string& modulePath, const HostIdentity& identity,
                         std::vector<std::string>* searched) {
  const fs::path folder = ModuleFolder(modulePath);
  const fs::path own = fs::path("presets") / identity.vendor / identity.name;
  const fs::path candidates[] = {folder / own, folder.parent_path() / ".vst3" / own,
                                 folder.parent_path().parent_path() / "share" / "vst3" / own};
  for (const fs::path& candidate : candidates) {
    const fs::path normal = candidate.lexically_normal();
    if (IsDirectory(normal)) return normal.string();
    if (searched) searched->push_back(normal.string());
  }
  return "";
}

std::vector<std::string> PresetFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> files;
  std::error_code failure;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
    if (entry.path().extension() == extension && entry.is_regular_file(failure)) {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string PresetName(const std::string& path) { return fs::path(path).stem().string(); }

bool ResolvePreset(const std::string& argument, const std::string& modulePath,
                   const HostIdentity& identity, std::string* path, std::string* error) {
  const std::string extension = PresetExtension(identity);
  std::error_code failure;
  if (fs::exists(argument, failure) || fs::path(argument).extension() == extension) {
    *path = argument;
    return true;
  }
  std::vector<std::string> searched;
  const std::string folder = PresetFolder(modulePath, identity, &searched);
  std::string names;
  for (const std::string& file :
       folder.empty() ? std::vector<std::string>() : PresetFiles(folder, extension)) {
    if (PresetName(file) == argument) {
      *path = file;
      return true;
    }
    names += (names.empty() ? "" : ", ") + PresetName(file);
  }
  if (folder.empty()) {
    *error = "no preset \"" + argument + "\": " + identity.name + " has no presets beside " +
             modulePath + " (looked in " + searched.front() + " and " +
             std::to_string(searched.size() - 1) + " other folders)";
  } else {
    *error = "no preset \"" + argument + "\" in " + folder + " (presets: " + names + ")";
  }
  return false;
}

bool ResolvePluginPreset(const std::string& argument, HostedPlugin* plugin, std::string* key,
                         std::string* error) {
  std::string names;
  for (const PluginPreset& preset : plugin->PluginPresets()) {
    if (preset.name == argument || preset.key == argument) {
      *key = preset.key;
      return true;
    }
    names += (names.empty() ? "" : ", ") + preset.name;
  }
  *error = "no preset \"" + argument + "\" in " + plugin->Identity().name +
           (names.empty() ? " (it lists none)" : " (presets: " + names + ")");
  return false;
}
