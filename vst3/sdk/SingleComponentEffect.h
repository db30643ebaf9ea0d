#pragma once
// SingleComponentEffect: one object that is at once the VST 3 component (IComponent,
// IAudioProcessor) and its edit controller (EditControllerEx1 with IEditController,
// IEditController2 and IUnitInfo).
//
// Choose it for plug-ins that keep processing and parameters in one place and need no
// messages between a processor and a controller: there is no IConnectionPoint. It owns the
// four bus lists and the processing setup and answers the bus queries; activation, bus
// arrangements, processing setup and the audio callback are the deriving class's.
//
// IComponent and IEditController both declare getState and setState with one signature, so a
// single override would answer both. Here the two pairs stay apart: the component's pair
// answers kNotImplemented, and the controller's pair is reached through getEditorState and
// setEditorState.

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

// The edit controller with its state pair renamed.
class EditControllerStateRouting : public EditControllerEx1 {
 public:
  //---from IEditController---
  tresult PLUGIN_API setState(IBStream* state) final { return setEditorState(state); }
  tresult PLUGIN_API getState(IBStream* state) final { return getEditorState(state); }

  virtual tresult setEditorState(IBStream* /*state*/) { return kNotImplemented; }
  virtual tresult getEditorState(IBStream* /*state*/) { return kNotImplemented; }
};

// The component interface with its state pair answered: the state travels with the
// controller, never as component state.
class ComponentWithoutState : public IComponent {
 public:
  //---from IComponent---
  tresult PLUGIN_API setState(IBStream* /*state*/) final { return kNotImplemented; }
  tresult PLUGIN_API getState(IBStream* /*state*/) final { return kNotImplemented; }
};

class SingleComponentEffect : public EditControllerStateRouting,
                              public ComponentWithoutState,
                              public IAudioProcessor {
 public:
  SingleComponentEffect();

  //---from IPluginBase---
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  //---from IComponent---
  tresult PLUGIN_API getControllerClassId(TUID /*classId*/) override { return kNotImplemented; }
  tresult PLUGIN_API setIoMode(IoMode /*mode*/) override { return kNotImplemented; }
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                BusInfo& info) override;
  tresult PLUGIN_API getRoutingInfo(RoutingInfo& /*inInfo*/, RoutingInfo& /*outInfo*/) override {
    return kNotImplemented;
  }
  tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index,
                                 TBool state) override;

  //---from IAudioProcessor (the rest is the effect's own)---
  tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                       SpeakerArrangement& arr) override;
  tresult PLUGIN_API setProcessing(TBool /*state*/) override { return kNotImplemented; }

  //---bus management---
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  tresult removeAudioBusses();
  tresult removeAllBusses();

  //---interface---
  OBJ_METHODS(SingleComponentEffect, EditControllerEx1)
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
  REFCOUNT_METHODS(EditControllerEx1)

 protected:
  BusList* getBusList(MediaType type, BusDirection dir);
  AudioBus* getAudioInput(int32 index);   ///< null when there is no such audio bus
  AudioBus* getAudioOutput(int32 index);  ///< null when there is no such audio bus

  ProcessSetup processSetup;  ///< as the host last set it up
  BusList audioInputs;
  BusList audioOutputs;
  BusList eventInputs;
  BusList eventOutputs;
};

}  // namespace Vst
}  // namespace Steinberg
