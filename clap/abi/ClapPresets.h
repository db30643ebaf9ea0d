#pragma once
// The CLAP 1.2 preset interfaces: the preset-discovery factory, whose providers tell a host's
// browser where a plug-in's presets are and what each is, and the clap.preset-load extension
// that loads one into an instance. Layouts, ids and constants are the standard's.

#include "clap/abi/ClapEntry.h"

extern "C" {

constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
// The id hosts written against the draft ask for; the records are the same.
constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] = "clap.preset-discovery-factory/draft-2";

enum : uint32_t {
  CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0,
  CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1,  // presets inside the plug-in; the location is null
};

enum : uint32_t {
  CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1 << 0,
  CLAP_PRESET_DISCOVERY_IS_USER_CONTENT = 1 << 1,
  CLAP_PRESET_DISCOVERY_IS_DEMO_CONTENT = 1 << 2,
  CLAP_PRESET_DISCOVERY_IS_FAVORITE = 1 << 3,
};

typedef uint64_t clap_timestamp;

struct clap_universal_plugin_id_t {
  const char* abi;  // "clap", "vst3", ...
  const char* id;
};

struct clap_preset_discovery_metadata_receiver_t {
  void* receiver_data;
  void (*on_error)(const clap_preset_discovery_metadata_receiver_t* receiver, int32_t os_error,
                   const char* error_message);
  // False: the provider stops calling the receiver.
  bool (*begin_preset)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name,
                       const char* load_key);
  void (*add_plugin_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                        const clap_universal_plugin_id_t* plugin_id);
  void (*set_soundpack_id)(const clap_preset_discovery_metadata_receiver_t* receiver,
                           const char* soundpack_id);
  void (*set_flags)(const clap_preset_discovery_metadata_receiver_t* receiver, uint32_t flags);
  void (*add_creator)(const clap_preset_discovery_metadata_receiver_t* receiver,
                      const char* creator);
  void (*set_description)(const clap_preset_discovery_metadata_receiver_t* receiver,
                          const char* description);
  void (*set_timestamps)(const clap_preset_discovery_metadata_receiver_t* receiver,
                         clap_timestamp creation_time, clap_timestamp modification_time);
  void (*add_feature)(const clap_preset_discovery_metadata_receiver_t* receiver,
                      const char* feature);
  void (*add_extra_info)(const clap_preset_discovery_metadata_receiver_t* receiver, const char* key,
                         const char* value);
};

struct clap_preset_discovery_filetype_t {
  const char* name;
  const char* description;
  const char* file_extension;
};

struct clap_preset_discovery_location_t {
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;
};

struct clap_preset_discovery_soundpack_t {
  uint32_t flags;
  const char* id;
  const char* name;
  const char* description;
  const char* homepage_url;
  const char* vendor;
  const char* image_path;
  clap_timestamp release_timestamp;
};

struct clap_preset_discovery_provider_descriptor_t {
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
};

struct clap_preset_discovery_provider_t {
  const clap_preset_discovery_provider_descriptor_t* desc;
  void* provider_data;
  bool (*init)(const clap_preset_discovery_provider_t* provider);
  void (*destroy)(const clap_preset_discovery_provider_t* provider);
  bool (*get_metadata)(const clap_preset_discovery_provider_t* provider, uint32_t location_kind,
                       const char* location,
                       const clap_preset_discovery_metadata_receiver_t* metadata_receiver);
  const void* (*get_extension)(const clap_preset_discovery_provider_t* provider,
                               const char* extension_id);
};

struct clap_preset_discovery_indexer_t {
  clap_version_t clap_version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  void* indexer_data;
  bool (*declare_filetype)(const clap_preset_discovery_indexer_t* indexer,
                           const clap_preset_discovery_filetype_t* filetype);
  bool (*declare_location)(const clap_preset_discovery_indexer_t* indexer,
                           const clap_preset_discovery_location_t* location);
  bool (*declare_soundpack)(const clap_preset_discovery_indexer_t* indexer,
                            const clap_preset_discovery_soundpack_t* soundpack);
  const void* (*get_extension)(const clap_preset_discovery_indexer_t* indexer,
                               const char* extension_id);
};

struct clap_preset_discovery_factory_t {
  uint32_t (*count)(const clap_preset_discovery_factory_t* factory);
  const clap_preset_discovery_provider_descriptor_t* (*get_descriptor)(
      const clap_preset_discovery_factory_t* factory, uint32_t index);
  const clap_preset_discovery_provider_t* (*create)(const clap_preset_discovery_factory_t* factory,
                                                    const clap_preset_discovery_indexer_t* indexer,
                                                    const char* provider_id);
};

// ---clap.preset-load---
constexpr char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
constexpr char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

struct clap_plugin_preset_load_t {
  bool (*from_location)(const clap_plugin_t* plugin, uint32_t location_kind, const char* location,
                        const char* load_key);
};

struct clap_host_preset_load_t {
  void (*on_error)(const clap_host_t* host, uint32_t location_kind, const char* location,
                   const char* load_key, int32_t os_error, const char* msg);
  void (*loaded)(const clap_host_t* host, uint32_t location_kind, const char* location,
                 const char* load_key);
};

}  // extern "C"
