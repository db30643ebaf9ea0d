// The CLAP module's entry record, its plug-in factory, which makes Brask instances, and the
// preset-discovery factory that lists the factory presets.
//
// init and deinit are counted, so several callers in one process (a host and a wrapper, say)
// may each init and deinit; the factory is offered while any init is outstanding. Instances
// are made one at a time under a process-wide creation lock, as in the other modules.

#include "clap/abi/ClapEntry.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "Brask.h"
#include "BraskIdentity.h"
#include "clap/ClapFactoryPresets.h"

#ifdef _WIN32
#define BRASK_EXPORT extern "C" __declspec(dllexport)
#else
#define BRASK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

const char* const kFeatures[] = {"audio-effect", "compressor", "stereo", nullptr};

const clap_plugin_descriptor_t kDescriptor = {kClapVersion,
                                              kBraskClapId,
                                              kBraskEffectName,
                                              kBraskMakerName,
                                              "",
                                              "",
                                              "",
                                              kBraskVersionText,
                                              "Stereo compressor with a side-chain input",
                                              kFeatures};

std::mutex gEntryLock;
std::atomic<int> gInitCount{0};
std::mutex gInstanceCreationLock;

//---clap_plugin_factory_t---

uint32_t PluginCount(const clap_plugin_factory_t*) { return 1; }

const clap_plugin_descriptor_t* Descriptor(const clap_plugin_factory_t*, uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin_t* CreatePlugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                  const char* pluginId) {
  if (!host || !ClapVersionIsCompatible(host->clap_version) || !pluginId ||
      std::strcmp(pluginId, kBraskClapId) != 0) {
    return nullptr;
  }
  try {
    std::lock_guard<std::mutex> lock(gInstanceCreationLock);
    auto* plug = new Brask(host);
    plug->SetDescriptor(&kDescriptor);
    return plug->Record();
  } catch (...) {
    return nullptr;
  }
}

const clap_plugin_factory_t kFactory = {PluginCount, Descriptor, CreatePlugin};

//---clap_plugin_entry_t---

bool Init(const char*) {
  std::lock_guard<std::mutex> lock(gEntryLock);
  ++gInitCount;
  return true;
}

void Deinit() {
  std::lock_guard<std::mutex> lock(gEntryLock);
  if (gInitCount > 0) --gInitCount;
}

const void* Factory(const char* factoryId) {
  if (gInitCount.load() <= 0 || !factoryId) return nullptr;
  if (std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0) return &kFactory;
  if (std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
      std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0) {
    return &FactoryPresetDiscovery();
  }
  return nullptr;
}

}  // namespace

BRASK_EXPORT const clap_plugin_entry_t clap_entry = {kClapVersion, Init, Deinit, Factory};
