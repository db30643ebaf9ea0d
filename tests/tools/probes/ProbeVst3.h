#pragma once
// Probe Gain (VST 3): a stereo gain built the way many VST 3 plug-ins are: a component with
// its audio processor, and an edit controller that is a separate class, connected by the host.
// Both log what the host does to them through ProbeLog, so the host tests can check the
// order of set-up and teardown.
//
// The component sends the controller a "hello" message (created through the host's
// IHostApplication) when connected; the controller shows the arrival as its read-only
// "Handshake" parameter and counts setComponentState calls in "State Syncs". The factory lists
// the controller class first, then "Probe Gain" (32-bit samples only) and "Probe Gain 64".

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/vst/vstcomponent.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace probe {

enum ParamIds : Steinberg::Vst::ParamID { kGainId = 0, kHandshakeId = 1, kStateSyncsId = 2 };
constexpr double kMinGainDb = -24.0;
constexpr double kMaxGainDb = 24.0;

extern const Steinberg::FUID kProcessorId;
extern const Steinberg::FUID kProcessor64Id;
extern const Steinberg::FUID kControllerId;

class Processor : public Steinberg::Vst::Component, public Steinberg::Vst::IAudioProcessor {
 public:
  explicit Processor(bool offers64) : offers64(offers64) {}

  //---from Component---
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;
  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) override;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) override;

  //---from IAudioProcessor---
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir,
                                                  Steinberg::int32 index,
                                                  Steinberg::Vst::SpeakerArrangement& arr) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override { return 0; }
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override { return 0; }

  OBJ_METHODS(Processor, Component)
  DEFINE_INTERFACES
  DEF_INTERFACE(IAudioProcessor)
  END_DEFINE_INTERFACES(Component)
  REFCOUNT_METHODS(Component)

 private:
  void ReadChanges(Steinberg::Vst::IParameterChanges* changes);
  bool BusesAsArranged(const Steinberg::Vst::ProcessData& data) const;

  bool offers64;
  double gainDb = 0.0;
  int processCalls = 0;
};

class Controller : public Steinberg::Vst::EditController {
 public:
  //---from EditController---
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;
  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) override;

 private:
  int stateSyncs = 0;
};

}  // namespace probe
