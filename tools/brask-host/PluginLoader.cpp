#include "PluginLoader.h"

#include <sys/stat.h>

#include "ClapPlugin.h"
#include "SharedLibrary.h"
#include "Vst2Plugin.h"
#include "Vst3Plugin.h"

std::unique_ptr<HostedPlugin> LoadPlugin(const std::string& path, std::string* error,
                                         const std::string& className) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    *error = "no module at " + path;
    return nullptr;
  }
  if (S_ISDIR(info.st_mode)) return Vst3Plugin::Load(path, className, error);
  // The probe keeps the binary loaded while the format's own loader opens it again.
  SharedLibrary probe;
  if (!probe.Open(path, error)) {
    *error = path + " is not a loadable module: " + *error;
    return nullptr;
  }
  if (probe.Symbol("GetPluginFactory")) return Vst3Plugin::Load(path, className, error);
  // A CLAP module holds plug-ins by id: --class names one.
  if (probe.Symbol("clap_entry")) return ClapPlugin::Load(path, className, error);
  if (probe.Symbol("VSTPluginMain") || probe.Symbol("main")) {
    if (!className.empty()) {
      *error = path + " is a VST 2 module: it holds one plug-in, no class to choose";
      return nullptr;
    }
    return Vst2Plugin::Load(path, error);
  }
  *error = path + " is neither a VST 3, a VST 2 nor a CLAP module";
  return nullptr;
}
