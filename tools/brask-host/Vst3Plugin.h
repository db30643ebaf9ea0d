#pragma once
// Vst3Plugin: hosts one instance of a VST 3 module the way a DAW does: loads the bundle's
// binary, calls ModuleEntry and GetPluginFactory, creates the first audio-effect class, and
// from then on talks to it only through IComponent, IAudioProcessor and IEditController.
//
// Parameter changes travel as a DAW sends automation: in the next `process` call's parameter
// changes (the controller is told the same value). Modules whose edit controller is a separate
// object are refused: brask-host does not connect a component to a separate controller.

#include <memory>
#include <string>
#include <vector>

#include "HostedPlugin.h"
#include "SharedLibrary.h"
#include "Vst3HostObjects.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

class Vst3Plugin : public HostedPlugin {
 public:
  // Loads the module at path (the .vst3 bundle folder or the binary inside it) and creates
  // an instance; null with *error set when any step fails.
  static std::unique_ptr<HostedPlugin> Load(const std::string& path, std::string* error);
  ~Vst3Plugin() override;

  HostIdentity Identity() override;
  std::vector<HostParam> Params() override;
  bool SetPlain(const HostParam& param, double plain, std::string* error) override;
  void Flush() override;
  bool Prepare(const ProcessSettings& settings, std::string* error) override;
  void Process(double* const* inputs, double* const* outputs, int frames) override;
  void Process(float* const* inputs, float* const* outputs, int frames) override;
  bool SaveState(std::vector<uint8_t>* bytes, std::string* error) override;
  bool LoadState(const std::vector<uint8_t>& bytes, std::string* error) override;

 private:
  Vst3Plugin() = default;
  bool Open(const std::string& binary, std::string* error);
  bool CreateInstance(std::string* error);
  void Deactivate();
  template <typename Sample>
  void RunProcess(Sample* const* inputs, Sample* const* outputs, int frames);
  static void SetBuffers(Steinberg::Vst::AudioBusBuffers* bus, double* const* channels);
  static void SetBuffers(Steinberg::Vst::AudioBusBuffers* bus, float* const* channels);
  std::vector<HostBus> Buses(Steinberg::Vst::BusDirection direction);

  SharedLibrary library;
  HostApplication hostApplication;
  ComponentHandler componentHandler;
  ParameterChanges pendingChanges;
  Steinberg::IPluginFactory* factory = nullptr;
  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
  Steinberg::PClassInfo classInfo{};
  bool entered = false;  ///< ModuleEntry succeeded; ModuleExit is owed
  bool active = false;   ///< setActive(true) was answered
  ProcessSettings settings;
  Steinberg::Vst::ProcessContext context{};
  int inputBusCount = 0;
};
