#pragma once
// IPlugVST3: the VST 3 face of a plug-in instance.
//
// One object is component, audio processor and edit controller at once: it derives from the
// format-independent core (IPlugBase) and from the SDK's SingleComponentEffect, and translates
// every host call into core operations. The parameter values, presets, channel buffers and the
// instance lock are the core's; this class adds the buses, the host-visible parameter list
// with the adaptor's own "Preset" and "Bypass" parameters, the 68-byte state stream, and the
// audio callback that binds the host's buffers to the core's channels.
//
// The audio callback never touches memory the host did not hand over for the block: channels
// without a host buffer read and write their scratch buffers, and blocks longer than the
// maximum block size are processed in slices of at most that size.

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/IPlugBase.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "vst3/sdk/SingleComponentEffect.h"

class IPlugVST3View;

class IPlugVST3 : public IPlugBase, public Steinberg::Vst::SingleComponentEffect {
 public:
  using HostCallback = void*;
  static constexpr int kPluginApi = kApiVST3;

  // The adaptor's own parameters and the program list, as four-character IDs.
  static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374;  // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173;  // 'bpas'
  static constexpr Steinberg::Vst::ProgramListID kFactoryPresetsListId = 0x70727374;

  IPlugVST3(HostCallback host, const IPlugIdentity& identity);

  //---from IPlugBase---
  void BeginParamGesture(int paramIdx) override;
  void InformHostParamValue(int paramIdx, double normalized) override;
  void EndParamGesture(int paramIdx) override;
  void NotifyHostPresetChange() override {}
  bool IsOfflineRender() override;
  int HostSamplePos() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTime(HostTimeInfo* info) override;
  void ResizeEditor(int width, int height) override;
  void OpenHostParamMenu(int paramIdx, int x, int y) override;
  void SetLatencySamples(int samples) override;
  bool SendMidiToHost(const MidiMessage* /*message*/) override { return false; }

  //---from IPluginBase---
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;

  //---from IComponent---
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;

  //---from IAudioProcessor---
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override;

  //---from IEditController (state through the controller's renamed pair)---
  Steinberg::tresult setEditorState(Steinberg::IBStream* state) override;
  Steinberg::tresult getEditorState(Steinberg::IBStream* state) override;
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) override;
  Steinberg::tresult PLUGIN_API
  getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* string,
                        Steinberg::Vst::ParamValue& valueNormalized) override;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) override;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plainValue) override;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                   Steinberg::Vst::ParamValue value) override;

  //---from IUnitInfo---
  Steinberg::int32 PLUGIN_API getUnitCount() override;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                            Steinberg::Vst::UnitInfo& info) override;
  Steinberg::int32 PLUGIN_API getProgramListCount() override { return 0; }
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info) override;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                               Steinberg::Vst::CString,
                                               Steinberg::Vst::String128) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID,
                                                     Steinberg::int32) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                                    Steinberg::int16,
                                                    Steinberg::Vst::String128) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override { return 0; }
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType,
                                             Steinberg::Vst::BusDirection, Steinberg::int32,
                                             Steinberg::int32, Steinberg::Vst::UnitID&) override {
    return Steinberg::kNotImplemented;
  }
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32, Steinberg::int32,
                                                   Steinberg::IBStream*) override {
    return Steinberg::kNotImplemented;
  }

  // ---editor views (vst3/IPlugVST3View.cpp)---
  // Forgets every view made by createView; a view calls it when it is destroyed.
  void ForgetViews();

  OBJ_METHODS(IPlugVST3, SingleComponentEffect)

 private:
  // Stores text as bus name index of names, replacing what was there.
  static void SetBusName(std::vector<std::string>& names, size_t index, const char* text);
  void BuildBuses();
  void BuildParameters();
  Steinberg::Vst::AudioBus* AddAudioInputNamed(const char* name, int channels,
                                               Steinberg::Vst::BusType busType,
                                               Steinberg::int32 flags);
  Steinberg::Vst::AudioBus* AddAudioOutputNamed(const char* name, int channels);
  bool IsCoreParam(Steinberg::Vst::ParamID id) const {
    return id < Steinberg::uint32(ParamCount());
  }

  // ---audio callback steps---
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyHostValue(Steinberg::Vst::ParamID id, double value);
  Steinberg::tresult ArrangeBuses(Steinberg::Vst::SpeakerArrangement* inputs,
                                  Steinberg::int32 numIns,
                                  Steinberg::Vst::SpeakerArrangement* outputs,
                                  Steinberg::int32 numOuts);
  void CacheBusActivity();
  // The channels the host's buffers feed in this call, one bit per core channel.
  uint64_t FedInputs(const Steinberg::Vst::ProcessData& data, bool is64);
  uint64_t FedOutputs(const Steinberg::Vst::ProcessData& data, bool is64);
  void BindSlice(int offset, int frames, bool is64);
  void ConvertOutputs(int frames);
  void SilenceConnectedOutputs(int frames, bool is64);
  void IdentifyHost(Steinberg::FUnknown* context);

  Steinberg::int32 sideChainChannels = 2;  ///< side-chain input channels, at most 2
  bool sideChainConnected = false;         ///< the side chain fed the previous block
  bool mainInputConnected = false;         ///< the main input bus fed the previous block
  // Bus activity as the audio callback last read it, and a count of the changes to the buses
  // (arrangement, activation) that tells it when to read again.
  std::atomic<uint32_t> busChanges{0};
  uint32_t busChangesSeen = ~0u;
  bool sideChainBusActive = false;
  uint64_t activeOutputBuses = 0;                          ///< bit b: output bus b is active
  Steinberg::Vst::ProcessContext hostProcessContext = {};  ///< the host's latest transport
  // The host's buffer of each core channel in the current call (float* or double*), valid
  // for the connected channels.
  std::vector<void*> hostInputs, hostOutputs;
  std::vector<IPlugVST3View*> openViews;  ///< views made by createView, not referenced
};
