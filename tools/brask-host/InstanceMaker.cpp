#include "InstanceMaker.h"

#include <lv2/core/lv2.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "HostedPlugin.h"
#include "PluginLoader.h"
#include "SharedLibrary.h"
#include "Vst3Plugin.h"

namespace {

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

class HostedInstances : public InstanceMaker {
 public:
  explicit HostedInstances(std::string path) : path(std::move(path)) {}

  std::string Binary() const override { return Vst3Plugin::BinaryOf(path); }

  std::string Format() const override {
    return instances.empty() ? "" : instances.front()->Identity().format;
  }

  bool Make(std::string* error) override {
    std::unique_ptr<HostedPlugin> plugin = LoadPlugin(path, error);
    if (!plugin) return false;
    instances.push_back(std::move(plugin));
    return true;
  }

 private:
  std::string path;
  std::vector<std::unique_ptr<HostedPlugin>> instances;
};

class Lv2Instances : public InstanceMaker {
 public:
  Lv2Instances(std::string bundle, std::string binary)
      : bundle(std::move(bundle)), binary(std::move(binary)) {}
  ~Lv2Instances() override {
    for (LV2_Handle handle : handles) descriptor->cleanup(handle);
  }

  std::string Binary() const override { return binary; }
  std::string Format() const override { return "LV2"; }

  bool Make(std::string* error) override {
    if (!descriptor && !FindDescriptor(error)) return false;
    LV2_Handle handle = descriptor->instantiate(descriptor, 48000.0, bundle.c_str(), kNoFeatures);
    if (!handle) {
      *error = "the LV2 plug-in " + std::string(descriptor->URI) + " refused to instantiate";
      return false;
    }
    handles.push_back(handle);
    return true;
  }

 private:
  using DescriptorProc = const LV2_Descriptor* (*)(uint32_t);
  static constexpr const LV2_Feature* kNoFeatures[] = {nullptr};

  bool FindDescriptor(std::string* error) {
    if (!library.Open(binary, error)) return false;
    auto entry = reinterpret_cast<DescriptorProc>(library.Symbol("lv2_descriptor"));
    descriptor = entry ? entry(0) : nullptr;
    if (!descriptor || !descriptor->instantiate || !descriptor->cleanup) {
      *error = binary + " holds no LV2 plug-in";
      descriptor = nullptr;
    }
    return descriptor != nullptr;
  }

  std::string bundle;  ///< with a trailing slash, as hosts pass it
  std::string binary;
  SharedLibrary library;
  const LV2_Descriptor* descriptor = nullptr;
  std::vector<LV2_Handle> handles;
};

// The plug-in binary a bundle's manifest names (lv2:binary <file>), or "".
std::string ManifestBinary(const std::string& bundle) {
  std::ifstream manifest(bundle + "/manifest.ttl");
  std::stringstream text;
  text << manifest.rdbuf();
  const std::string turtle = text.str();
  std::smatch match;
  static const std::regex kBinary(R"(lv2:binary\s*<([^>]+)>)");
  if (!std::regex_search(turtle, match, kBinary)) return "";
  return bundle + "/" + match[1].str();
}

}  // namespace

std::unique_ptr<InstanceMaker> InstanceMaker::For(const std::string& path, std::string* error) {
  const std::string bundle = WithoutTrailingSlashes(path);
  if (IsFile(bundle + "/manifest.ttl")) {
    const std::string binary = ManifestBinary(bundle);
    if (binary.empty()) {
      *error = bundle + "/manifest.ttl names no plug-in binary";
      return nullptr;
    }
    return std::make_unique<Lv2Instances>(bundle + "/", binary);
  }
  if (!IsFile(path) && !IsDirectory(path)) {
    *error = "no module at " + path;
    return nullptr;
  }
  return std::make_unique<HostedInstances>(path);
}
