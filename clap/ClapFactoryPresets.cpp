#include "clap/ClapFactoryPresets.h"

#include <cstring>
#include <new>

#include "BraskIdentity.h"
#include "BraskPresets.h"

namespace {

constexpr char kProviderId[] = "com.wyrdworks.brask.factory-presets";

const clap_preset_discovery_provider_descriptor_t kProviderDescriptor = {
    kClapVersion, kProviderId, "Brask factory presets", kBraskMakerName};

// The provider keeps the indexer that made it: init declares the location through it.
struct Provider {
  clap_preset_discovery_provider_t record;
  const clap_preset_discovery_indexer_t* indexer;
};

const Provider* ProviderOf(const clap_preset_discovery_provider_t* record) {
  return record ? static_cast<const Provider*>(record->provider_data) : nullptr;
}

bool Init(const clap_preset_discovery_provider_t* record) {
  const Provider* provider = ProviderOf(record);
  if (!provider || !provider->indexer->declare_location) return false;
  const clap_preset_discovery_location_t location = {
      CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT, "Brask factory presets",
      CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
  return provider->indexer->declare_location(provider->indexer, &location);
}

void Destroy(const clap_preset_discovery_provider_t* record) { delete ProviderOf(record); }

// Every preset with its name, key, plug-in and description. A receiver may leave out the
// optional calls (a null pointer), and may stop the listing by refusing a preset.
bool GetMetadata(const clap_preset_discovery_provider_t* record, uint32_t kind,
                 const char* location, const clap_preset_discovery_metadata_receiver_t* receiver) {
  if (!ProviderOf(record) || kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location ||
      !receiver || !receiver->begin_preset) {
    return false;
  }
  const clap_universal_plugin_id_t pluginId = {"clap", kBraskClapId};
  for (const BraskPreset& preset : kBraskPresets) {
    if (!receiver->begin_preset(receiver, preset.name, preset.key)) break;
    if (receiver->add_plugin_id) receiver->add_plugin_id(receiver, &pluginId);
    if (receiver->set_flags)
      receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
    if (receiver->add_creator) receiver->add_creator(receiver, kBraskMakerName);
    if (receiver->set_description) receiver->set_description(receiver, preset.description);
  }
  return true;
}

const void* ProviderExtension(const clap_preset_discovery_provider_t*, const char*) {
  return nullptr;
}

uint32_t Count(const clap_preset_discovery_factory_t*) { return 1; }

const clap_preset_discovery_provider_descriptor_t* Descriptor(
    const clap_preset_discovery_factory_t*, uint32_t index) {
  return index == 0 ? &kProviderDescriptor : nullptr;
}

const clap_preset_discovery_provider_t* Create(const clap_preset_discovery_factory_t*,
                                               const clap_preset_discovery_indexer_t* indexer,
                                               const char* providerId) {
  if (!indexer || !providerId || std::strcmp(providerId, kProviderId) != 0) return nullptr;
  auto* provider = new (std::nothrow) Provider{
      {&kProviderDescriptor, nullptr, Init, Destroy, GetMetadata, ProviderExtension}, indexer};
  if (!provider) return nullptr;
  provider->record.provider_data = provider;
  return &provider->record;
}

const clap_preset_discovery_factory_t kFactory = {Count, Descriptor, Create};

}  // namespace

const clap_preset_discovery_factory_t& FactoryPresetDiscovery() { return kFactory; }

bool AppendFactoryPresetBlock(const char* loadKey, StateChunk* chunk) {
  const BraskPreset* preset = FindBraskPreset(loadKey);
  return preset && BraskPresetBlock(*preset, chunk);
}
