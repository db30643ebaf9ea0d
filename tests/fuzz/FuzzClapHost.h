#pragma once
// FuzzClapInstance: a Brask.clap instance made through the module's own clap_entry (its sources
// are compiled into the program), initialized, activated for blocks of up to maxFrames and
// processing, with a host record that offers the usual extensions. The fuzz targets and the
// stress tests drive it as a host would.

#include <cmath>
#include <vector>

#include "ClapHostObjects.h"
#include "clap/IPlugCLAP.h"

extern "C" const clap_plugin_entry_t clap_entry;

class FuzzClapInstance {
 public:
  explicit FuzzClapInstance(int maxFrames = 256, double sampleRate = 48000.0) {
    clap_entry.init("Brask.clap");
    factory =
        static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, host.Record(), "com.wyrdworks.brask");
    if (!plugin || !plugin->init(plugin)) return;
    params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    state = Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
    started = plugin->activate(plugin, sampleRate, 1, uint32_t(maxFrames)) &&
              plugin->start_processing(plugin);
  }
  ~FuzzClapInstance() {
    if (plugin) {
      plugin->stop_processing(plugin);
      plugin->deactivate(plugin);
      plugin->destroy(plugin);
    }
    clap_entry.deinit();
  }
  FuzzClapInstance(const FuzzClapInstance&) = delete;
  FuzzClapInstance& operator=(const FuzzClapInstance&) = delete;

  bool Valid() const { return plugin && params && state && started; }
  IPlugCLAP* Core() const { return IPlugCLAP::FromRecord(plugin); }
  template <typename Extension>
  const Extension* Ext(const char* id) const {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
  }
  // Every parameter's value, as the host reads it.
  std::vector<double> Values() const {
    std::vector<double> values(params->count(plugin));
    for (clap_id i = 0; i < values.size(); ++i) params->get_value(plugin, i, &values[i]);
    return values;
  }
  // True when every value is finite and inside its parameter's range.
  bool ValuesSound() const {
    const std::vector<double> values = Values();
    for (clap_id i = 0; i < values.size(); ++i) {
      clap_param_info_t info{};
      if (!params->get_info(plugin, i, &info) || !(values[i] >= info.min_value) ||
          !(values[i] <= info.max_value)) {
        return false;
      }
    }
    return true;
  }

  ClapHost host;
  const clap_plugin_factory_t* factory = nullptr;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  bool started = false;
};

// Buffers for four inputs and two outputs, 64 or 32 bits, with guard samples behind each
// output channel, and the process record pointing at them.
class FuzzClapBlock {
 public:
  static constexpr int kGuard = 32;
  static constexpr double kMarker = 4242.0;

  FuzzClapBlock(int maxFrames, bool use64) : is64(use64), frames(maxFrames) {
    for (int c = 0; c < 6; ++c) {
      d[c].assign(size_t(maxFrames + kGuard), c < 4 ? 0.0 : kMarker);
      f[c].assign(size_t(maxFrames + kGuard), c < 4 ? 0.0f : float(kMarker));
      dp[c] = d[c].data();
      fp[c] = f[c].data();
    }
    for (int p = 0; p < 3; ++p) {
      buffers[p] = clap_audio_buffer_t{};
      buffers[p].channel_count = 2;
      if (is64) {
        buffers[p].data64 = dp + 2 * p;
      } else {
        buffers[p].data32 = fp + 2 * p;
      }
    }
    process.audio_inputs = buffers;
    process.audio_inputs_count = 2;
    process.audio_outputs = buffers + 2;
    process.audio_outputs_count = 1;
  }
  void SetInput(int c, int s, double v) {
    d[c][size_t(s)] = v;
    f[c][size_t(s)] = float(v);
  }
  double Output(int c, int s) const {
    return is64 ? d[4 + c][size_t(s)] : double(f[4 + c][size_t(s)]);
  }
  bool OutputsFinite(int count) const {
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < count; ++s) {
        if (!std::isfinite(Output(c, s))) return false;
      }
    }
    return true;
  }
  bool GuardsIntact() const {
    for (int c = 0; c < 2; ++c) {
      for (int s = frames; s < frames + kGuard; ++s) {
        if (Output(c, s) != kMarker) return false;
      }
    }
    return true;
  }

  const bool is64;
  const int frames;
  clap_process_t process{};

 private:
  std::vector<double> d[6];
  std::vector<float> f[6];
  double* dp[6];
  float* fp[6];
  clap_audio_buffer_t buffers[3];
};
