#include "Lv2Presets.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>
#include <serd/serd.h>
#include <sord/sord.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kRdfType[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";

using NodePtr = std::unique_ptr<LilvNode, void (*)(LilvNode*)>;
using StatePtr = std::unique_ptr<LilvState, void (*)(LilvState*)>;

// The URID map a state's typed values are read with.
class UridMap {
 public:
  UridMap() {
    feature.handle = this;
    feature.map = &UridMap::Map;
  }
  LV2_URID_Map* Feature() { return &feature; }
  LV2_URID Id(const char* uri) {
    for (size_t i = 0; i < uris.size(); ++i) {
      if (uris[i] == uri) return LV2_URID(i + 1);
    }
    uris.emplace_back(uri);
    return LV2_URID(uris.size());
  }

 private:
  static LV2_URID Map(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<UridMap*>(handle)->Id(uri);
  }
  std::vector<std::string> uris;
  LV2_URID_Map feature{};
};

struct RawValue {
  std::string symbol;
  double value = 0.0;
  bool numeric = true;
};

struct Emitted {
  UridMap* map;
  std::vector<RawValue> values;
};

void CollectValue(const char* symbol, void* userData, const void* value, uint32_t size,
                  uint32_t type) {
  auto* emitted = static_cast<Emitted*>(userData);
  RawValue raw{symbol, 0.0, true};
  if (type == emitted->map->Id(LV2_ATOM__Float) && size == sizeof(float)) {
    raw.value = double(*static_cast<const float*>(value));
  } else if (type == emitted->map->Id(LV2_ATOM__Double) && size == sizeof(double)) {
    raw.value = *static_cast<const double*>(value);
  } else if ((type == emitted->map->Id(LV2_ATOM__Int) ||
              type == emitted->map->Id(LV2_ATOM__Bool)) &&
             size == sizeof(int32_t)) {
    raw.value = double(*static_cast<const int32_t*>(value));
  } else if (type == emitted->map->Id(LV2_ATOM__Long) && size == sizeof(int64_t)) {
    raw.value = double(*static_cast<const int64_t*>(value));
  } else {
    raw.numeric = false;
  }
  emitted->values.push_back(raw);
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The parser's first complaint, with where it was made.
SerdStatus KeepFirstError(void* handle, const SerdError* error) {
  auto* message = static_cast<std::string*>(handle);
  if (!message->empty()) return SERD_SUCCESS;
  char text[256];
  va_list args;
  va_copy(args, *error->args);
  std::vsnprintf(text, sizeof text, error->fmt, args);
  va_end(args);
  std::string reason = text;
  while (!reason.empty() && reason.back() == '\n') reason.pop_back();
  *message = "line " + std::to_string(error->line) + ", column " + std::to_string(error->col) +
             ": " + reason;
  return SERD_SUCCESS;
}

void SortByName(std::vector<PresetListing>* presets) {
  std::sort(presets->begin(), presets->end(),
            [](const PresetListing& a, const PresetListing& b) { return a.name < b.name; });
}

std::string AbsolutePath(const std::string& path) {
  char* absolute = realpath(path.c_str(), nullptr);
  if (!absolute) return "";
  std::string result = absolute;
  std::free(absolute);
  return result;
}

struct FilePreset {
  std::string uri;        ///< the preset
  std::string appliesTo;  ///< the plug-in it names, or empty
};

// What a Turtle file says about presets: each pset:Preset with the plug-in it applies to. False
// with the reason when the file is no complete Turtle or describes no preset.
bool PresetsInFile(const std::string& path, std::vector<FilePreset>* presets, std::string* error) {
  SordWorld* world = sord_world_new();
  SordModel* model = sord_new(world, SORD_SPO | SORD_OPS, false);
  SerdNode base = serd_node_new_file_uri(reinterpret_cast<const uint8_t*>(path.c_str()), nullptr,
                                         nullptr, true);
  SerdEnv* env = serd_env_new(&base);
  SerdReader* reader = sord_new_reader(model, env, SERD_TURTLE, nullptr);
  std::string parseError;
  serd_reader_set_error_sink(reader, KeepFirstError, &parseError);
  const SerdStatus status = serd_reader_read_file(reader, base.buf);
  SordNode* type = sord_new_uri(world, reinterpret_cast<const uint8_t*>(kRdfType));
  SordNode* preset = sord_new_uri(world, reinterpret_cast<const uint8_t*>(LV2_PRESETS__Preset));
  SordNode* applies = sord_new_uri(world, reinterpret_cast<const uint8_t*>(LV2_CORE__appliesTo));
  if (status != SERD_SUCCESS || !parseError.empty()) {
    *error = "not a complete Turtle file (" +
             (parseError.empty() ? std::string("it cannot be read") : parseError) +
             "): truncated, damaged or no LV2 preset at all";
  } else {
    SordIter* found = sord_search(model, nullptr, type, preset, nullptr);
    for (; !sord_iter_end(found); sord_iter_next(found)) {
      const SordNode* subject = sord_iter_get_node(found, SORD_SUBJECT);
      FilePreset entry{reinterpret_cast<const char*>(sord_node_get_string(subject)), ""};
      if (const SordNode* plugin = sord_get(model, subject, applies, nullptr, nullptr)) {
        entry.appliesTo = reinterpret_cast<const char*>(sord_node_get_string(plugin));
        sord_node_free(world, const_cast<SordNode*>(plugin));
      }
      if (sord_node_get_type(subject) == SORD_URI) presets->push_back(entry);
    }
    sord_iter_free(found);
    if (presets->empty()) *error = "not an LV2 preset: it describes no pset:Preset with a URI";
  }
  for (SordNode* node : {type, preset, applies}) sord_node_free(world, node);
  serd_reader_free(reader);
  serd_env_free(env);
  serd_node_free(&base);
  sord_free(model);
  sord_world_free(world);
  return !presets->empty();
}

}  // namespace

struct Lv2Presets::World {
  LilvWorld* lilv = lilv_world_new();
  UridMap map;
  const LilvPlugin* plugin = nullptr;
  ~World() { lilv_world_free(lilv); }

  NodePtr Uri(const std::string& uri) {
    return NodePtr(lilv_new_uri(lilv, uri.c_str()), lilv_node_free);
  }
  std::string Name() const {
    NodePtr name(lilv_plugin_get_name(plugin), lilv_node_free);
    return name ? lilv_node_as_string(name.get()) : "";
  }
  std::string PluginUri() const { return lilv_node_as_uri(lilv_plugin_get_uri(plugin)); }

  // The values of a preset's state, checked against the plug-in's ports, in port order.
  bool Read(LilvState* loaded, const std::string& source, PresetListing* listing,
            std::string* error);
  bool CheckedValue(const RawValue& raw, uint32_t* index, PresetValue* value, std::string* error);
};

bool Lv2Presets::World::CheckedValue(const RawValue& raw, uint32_t* index, PresetValue* value,
                                     std::string* error) {
  NodePtr symbol(lilv_new_string(lilv, raw.symbol.c_str()), lilv_node_free);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, symbol.get());
  NodePtr input = Uri(LV2_CORE__InputPort), control = Uri(LV2_CORE__ControlPort);
  if (!port || !lilv_port_is_a(plugin, port, input.get()) ||
      !lilv_port_is_a(plugin, port, control.get())) {
    *error = "it sets the control \"" + raw.symbol + "\", which " + Name() +
             " does not have: a preset of another version";
    return false;
  }
  NodePtr name(lilv_port_get_name(plugin, port), lilv_node_free);
  value->name = name ? lilv_node_as_string(name.get()) : raw.symbol;
  value->value = raw.value;
  if (!raw.numeric) {
    *error = "its value for \"" + raw.symbol + "\" is not a number";
    return false;
  }
  LilvNode *defaultValue = nullptr, *minimum = nullptr, *maximum = nullptr;
  lilv_port_get_range(plugin, port, &defaultValue, &minimum, &maximum);
  const double low = minimum ? lilv_node_as_float(minimum) : raw.value;
  const double high = maximum ? lilv_node_as_float(maximum) : raw.value;
  for (LilvNode* node : {defaultValue, minimum, maximum}) lilv_node_free(node);
  if (!(raw.value >= low && raw.value <= high)) {
    *error = "it sets " + value->name + " to " + Number(raw.value) + ", outside its range " +
             Number(low) + " to " + Number(high);
    return false;
  }
  *index = lilv_port_get_index(plugin, port);
  return true;
}

bool Lv2Presets::World::Read(LilvState* loaded, const std::string& source, PresetListing* listing,
                             std::string* error) {
  StatePtr state(loaded, lilv_state_free);
  if (!state) {
    *error = "cannot be read as an LV2 preset";
    return false;
  }
  const LilvNode* appliesTo = lilv_state_get_plugin_uri(state.get());
  if (!appliesTo || !lilv_node_equals(appliesTo, lilv_plugin_get_uri(plugin))) {
    *error = std::string("a preset for ") +
             (appliesTo ? lilv_node_as_string(appliesTo) : "no plug-in") + ", not for " + Name() +
             " (" + PluginUri() + ")";
    return false;
  }
  const char* label = lilv_state_get_label(state.get());
  listing->name = label ? label : source;
  listing->source = source;
  Emitted emitted{&map, {}};
  lilv_state_emit_port_values(state.get(), CollectValue, &emitted);
  std::vector<std::pair<uint32_t, PresetValue>> ordered;
  for (const RawValue& raw : emitted.values) {
    uint32_t index = 0;
    PresetValue value;
    if (!CheckedValue(raw, &index, &value, error)) return false;
    ordered.emplace_back(index, value);
  }
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  listing->values.clear();
  for (const auto& entry : ordered) listing->values.push_back(entry.second);
  return true;
}

Lv2Presets::Lv2Presets(std::unique_ptr<World> world) : world(std::move(world)) {}
Lv2Presets::~Lv2Presets() = default;

std::unique_ptr<Lv2Presets> Lv2Presets::Open(const std::string& bundle, std::string* error) {
  const std::string folder = AbsolutePath(bundle);
  if (folder.empty()) {
    *error = "no LV2 bundle at " + bundle;
    return nullptr;
  }
  auto world = std::make_unique<World>();
  NodePtr bundleUri(lilv_new_file_uri(world->lilv, nullptr, (folder + "/").c_str()),
                    lilv_node_free);
  lilv_world_load_bundle(world->lilv, bundleUri.get());
  const LilvPlugins* plugins = lilv_world_get_all_plugins(world->lilv);
  LILV_FOREACH(plugins, i, plugins) {
    const LilvPlugin* plugin = lilv_plugins_get(plugins, i);
    if (lilv_node_equals(lilv_plugin_get_bundle_uri(plugin), bundleUri.get())) {
      world->plugin = plugin;
      break;
    }
  }
  if (!world->plugin) {
    *error = bundle + " holds no LV2 plug-in";
    return nullptr;
  }
  return std::unique_ptr<Lv2Presets>(new Lv2Presets(std::move(world)));
}

std::string Lv2Presets::PluginName() const { return world->Name(); }

bool Lv2Presets::List(std::vector<PresetListing>* presets, std::string* error) {
  NodePtr presetClass = world->Uri(LV2_PRESETS__Preset);
  LilvNodes* related = lilv_plugin_get_related(world->plugin, presetClass.get());
  bool ok = true;
  LILV_FOREACH(nodes, i, related) {
    const LilvNode* preset = lilv_nodes_get(related, i);
    const std::string uri = lilv_node_as_string(preset);
    lilv_world_load_resource(world->lilv, preset);
    PresetListing listing;
    ok = world->Read(lilv_state_new_from_world(world->lilv, world->map.Feature(), preset), uri,
                     &listing, error);
    if (!ok) {
      *error = uri + ": " + *error;
      break;
    }
    presets->push_back(listing);
  }
  lilv_nodes_free(related);
  SortByName(presets);
  return ok;
}

bool Lv2Presets::ReadFile(const std::string& path, std::vector<PresetListing>* presets,
                          std::string* error) {
  const std::string file = AbsolutePath(path);
  std::vector<FilePreset> found;
  if (file.empty()) {
    *error = path + ": no such file";
    return false;
  }
  if (!PresetsInFile(file, &found, error)) {
    *error = path + ": " + *error;
    return false;
  }
  for (const FilePreset& entry : found) {
    if (entry.appliesTo != world->PluginUri()) {
      *error = path + ": " + entry.uri + " is a preset for " +
               (entry.appliesTo.empty() ? "no plug-in" : entry.appliesTo) + ", not for " +
               world->Name() + " (" + world->PluginUri() + ")";
      return false;
    }
    NodePtr subject = world->Uri(entry.uri);
    PresetListing listing;
    if (!world->Read(lilv_state_new_from_file(world->lilv, world->map.Feature(), subject.get(),
                                              file.c_str()),
                     path, &listing, error)) {
      *error = path + ": " + entry.uri + ": " + *error;
      return false;
    }
    presets->push_back(listing);
  }
  SortByName(presets);
  return true;
}
