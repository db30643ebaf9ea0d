#include "ClapPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ClapPresetIndex.h"

namespace {

// Counts past these are taken as garbage rather than allocated for.
constexpr uint32_t kMaxPorts = 64;
constexpr uint32_t kMaxChannelsPerPort = 64;

std::string Text(const char* text) { return text ? text : ""; }

std::string PlainText(double plain) {
  char text[64];
  std::snprintf(text, sizeof(text), "%g", plain);
  return text;
}

}  // namespace

std::unique_ptr<ClapPlugin> ClapPlugin::Load(const std::string& path, const std::string& pluginId,
                                             std::string* error) {
  std::unique_ptr<ClapPlugin> plugin(new ClapPlugin());
  if (!plugin->Open(path, error) || !plugin->Create(pluginId, error)) return nullptr;
  return plugin;
}

bool ClapPlugin::Open(const std::string& path, std::string* error) {
  if (!library.Open(path, error)) {
    *error = path + " is not a loadable module: " + *error;
    return false;
  }
  entry = static_cast<const clap_plugin_entry_t*>(library.Symbol("clap_entry"));
  if (!entry || !entry->init || !entry->deinit || !entry->get_factory ||
      !ClapVersionIsCompatible(entry->clap_version)) {
    *error = path + " exports no usable clap_entry: not a CLAP module";
    return false;
  }
  if (!entry->init(path.c_str())) {
    *error = "clap_entry.init of " + path + " failed";
    return false;
  }
  entryInitialized = true;
  factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (!factory) *error = path + " offers no plug-in factory";
  return factory != nullptr;
}

bool ClapPlugin::Create(const std::string& pluginId, std::string* error) {
  std::string id = pluginId, known;
  const uint32_t count = factory->get_plugin_count(factory);
  for (uint32_t i = 0; i < count && i < kMaxPorts; ++i) {
    const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, i);
    if (!d || !d->id) continue;
    if (id.empty()) id = d->id;
    known += (known.empty() ? "" : ", ") + std::string(d->id);
  }
  plugin = id.empty() ? nullptr : factory->create_plugin(factory, host.Record(), id.c_str());
  if (!plugin) {
    *error = "the factory made no plug-in \"" + id + "\" (plug-ins: " + known + ")";
    return false;
  }
  if (!plugin->init(plugin)) {
    *error = "the plug-in refused init";
    plugin->destroy(plugin);
    plugin = nullptr;
    return false;
  }
  params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  state = Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  inputPorts = Ports(true);
  outputPorts = Ports(false);
  return true;
}

ClapPlugin::~ClapPlugin() {
  Stop();
  if (plugin) plugin->destroy(plugin);
  if (entryInitialized) entry->deinit();
}

void ClapPlugin::Stop() {
  if (processing) plugin->stop_processing(plugin);
  if (active) plugin->deactivate(plugin);
  processing = active = false;
}

std::vector<clap_audio_port_info_t> ClapPlugin::Ports(bool isInput) const {
  std::vector<clap_audio_port_info_t> ports;
  const auto* audioPorts = Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  if (!audioPorts) return ports;
  const uint32_t count = std::min(audioPorts->count(plugin, isInput), kMaxPorts);
  for (uint32_t i = 0; i < count; ++i) {
    clap_audio_port_info_t info{};
    if (!audioPorts->get(plugin, i, isInput, &info)) continue;
    info.channel_count = std::min(info.channel_count, kMaxChannelsPerPort);
    ports.push_back(info);
  }
  return ports;
}

//---identity and parameters---

HostIdentity ClapPlugin::Identity() {
  HostIdentity identity;
  identity.format = "CLAP";
  const clap_plugin_descriptor_t* d = plugin->desc;
  if (d) {
    identity.name = Text(d->name);
    identity.vendor = Text(d->vendor);
    identity.version = Text(d->version);
    identity.uniqueId = Text(d->id);
    for (int i = 0; d->features && d->features[i] && i < 64; ++i) {
      identity.category += (i ? "|" : "") + std::string(d->features[i]);
    }
  }
  for (bool isInput : {true, false}) {
    for (const clap_audio_port_info_t& port : isInput ? inputPorts : outputPorts) {
      identity.buses.push_back(HostBus{Text(port.name), isInput,
                                       (port.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0,
                                       int(port.channel_count), true});
    }
  }
  return identity;
}

std::vector<HostParam> ClapPlugin::Params() {
  std::vector<HostParam> list;
  if (!params) return list;
  const uint32_t count = params->count(plugin);
  for (uint32_t i = 0; i < count; ++i) {
    clap_param_info_t info{};
    if (!params->get_info(plugin, i, &info)) continue;
    HostParam param;
    param.id = info.id;
    param.name = std::string(info.name, strnlen(info.name, sizeof info.name));
    param.minPlain = info.min_value;
    param.maxPlain = info.max_value;
    param.defaultPlain = info.default_value;
    params->get_value(plugin, info.id, &param.plain);
    const double span = info.max_value - info.min_value;
    param.normalized = span > 0.0 ? (param.plain - info.min_value) / span : 0.0;
    param.stepCount = (info.flags & CLAP_PARAM_IS_STEPPED) ? int(span) : 0;
    char display[256] = {};
    param.display = params->value_to_text(plugin, info.id, param.plain, display, sizeof display)
                        ? std::string(display)
                        : PlainText(param.plain);
    list.push_back(param);
  }
  return list;
}

bool ClapPlugin::SetPlain(const HostParam& param, double plain, std::string* /*error*/) {
  pending.AddParamValue(param.id, plain);
  if (!processing) Flush();
  return true;
}

// Outside processing the changes go through the parameter flush, as CLAP hosts do.
void ClapPlugin::Flush() {
  if (pending.Empty() || !params) return;
  if (processing) {
    static double* const kNoChannels[4] = {};
    RunProcess(&channels64, kNoChannels, kNoChannels, 0);
    return;
  }
  params->flush(plugin, pending.Input(), outputs.Output());
  pending.Clear();
  outputs.sent.clear();
}

//---audio---

bool ClapPlugin::CanProcess64() {
  auto supports = [](const std::vector<clap_audio_port_info_t>& ports) {
    return std::all_of(ports.begin(), ports.end(), [](const clap_audio_port_info_t& port) {
      return (port.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) != 0;
    });
  };
  return supports(inputPorts) && supports(outputPorts);
}

void ClapPlugin::PrepareChannels() {
  // Main input from brask-host's channels 0-1, the first other input from 2-3 when fed.
  std::vector<int> inputSources, outputSources;
  bool sideChainPortSeen = false;
  for (const clap_audio_port_info_t& port : inputPorts) {
    const bool main = (port.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0;
    const bool side = !main && !sideChainPortSeen && settings.sideChain;
    if (!main) sideChainPortSeen = true;
    for (uint32_t c = 0; c < port.channel_count; ++c) {
      inputSources.push_back(main && c < 2   ? int(c)
                             : side && c < 2 ? int(2 + c)
                                             : ChannelMap<float>::kNone);
    }
  }
  for (const clap_audio_port_info_t& port : outputPorts) {
    const bool main = (port.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0;
    for (uint32_t c = 0; c < port.channel_count; ++c) {
      outputSources.push_back(main && c < 2 ? int(c) : ChannelMap<float>::kNone);
    }
  }
  channels32.Prepare(inputSources, outputSources, settings.maxBlock);
  channels64.Prepare(inputSources, outputSources, settings.maxBlock);
  inputBuffers.assign(inputPorts.size(), clap_audio_buffer_t{});
  outputBuffers.assign(outputPorts.size(), clap_audio_buffer_t{});
}

bool ClapPlugin::Prepare(const ProcessSettings& wanted, std::string* error) {
  Stop();
  settings = wanted;
  if (inputPorts.empty() || outputPorts.empty()) {
    *error = "brask-host drives effects with a main audio input and output port";
    return false;
  }
  if (settings.use64 && !CanProcess64()) {
    *error = "the plug-in cannot process 64-bit samples";
    return false;
  }
  if (settings.sideChain && inputPorts.size() < 2) {
    *error = "the plug-in has no side-chain input port";
    return false;
  }
  PrepareChannels();
  if (!plugin->activate(plugin, settings.sampleRate, 1, uint32_t(settings.maxBlock))) {
    *error = "the plug-in refused to activate";
    return false;
  }
  active = true;
  if (!plugin->start_processing(plugin)) {
    *error = "the plug-in refused to start processing";
    return false;
  }
  processing = true;
  return true;
}

template <typename Sample>
void ClapPlugin::RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                            int frames) {
  if (!processing || frames < 0 || frames > map->MaxFrames()) {
    for (int c = 0; c < 2 && frames > 0; ++c) std::fill(outputs[c], outputs[c] + frames, Sample(0));
    return;
  }
  map->Bind(inputs, outputs);
  auto bindPorts = [](std::vector<clap_audio_buffer_t>& buffers,
                      const std::vector<clap_audio_port_info_t>& ports, Sample** channels) {
    for (size_t p = 0; p < buffers.size(); ++p) {
      buffers[p] = clap_audio_buffer_t{};
      buffers[p].channel_count = ports[p].channel_count;
      if constexpr (sizeof(Sample) == sizeof(double)) {
        buffers[p].data64 = channels;
      } else {
        buffers[p].data32 = channels;
      }
      channels += ports[p].channel_count;
    }
  };
  bindPorts(inputBuffers, inputPorts, map->Inputs());
  bindPorts(outputBuffers, outputPorts, map->Outputs());
  clap_process_t process{};
  process.steady_time = steadyTime;
  process.frames_count = uint32_t(frames);
  process.audio_inputs = inputBuffers.data();
  process.audio_outputs = outputBuffers.data();
  process.audio_inputs_count = uint32_t(inputBuffers.size());
  process.audio_outputs_count = uint32_t(outputBuffers.size());
  process.in_events = pending.Input();
  process.out_events = this->outputs.Output();
  plugin->process(plugin, &process);
  pending.Clear();
  this->outputs.sent.clear();
  steadyTime += frames;
}

void ClapPlugin::Process(double* const* inputs, double* const* outputs, int frames) {
  RunProcess(&channels64, inputs, outputs, frames);
}

void ClapPlugin::Process(float* const* inputs, float* const* outputs, int frames) {
  RunProcess(&channels32, inputs, outputs, frames);
}

//---state---

bool ClapPlugin::SaveState(std::vector<uint8_t>* bytes, std::string* error) {
  Flush();
  ClapWriteStream stream;
  if (!state || !state->save(plugin, stream.Stream())) {
    *error = "the plug-in wrote no state";
    return false;
  }
  *bytes = stream.bytes;
  return true;
}

bool ClapPlugin::LoadState(const std::vector<uint8_t>& bytes, std::string* error) {
  Flush();
  ClapReadStream stream(bytes);
  if (!state || !state->load(plugin, stream.Stream())) {
    *error = "the plug-in refused the state";
    return false;
  }
  return true;
}

//---presets: inside the plug-in, listed by its preset-discovery factory---

bool ClapPlugin::LoadPresetFile(const std::string& path, std::string* error) {
  *error = "a CLAP plug-in's presets are inside it, not in files such as " + path +
           ": name one that `brask-host presets` lists";
  return false;
}

std::vector<PluginPreset> ClapPlugin::PluginPresets() {
  return IndexClapPresets(entry, Text(plugin->desc ? plugin->desc->id : nullptr));
}

bool ClapPlugin::LoadPluginPreset(const std::string& key, std::string* error) {
  auto* load = Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
  if (!load) load = Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD_COMPAT);
  if (!load || !load->from_location) {
    *error = "the plug-in offers no clap.preset-load";
    return false;
  }
  Flush();
  if (!load->from_location(plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key.c_str())) {
    *error = "the plug-in refused its preset \"" + key + "\"";
    return false;
  }
  return true;
}
