#include "ClapPresetIndex.h"

#include <cstring>

namespace {

constexpr uint32_t kMaxProviders = 64;  // counts past this are taken as garbage

struct Found {
  PluginPreset preset;
  bool namesAPlugin = false;
  bool namesThisPlugin = false;
};

// What the indexer and the receiver collect; both records point at it.
struct Index {
  std::string pluginId;
  std::vector<clap_preset_discovery_location_t> locations;  // the plug-in kind only
  std::vector<Found> found;
};

Index& IndexOf(const clap_preset_discovery_indexer_t* indexer) {
  return *static_cast<Index*>(indexer->indexer_data);
}

Index& IndexOf(const clap_preset_discovery_metadata_receiver_t* receiver) {
  return *static_cast<Index*>(receiver->receiver_data);
}

bool DeclareFiletype(const clap_preset_discovery_indexer_t*,
                     const clap_preset_discovery_filetype_t* filetype) {
  return filetype != nullptr;
}

bool DeclareLocation(const clap_preset_discovery_indexer_t* indexer,
                     const clap_preset_discovery_location_t* location) {
  if (!location) return false;
  if (location->kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN) {
    IndexOf(indexer).locations.push_back(*location);
  }
  return true;
}

bool DeclareSoundpack(const clap_preset_discovery_indexer_t*,
                      const clap_preset_discovery_soundpack_t* soundpack) {
  return soundpack != nullptr;
}

const void* IndexerExtension(const clap_preset_discovery_indexer_t*, const char*) {
  return nullptr;
}

void OnError(const clap_preset_discovery_metadata_receiver_t*, int32_t, const char*) {}

bool BeginPreset(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name,
                 const char* loadKey) {
  // Inside the plug-in, name and key are required.
  if (!name || !loadKey) return false;
  IndexOf(receiver).found.push_back({{name, loadKey}});
  return true;
}

void AddPluginId(const clap_preset_discovery_metadata_receiver_t* receiver,
                 const clap_universal_plugin_id_t* id) {
  Index& index = IndexOf(receiver);
  if (index.found.empty() || !id || !id->abi || !id->id) return;
  index.found.back().namesAPlugin = true;
  if (std::strcmp(id->abi, "clap") == 0 && index.pluginId == id->id) {
    index.found.back().namesThisPlugin = true;
  }
}

void IgnoreText(const clap_preset_discovery_metadata_receiver_t*, const char*) {}
void IgnoreFlags(const clap_preset_discovery_metadata_receiver_t*, uint32_t) {}
void IgnoreTimes(const clap_preset_discovery_metadata_receiver_t*, clap_timestamp, clap_timestamp) {
}
void IgnorePair(const clap_preset_discovery_metadata_receiver_t*, const char*, const char*) {}

void IndexProvider(const clap_preset_discovery_factory_t* factory, uint32_t at, Index* index) {
  const clap_preset_discovery_provider_descriptor_t* descriptor =
      factory->get_descriptor(factory, at);
  if (!descriptor || !descriptor->id) return;
  const clap_preset_discovery_indexer_t indexer = {
      {1, 2, 0},       "brask-host",     "Wyrdworks",     "", "", index, DeclareFiletype,
      DeclareLocation, DeclareSoundpack, IndexerExtension};
  const clap_preset_discovery_provider_t* provider =
      factory->create(factory, &indexer, descriptor->id);
  if (!provider) return;
  index->locations.clear();
  if (provider->init && provider->init(provider) && provider->get_metadata) {
    const clap_preset_discovery_metadata_receiver_t receiver = {
        index,      OnError,    BeginPreset, AddPluginId, IgnoreText, IgnoreFlags,
        IgnoreText, IgnoreText, IgnoreTimes, IgnoreText,  IgnorePair};
    for (const clap_preset_discovery_location_t& location : index->locations) {
      provider->get_metadata(provider, location.kind, location.location, &receiver);
    }
  }
  if (provider->destroy) provider->destroy(provider);
}

}  // namespace

std::vector<PluginPreset> IndexClapPresets(const clap_plugin_entry_t* entry,
                                           const std::string& pluginId) {
  const void* found = entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID);
  if (!found) found = entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT);
  const auto* factory = static_cast<const clap_preset_discovery_factory_t*>(found);
  if (!factory || !factory->count || !factory->get_descriptor || !factory->create) return {};
  Index index{pluginId, {}, {}};
  const uint32_t count = factory->count(factory);
  for (uint32_t at = 0; at < count && at < kMaxProviders; ++at) {
    IndexProvider(factory, at, &index);
  }
  std::vector<PluginPreset> presets;
  for (const Found& f : index.found) {
    if (f.namesThisPlugin || !f.namesAPlugin) presets.push_back(f.preset);
  }
  return presets;
}
