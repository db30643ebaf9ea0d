#pragma once
// The CLAP 1.2 binary interface, the part Brask uses: the module's entry record, the plug-in
// factory, the plug-in descriptor and instance records, and the host record. Layouts, ids and
// constants are the standard's; only what Brask's module or its test hosts touch is declared.
// Every record is plain C data handed across the module boundary; every function pointer is a
// C function.

#include <cstddef>
#include <cstdint>

extern "C" {

struct clap_version_t {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};

// The version Brask is written against; a host of any 1.x can load it.
constexpr clap_version_t kClapVersion = {1, 2, 0};
inline bool ClapVersionIsCompatible(const clap_version_t& v) { return v.major >= 1; }

typedef uint32_t clap_id;
constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

constexpr uint32_t CLAP_NAME_SIZE = 256;
constexpr uint32_t CLAP_PATH_SIZE = 1024;

struct clap_host_t {
  clap_version_t clap_version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const void* (*get_extension)(const clap_host_t* host, const char* extension_id);
  void (*request_restart)(const clap_host_t* host);
  void (*request_process)(const clap_host_t* host);
  void (*request_callback)(const clap_host_t* host);
};

struct clap_plugin_descriptor_t {
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;
  const char* const* features;  // ends with a null entry
};

struct clap_process_t;

struct clap_plugin_t {
  const clap_plugin_descriptor_t* desc;
  void* plugin_data;
  bool (*init)(const clap_plugin_t* plugin);
  void (*destroy)(const clap_plugin_t* plugin);
  bool (*activate)(const clap_plugin_t* plugin, double sample_rate, uint32_t min_frames_count,
                   uint32_t max_frames_count);
  void (*deactivate)(const clap_plugin_t* plugin);
  bool (*start_processing)(const clap_plugin_t* plugin);
  void (*stop_processing)(const clap_plugin_t* plugin);
  void (*reset)(const clap_plugin_t* plugin);
  int32_t (*process)(const clap_plugin_t* plugin, const clap_process_t* process);
  const void* (*get_extension)(const clap_plugin_t* plugin, const char* id);
  void (*on_main_thread)(const clap_plugin_t* plugin);
};

constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_plugin_factory_t {
  uint32_t (*get_plugin_count)(const clap_plugin_factory_t* factory);
  const clap_plugin_descriptor_t* (*get_plugin_descriptor)(const clap_plugin_factory_t* factory,
                                                           uint32_t index);
  const clap_plugin_t* (*create_plugin)(const clap_plugin_factory_t* factory,
                                        const clap_host_t* host, const char* plugin_id);
};

struct clap_plugin_entry_t {
  clap_version_t clap_version;
  bool (*init)(const char* plugin_path);
  void (*deinit)();
  const void* (*get_factory)(const char* factory_id);
};

}  // extern "C"
