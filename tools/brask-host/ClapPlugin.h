#pragma once
// ClapPlugin: hosts one instance of a CLAP module the way a DAW does: loads the binary, calls
// clap_entry's init, takes the plug-in factory, creates the plug-in (the first, or the one whose
// id is given) with a host record of its own, and from then on talks to it only through the
// instance record and its extensions. Parameter changes travel as a DAW sends automation: as
// events of the next process call, or of a parameter flush while no block runs. The main ports
// are fed; the first other input port gets the side chain when asked for, silence otherwise.
// It builds for Windows too, where the CLAP tests use it under Wine.

#include <memory>
#include <string>
#include <vector>

#include "ChannelMap.h"
#include "ClapHostObjects.h"
#include "HostedPlugin.h"
#include "SharedLibrary.h"

class ClapPlugin : public HostedPlugin {
 public:
  // Loads the module at path and creates the plug-in pluginId (empty: the first); null with
  // *error set when any step fails.
  static std::unique_ptr<ClapPlugin> Load(const std::string& path, const std::string& pluginId,
                                          std::string* error);
  ~ClapPlugin() override;

  HostIdentity Identity() override;
  std::vector<HostParam> Params() override;
  bool SetPlain(const HostParam& param, double plain, std::string* error) override;
  void Flush() override;
  bool CanProcess64() override;
  bool Prepare(const ProcessSettings& settings, std::string* error) override;
  void Process(double* const* inputs, double* const* outputs, int frames) override;
  void Process(float* const* inputs, float* const* outputs, int frames) override;
  bool SaveState(std::vector<uint8_t>* bytes, std::string* error) override;
  bool LoadState(const std::vector<uint8_t>& bytes, std::string* error) override;
  bool LoadPresetFile(const std::string& path, std::string* error) override;
  std::vector<PluginPreset> PluginPresets() override;
  bool LoadPluginPreset(const std::string& key, std::string* error) override;

  // For tests that go past what a HostedPlugin offers.
  const clap_plugin_t* Instance() const { return plugin; }
  ClapHost& Host() { return host; }
  template <typename Extension>
  const Extension* Ext(const char* id) const {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
  }

 private:
  ClapPlugin() = default;
  bool Open(const std::string& path, std::string* error);
  bool Create(const std::string& pluginId, std::string* error);
  void Stop();
  std::vector<clap_audio_port_info_t> Ports(bool isInput) const;
  void PrepareChannels();
  template <typename Sample>
  void RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                  int frames);

  SharedLibrary library;
  ClapHost host;
  ClapEventList pending;     ///< parameter changes for the next block or flush
  ClapOutputEvents outputs;  ///< what the plug-in reports back; unread
  const clap_plugin_entry_t* entry = nullptr;
  bool entryInitialized = false;
  const clap_plugin_factory_t* factory = nullptr;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  bool active = false;
  bool processing = false;
  ProcessSettings settings;
  std::vector<clap_audio_port_info_t> inputPorts, outputPorts;
  std::vector<clap_audio_buffer_t> inputBuffers, outputBuffers;
  ChannelMap<float> channels32;
  ChannelMap<double> channels64;
  int64_t steadyTime = 0;
};
