// The bundle's presets as an LV2 host loads them: lilv finds every preset related to the
// plug-in, reads its state and hands each port value to the host, which writes it into the
// control port. Run through the adaptor's own entry points, each preset then holds exactly the
// table's values.

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Brask.h"
#include "lv2/Lv2Layout.h"
#include "plugin/BraskPresets.h"

namespace {

// Enough of a URID map for reading port values.
LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri) {
  auto* uris = static_cast<std::vector<std::string>*>(handle);
  for (size_t i = 0; i < uris->size(); ++i) {
    if ((*uris)[i] == uri) return LV2_URID(i + 1);
  }
  uris->push_back(uri);
  return LV2_URID(uris->size());
}

// The bundle in a world of its own, as a host that scanned only it.
class Lv2PresetWorld {
 public:
  Lv2PresetWorld() {
    LilvNode* bundle =
        lilv_new_file_uri(world, nullptr, (std::string(BRASK_LV2_BUNDLE_PATH) + "/").c_str());
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
    LilvNode* uri = lilv_new_uri(world, kBraskLv2Uri);
    plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    lilv_node_free(uri);
  }
  ~Lv2PresetWorld() { lilv_world_free(world); }

  // Label -> state of every preset the plug-in relates to; the caller frees the states.
  std::map<std::string, LilvState*> States() {
    std::map<std::string, LilvState*> states;
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
    LILV_FOREACH(nodes, i, presets) {
      const LilvNode* preset = lilv_nodes_get(presets, i);
      lilv_world_load_resource(world, preset);
      LilvState* state = lilv_state_new_from_world(world, &map, preset);
      if (state) states[lilv_state_get_label(state)] = state;
    }
    lilv_nodes_free(presets);
    lilv_node_free(presetClass);
    return states;
  }

  LilvWorld* world = lilv_world_new();
  const LilvPlugin* plugin = nullptr;
  std::vector<std::string> uris;
  LV2_URID_Map map{&uris, MapUri};
};

// The plug-in class over the LV2 adaptor, its control ports wired to cells the host writes.
struct Lv2Instance {
  Lv2Instance() {
    plug.Instantiated(48000.0);
    for (int i = 0; i < kBraskParamCount; ++i) {
      ports[i] = 0.5f;  // no preset value: each one must be written
      plug.ConnectPort(uint32_t(i), &ports[i]);
    }
  }
  Brask plug{nullptr};
  float ports[kBraskParamCount] = {};
};

struct PortWriter {
  LilvWorld* world;
  const LilvPlugin* plugin;
  float* ports;
  int written = 0;
};

// What a host's set_value callback does: the value, as a float, into the symbol's port.
void WritePort(const char* symbol, void* data, const void* value, uint32_t size, uint32_t) {
  auto* writer = static_cast<PortWriter*>(data);
  LilvNode* name = lilv_new_string(writer->world, symbol);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(writer->plugin, name);
  lilv_node_free(name);
  if (!port || size != sizeof(float)) return;
  std::memcpy(&writer->ports[lilv_port_get_index(writer->plugin, port)], value, sizeof(float));
  ++writer->written;
}

TEST(Lv2Presets, EachLoadsExactlyTheTablesValues) {
  Lv2PresetWorld lv2;
  ASSERT_NE(lv2.plugin, nullptr);
  std::map<std::string, LilvState*> states = lv2.States();
  EXPECT_EQ(states.size(), size_t(kBraskPresetTableSize));
  for (const BraskPreset& preset : kBraskPresets) {
    SCOPED_TRACE(preset.name);
    ASSERT_EQ(states.count(preset.name), 1u) << "no preset labelled so";
    LilvState* state = states[preset.name];
    EXPECT_STREQ(lilv_node_as_uri(lilv_state_get_plugin_uri(state)), kBraskLv2Uri);
    Lv2Instance instance;
    PortWriter writer{lv2.world, lv2.plugin, instance.ports};
    lilv_state_restore(state, nullptr, WritePort, &writer, 0, nullptr);
    EXPECT_EQ(writer.written, kBraskParamCount) << "every control port has a value";
    instance.plug.Run(0);
    for (int i = 0; i < kBraskParamCount; ++i) {
      EXPECT_EQ(instance.plug.ParamAt(i)->Value(), preset.values[i])
          << instance.plug.ParamAt(i)->Name();
    }
  }
  for (auto& entry : states) lilv_state_free(entry.second);
}

}  // namespace
