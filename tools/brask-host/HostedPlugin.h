#pragma once
// HostedPlugin: one plug-in instance as brask-host drives it, whatever the module's format.
//
// The VST 3 and VST 2 hosts (Vst3Plugin, Vst2Plugin) translate these calls into the calls a DAW
// makes through the module's exported entry points; the commands (info, render, state, bench)
// are written once against this interface. Parameter values cross it in the parameter's own
// units ("plain"); each format converts them through the plug-in's own mapping.

#include <cstdint>
#include <string>
#include <vector>

// One parameter as the host sees it.
struct HostParam {
  uint32_t id = 0;            ///< VST 3 parameter ID, or VST 2 parameter index
  std::string name;           ///< title the plug-in reports
  std::string unit;           ///< unit label the plug-in reports (may be empty)
  std::string display;        ///< the plug-in's display text of the current value
  double minPlain = 0.0;      ///< plain value at normalized 0
  double maxPlain = 0.0;      ///< plain value at normalized 1
  double defaultPlain = 0.0;  ///< plain default (VST 2: the value of a fresh instance)
  double plain = 0.0;         ///< current plain value
  double normalized = 0.0;    ///< current normalized value, 0..1
  int stepCount = 0;          ///< 0 for continuous parameters
  bool hostControl = false;   ///< a host-side control (VST 3 bypass or preset selector)
};

// One audio bus (VST 3) or channel pair (VST 2).
struct HostBus {
  std::string name;
  bool input = true;
  bool main = true;  ///< false for auxiliary (side-chain) buses
  int channels = 0;
  bool defaultActive = true;
};

// What the module says about itself.
struct HostIdentity {
  std::string format;  ///< "VST 3" or "VST 2"
  std::string name;
  std::string vendor;
  std::string version;
  std::string category;
  std::string uniqueId;  ///< VST 3 class ID (hex) or VST 2 four-character code
  std::vector<HostBus> buses;
  std::vector<std::string> programs;
};

// How the instance is set up for audio.
struct ProcessSettings {
  double sampleRate = 48000.0;
  int maxBlock = 512;
  bool use64 = true;       ///< double-precision processing
  bool sideChain = false;  ///< feed inputs 3-4 (VST 3: activate the auxiliary bus)
  bool offline = true;     ///< render mode (VST 3 process mode, VST 2 process level)
};

// A preset the plug-in carries itself: what a browser shows, and the key that loads it.
struct PluginPreset {
  std::string name;
  std::string key;
};

class HostedPlugin {
 public:
  virtual ~HostedPlugin() = default;

  virtual HostIdentity Identity() = 0;
  // Every parameter with its current value, in the host's index order.
  virtual std::vector<HostParam> Params() = 0;
  // Sets a parameter to a plain value through the plug-in's own mapping; the change reaches
  // the processing at the latest with the next Process call (or Flush).
  virtual bool SetPlain(const HostParam& param, double plain, std::string* error) = 0;
  // Delivers pending parameter changes without audio, as a host's parameter flush does.
  virtual void Flush() = 0;

  // Whether Prepare may ask for 64-bit samples.
  virtual bool CanProcess64() = 0;
  // Sample rate, block size, precision and buses; then the instance is active.
  virtual bool Prepare(const ProcessSettings& settings, std::string* error) = 0;
  // One block: four inputs (main left, right, side-chain left, right), two outputs.
  virtual void Process(double* const* inputs, double* const* outputs, int frames) = 0;
  virtual void Process(float* const* inputs, float* const* outputs, int frames) = 0;

  // The instance state as a host stores it in a project.
  virtual bool SaveState(std::vector<uint8_t>* bytes, std::string* error) = 0;
  virtual bool LoadState(const std::vector<uint8_t>& bytes, std::string* error) = 0;
  // Loads a preset file of the format's own preset system (VST 3 .vstpreset, VST 2 .fxp) as a
  // host's preset browser does. The whole file is checked first, also that it is this
  // plug-in's and of no newer version; a file refused then has changed nothing.
  virtual bool LoadPresetFile(const std::string& path, std::string* error) = 0;
  // The presets inside the plug-in (CLAP's preset discovery), in its order; none for formats
  // whose presets are files.
  virtual std::vector<PluginPreset> PluginPresets() { return {}; }
  virtual bool LoadPluginPreset(const std::string& key, std::string* error) {
    *error = "the " + Identity().format + " module carries no presets of its own: \"" + key + "\"";
    return false;
  }
};
