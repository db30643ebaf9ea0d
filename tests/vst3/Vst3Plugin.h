#pragma once
// Vst3Plugin: one Brask instance made through the loaded module's factory, with the interface
// pointers a host holds, plus ProcessRig, which owns the audio buffers of one process call
// and fills the host's ProcessData for it.

#include <memory>
#include <vector>

#include "HostObjects.h"
#include "Vst3Module.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

// The class ID the module registers Brask under.
extern const Steinberg::TUID kBraskClassId;

// The adaptor's own parameter IDs.
constexpr Steinberg::Vst::ParamID kPresetId = 0x70727374;  // 'prst'
constexpr Steinberg::Vst::ParamID kBypassId = 0x62706173;  // 'bpas'

// The plug-in's parameter indices, which are also their IDs.
enum BraskParamId : Steinberg::Vst::ParamID {
  kParamInput = 0,
  kParamOutput = 1,
  kParamAttack = 2,
  kParamRelease = 3,
  kParamMix = 4,
  kParamHpf = 5,
  kParamBypass = 6,
  kParamSidechain = 7,
};

class Vst3Plugin {
 public:
  // A new instance from the module's factory, not yet initialized.
  Vst3Plugin();
  ~Vst3Plugin();
  Vst3Plugin(const Vst3Plugin&) = delete;
  Vst3Plugin& operator=(const Vst3Plugin&) = delete;

  bool Valid() const { return component && processor && controller && units; }

  // initialize with a host context, then setupProcessing, bus activation and setActive(true).
  void Prepare(double sampleRate, int maxBlock, Steinberg::int32 sampleSize,
               bool sideChainActive = false);
  Steinberg::tresult Setup(double sampleRate, int maxBlock, Steinberg::int32 sampleSize);
  Steinberg::tresult ActivateBus(Steinberg::Vst::BusDirection dir, int index, bool active);

  Steinberg::IPluginFactory* factory = nullptr;
  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
  Steinberg::Vst::IUnitInfo* units = nullptr;
  TestHostApplication host{"Brask Test Host"};
};

// Buffers and ProcessData for blocks of a given sample size. Each host channel buffer has
// guard samples behind the block, filled with a marker the plug-in must leave alone.
class ProcessRig {
 public:
  static constexpr int kGuard = 16;
  static constexpr float kMarker = 12345.0f;

  ProcessRig(int maxFrames, bool is64);

  // Fills the main inputs (channels 0, 1) and side-chain inputs (2, 3) from a signal
  // function of (channel, frame index in the whole run).
  template <class Signal>
  void FillInputs(int frames, long startFrame, Signal signal) {
    for (int c = 0; c < 4; ++c) {
      for (int s = 0; s < frames; ++s) SetInput(c, s, signal(c, startFrame + s));
    }
  }
  void SetInput(int channel, int frame, double value);
  void MarkOutputs();  // fills every output sample, guards included, with the marker

  // ProcessData for frames samples with the given number of input buses (0, 1, 2) and
  // output buses (0, 1).
  Steinberg::Vst::ProcessData& Data(int frames, int inputBuses, int outputBuses,
                                    Steinberg::Vst::IParameterChanges* changes = nullptr);

  double Output(int channel, int frame) const;
  // True when every output sample from frame on, guards included, still holds the marker.
  bool UntouchedFrom(int frame) const;

 private:
  int maxFrames;
  bool is64;
  std::vector<std::vector<double>> in64, out64;
  std::vector<std::vector<float>> in32, out32;
  std::vector<double*> inPtr64, outPtr64;
  std::vector<float*> inPtr32, outPtr32;
  Steinberg::Vst::AudioBusBuffers inputs[2];
  Steinberg::Vst::AudioBusBuffers outputs[1];
  Steinberg::Vst::ProcessData data;
};
