#pragma once
// Vst3Plugin: hosts one instance of a VST 3 module the way a DAW does: loads the bundle's
// binary, calls ModuleEntry and GetPluginFactory, creates an audio-effect class (the first,
// or the one named), and from then on talks to it only through IComponent, IAudioProcessor
// and IEditController.
//
// The edit controller is the component itself when it answers IEditController; otherwise it
// is the separate class the component names (getControllerClassId). Then both are connected
// through their IConnectionPoints, and the controller learns the component's state through
// setComponentState, at creation and after every state load. Parameter changes travel as a
// DAW sends automation: in the next `process` call's parameter changes (the controller is told
// the same value). The main buses are set to stereo; auxiliary buses keep their arrangement
// and stay off, except the first auxiliary input when the side-chain is asked for.

#include <memory>
#include <string>
#include <vector>

#include "ChannelMap.h"
#include "HostedPlugin.h"
#include "SharedLibrary.h"
#include "Vst3HostObjects.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

class Vst3Plugin : public HostedPlugin {
 public:
  // The binary a host loads for path: the one inside a bundle folder, or path itself.
  static std::string BinaryOf(const std::string& path);
  // Loads the module at path (the .vst3 bundle folder or the binary inside it) and creates
  // an instance of the audio-effect class named className (empty: the first one); null with
  // *error set when any step fails.
  static std::unique_ptr<HostedPlugin> Load(const std::string& path, const std::string& className,
                                            std::string* error);
  ~Vst3Plugin() override;

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

 private:
  Vst3Plugin() = default;
  bool Open(const std::string& binary, std::string* error);
  bool FindClass(const std::string& className, std::string* error);
  bool CreateComponent(std::string* error);
  bool CreateController(std::string* error);
  void Connect();
  void Disconnect();
  bool TellControllerComponentState();
  void Deactivate();
  bool ArrangeBuses(std::string* error);
  void ActivateBuses();
  void PrepareChannels();
  template <typename Sample>
  void RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                  int frames);
  static void SetBuffers(Steinberg::Vst::AudioBusBuffers* bus, double** channels);
  static void SetBuffers(Steinberg::Vst::AudioBusBuffers* bus, float** channels);
  std::vector<HostBus> Buses(Steinberg::Vst::BusDirection direction);
  int BusChannels(Steinberg::Vst::BusDirection direction, int index);

  SharedLibrary library;
  HostApplication hostApplication;
  ComponentHandler componentHandler;
  ParameterChanges pendingChanges;
  ParameterChanges outputChanges;  ///< what the plug-in reports back per block (meters); unread
  Steinberg::IPluginFactory* factory = nullptr;
  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
  bool componentInitialized = false;  ///< initialize was answered; terminate is owed
  bool separateController = false;    ///< controller is its own object, initialized by us
  Steinberg::Vst::IConnectionPoint* componentPoint = nullptr;   ///< set while connected
  Steinberg::Vst::IConnectionPoint* controllerPoint = nullptr;  ///< set while connected
  Steinberg::PClassInfo classInfo{};
  bool entered = false;  ///< ModuleEntry succeeded; ModuleExit is owed
  bool active = false;   ///< setActive(true) was answered
  ProcessSettings settings;
  Steinberg::Vst::ProcessContext context{};
  int inputBusCount = 0;
  int outputBusCount = 0;
  std::vector<int> inputChannels;   ///< channels per input bus, as arranged
  std::vector<int> outputChannels;  ///< channels per output bus, as arranged
  std::vector<Steinberg::Vst::AudioBusBuffers> inputBuffers;
  std::vector<Steinberg::Vst::AudioBusBuffers> outputBuffers;
  ChannelMap<float> channels32;
  ChannelMap<double> channels64;
};
