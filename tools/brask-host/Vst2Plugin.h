#pragma once
// Vst2Plugin: hosts one instance of a VST 2 module the way a DAW does: loads the binary,
// calls VSTPluginMain (or main) with a host callback, and from then on uses only the function
// pointers and dispatcher requests of the effect record. The plug-in's calls back into the
// host are answered by its Vst2HostContext.
//
// Parameter values are set as text through effString2Parameter, so the plug-in's own parsing
// and mapping decide the stored value; a plug-in that refuses the text gets the normalized
// value in the middle of those its display shows the asked number for, found by bisection. Ranges
// come from the plug-in's display of normalized 0 and 1 (the effVendorSpecific display request
// REAPER introduced); a plug-in that does not answer it has no range check until a value is set.
// The state is the program chunk (effGetChunk with index 1), asked for whether or not the
// effect sets the programs-are-chunks flag: hosts that go by that flag keep the normalized
// parameter values instead, which would round them to floats.

#include <memory>
#include <string>
#include <vector>

#include "ChannelMap.h"
#include "HostedPlugin.h"
#include "SharedLibrary.h"
#include "Vst2HostContext.h"
#include "vst2/AEffect.h"

class Vst2Plugin : public HostedPlugin {
 public:
  // Loads the module at path and creates and opens an instance; null with *error set when
  // any step fails.
  static std::unique_ptr<HostedPlugin> Load(const std::string& path, std::string* error);
  ~Vst2Plugin() override;

  HostIdentity Identity() override;
  std::vector<HostParam> Params() override;
  bool SetPlain(const HostParam& param, double plain, std::string* error) override;
  void Flush() override {}
  bool CanProcess64() override;
  bool Prepare(const ProcessSettings& settings, std::string* error) override;
  void Process(double* const* inputs, double* const* outputs, int frames) override;
  void Process(float* const* inputs, float* const* outputs, int frames) override;
  bool SaveState(std::vector<uint8_t>* bytes, std::string* error) override;
  bool LoadState(const std::vector<uint8_t>& bytes, std::string* error) override;
  bool LoadPresetFile(const std::string& path, std::string* error) override;

 private:
  Vst2Plugin() = default;
  bool Open(const std::string& path, std::string* error);
  bool CheckRecord(const std::string& path, std::string* error) const;
  void Suspend();
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  std::string Text(VstInt32 opcode, VstInt32 index = 0);
  // The plug-in's display of parameter index at a normalized value; empty when unanswered.
  std::string DisplayAt(VstInt32 index, float normalized);
  // Sets the parameter to normalized and reads back the number its display shows (NaN if none).
  double ShownNumber(VstInt32 index, float normalized);
  // Bisects for where the display crosses target: reaching, the first normalized value that
  // shows target or beyond; otherwise the last one that shows target or short of it.
  float DisplayEdge(VstInt32 index, double target, bool rising, bool reaching);
  bool SetByDisplay(const HostParam& param, double plain, std::string* error);
  std::vector<HostBus> Pins(VstInt32 opcode, int count, bool input);
  bool ChannelsAsPrepared() const;
  template <typename Sample>
  void RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                  int frames);
  static VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                void* ptr, float opt);

  SharedLibrary library;
  Vst2HostContext context;
  AEffect* effect = nullptr;
  bool resumed = false;  ///< effMainsChanged(1) was sent
  ProcessSettings settings;
  std::vector<double> defaultPlain;  ///< values of the fresh instance, by index
  VstInt32 preparedInputs = 0;       ///< channel counts the channel maps were built for
  VstInt32 preparedOutputs = 0;
  ChannelMap<float> channels32;
  ChannelMap<double> channels64;
};
