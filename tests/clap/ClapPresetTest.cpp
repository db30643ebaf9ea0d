// The factory presets through Brask.clap's own entry points, as a CLAP host's browser uses them:
// the preset-discovery factory lists every entry of the table under its key, clap.preset-load
// sets exactly the table's values, and what the plug-in does not hold changes nothing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ClapPlugin.h"
#include "ClapPresetIndex.h"
#include "SharedLibrary.h"
#include "plugin/BraskPresets.h"

namespace {

std::unique_ptr<ClapPlugin> LoadBrask() {
  std::string error;
  auto plugin = ClapPlugin::Load(BRASK_CLAP_MODULE_PATH, "", &error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

std::vector<double> Values(ClapPlugin& plugin) {
  const auto* params = plugin.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  std::vector<double> values(kBraskParamCount);
  for (int i = 0; i < kBraskParamCount; ++i) {
    EXPECT_TRUE(params->get_value(plugin.Instance(), clap_id(i), &values[i]));
  }
  return values;
}

std::vector<double> TableValues(const BraskPreset& preset) {
  return std::vector<double>(preset.values, preset.values + kBraskParamCount);
}

}  // namespace

TEST(ClapPresets, DiscoveryListsTheTableAndEachLoadsItsExactValues) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  const std::vector<PluginPreset> listed = plugin->PluginPresets();
  ASSERT_EQ(listed.size(), size_t(kBraskPresetTableSize));
  const auto* load = plugin->Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
  ASSERT_NE(load, nullptr);
  EXPECT_EQ(plugin->Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD_COMPAT), load);
  // From the last to the first, so that every load changes what the previous one set.
  for (int i = kBraskPresetTableSize - 1; i >= 0; --i) {
    const BraskPreset& preset = kBraskPresets[i];
    EXPECT_EQ(listed[i].name, preset.name);
    EXPECT_EQ(listed[i].key, preset.key);
    ASSERT_TRUE(load->from_location(plugin->Instance(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                    nullptr, preset.key));
    EXPECT_EQ(Values(*plugin), TableValues(preset)) << preset.name;
  }
}

TEST(ClapPresets, WhatThePlugInDoesNotHoldIsRefusedAndChangesNothing) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  const auto* load = plugin->Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
  ASSERT_NE(load, nullptr);
  const BraskPreset& smash = kBraskPresets[8];
  ASSERT_STREQ(smash.key, "parallel-smash");
  ASSERT_TRUE(load->from_location(plugin->Instance(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                  nullptr, smash.key));
  const struct {
    uint32_t kind;
    const char* location;
    const char* key;
  } refused[] = {
      {CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "no-such-preset"},
      {CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, ""},
      {CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, nullptr},
      {CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, "/tmp/presets", "init"},
      {CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp/init.preset", "init"},
      {7, nullptr, "init"},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(load->from_location(plugin->Instance(), r.kind, r.location, r.key))
        << r.kind << " " << (r.key ? r.key : "(null)");
    EXPECT_EQ(Values(*plugin), TableValues(smash));
  }
}

// A receiver that refuses a preset ends the listing; other location kinds list nothing.
TEST(ClapPresets, TheProviderStopsWhenTheReceiverRefuses) {
  SharedLibrary library;
  std::string error;
  ASSERT_TRUE(library.Open(BRASK_CLAP_MODULE_PATH, &error)) << error;
  const auto* entry = static_cast<const clap_plugin_entry_t*>(library.Symbol("clap_entry"));
  ASSERT_TRUE(entry && entry->init(BRASK_CLAP_MODULE_PATH));
  const auto* factory = static_cast<const clap_preset_discovery_factory_t*>(
      entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT));
  ASSERT_NE(factory, nullptr);
  ASSERT_EQ(factory->count(factory), 1u);
  const clap_preset_discovery_indexer_t indexer = {
      {1, 2, 0},
      "test",
      "",
      "",
      "",
      nullptr,
      nullptr,
      [](const clap_preset_discovery_indexer_t*, const clap_preset_discovery_location_t* l) {
        return l && l->kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN && !l->location;
      },
      nullptr,
      nullptr};
  EXPECT_EQ(factory->create(factory, &indexer, "com.wyrdworks.other"), nullptr);
  const auto* provider =
      factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
  ASSERT_NE(provider, nullptr);
  ASSERT_TRUE(provider->init(provider));
  int begun = 0;
  clap_preset_discovery_metadata_receiver_t receiver = {};
  receiver.receiver_data = &begun;
  receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* r, const char*,
                             const char*) {
    ++*static_cast<int*>(r->receiver_data);
    return false;
  };
  EXPECT_TRUE(
      provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, &receiver));
  EXPECT_EQ(begun, 1);
  EXPECT_FALSE(
      provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp", &receiver));
  EXPECT_EQ(begun, 1);
  provider->destroy(provider);
  entry->deinit();
}
