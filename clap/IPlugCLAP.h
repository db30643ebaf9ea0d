#pragma once
// IPlugCLAP: the CLAP face of a plug-in instance. It stands where IPlugVST3 and IPlugVST stand in
// the other modules: it derives from the core (IPlugBase) and translates the calls a CLAP host
// makes through the instance record (clap_plugin_t) and the extensions into core operations.
//
// The host's calls come on its main thread (set-up, parameters, state, editor) or its audio
// thread (processing, and a parameter flush while active); every one takes the instance lock,
// as in the other formats, and the instance follows the CLAP life cycle: created, initialized,
// active, processing. A call that does not belong to the current stage is refused.
//
// Parameter events apply at their frame: the block is rendered up to each event and the event
// applied there. Parameters travel in plain values. The editor's gestures wait in a small
// per-parameter record until the next process or flush sends them to the host, which is asked
// for a flush when no block runs.

#include <cstdint>
#include <vector>

#include "clap/abi/ClapExtensions.h"
#include "core/IPlugBase.h"

class IPlugCLAP : public IPlugBase {
 public:
  using HostCallback = const clap_host_t*;
  static constexpr int kPluginApi = kApiCLAP;
  // The scratch buffers' length: longer blocks run in slices of it.
  static constexpr int kMaxSliceFrames = 4096;
  // Events read per block at most; a host's count beyond it is taken as garbage.
  static constexpr uint32_t kMaxEventsPerBlock = 1u << 16;
  // Largest state stream read; the saved state is far smaller.
  static constexpr int kMaxStateBytes = 1 << 16;

  IPlugCLAP(HostCallback host, const IPlugIdentity& identity);
  ~IPlugCLAP() override;

  // The record the host calls through; plugin_data points back at this object.
  const clap_plugin_t* Record() const { return &mRecord; }
  void SetDescriptor(const clap_plugin_descriptor_t* descriptor) { mRecord.desc = descriptor; }
  // The instance behind a record the factory handed out; null for a null record or one whose
  // plug-in data was cleared.
  static IPlugCLAP* FromRecord(const clap_plugin_t* plugin);

  //---from IPlugBase---
  void BeginParamGesture(int paramIdx) override;
  void InformHostParamValue(int paramIdx, double normalized) override;
  void EndParamGesture(int paramIdx) override;
  void NotifyHostPresetChange() override {}
  int HostSamplePos() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTime(HostTimeInfo* info) override;
  void ResizeEditor(int width, int height) override;
  bool SendMidiToHost(const MidiMessage*) override { return false; }

  //---from clap_plugin_t---
  bool Init();
  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  void Reset();
  int32_t Process(const clap_process_t* process);
  const void* GetExtension(const char* id) const;

  //---from clap.params---
  bool ParamInfo(uint32_t index, clap_param_info_t* info);
  bool ParamValue(clap_id id, double* value);
  bool ValueToText(clap_id id, double value, char* buffer, uint32_t capacity);
  bool TextToValue(clap_id id, const char* text, double* value);
  void Flush(const clap_input_events_t* in, const clap_output_events_t* out);

  //---from clap.audio-ports---
  uint32_t AudioPortCount(bool isInput) const;
  bool AudioPortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const;

  //---from clap.state---
  bool SaveStateTo(const clap_ostream_t* stream);
  bool LoadStateFrom(const clap_istream_t* stream);

  //---from clap.preset-load: a factory preset, by its load key---
  bool LoadPresetFromLocation(uint32_t locationKind, const char* location, const char* loadKey);

  //---from clap.remote-controls---
  bool RemoteControlsPage(uint32_t index, clap_remote_controls_page_t* page);

  //---from clap.gui, clap.timer-support, clap.posix-fd-support (IPlugCLAPGui.cpp)---
  bool IsGuiApiSupported(const char* api, bool isFloating);
  bool CreateGui(const char* api, bool isFloating);
  void DestroyGui();
  bool SetGuiScale(double scale);
  bool GuiSize(uint32_t* width, uint32_t* height);
  bool SetGuiSize(uint32_t width, uint32_t height);
  bool SetGuiParent(const clap_window_t* window);
  bool ShowGui();
  bool HideGui();
  void OnTimer(clap_id timerId);
  void OnFd(int fd, uint32_t flags);

 private:
  enum class Stage { kCreated, kInitialized, kActive, kProcessing };

  // The editor's pending news of one parameter for the host, in the order they are sent: the
  // end of a gesture already announced, a new gesture's begin, the latest value, its end.
  struct PendingEdit {
    bool closeFirst = false;
    bool open = false;
    bool hasValue = false;
    double value = 0.0;
    bool close = false;
  };

  // Where each of the core's channels reads or writes in the host's buffers this block.
  struct HostChannel {
    double* data64 = nullptr;
    float* data32 = nullptr;
    bool Fed() const { return data64 || data32; }
  };

  const void* HostExtension(const char* id) const;
  PendingEdit* EditOf(int paramIdx);
  void RequestFlush();
  void SendPendingEdits(const clap_output_events_t* out);
  void ApplyEvent(const clap_event_header_t* event);
  void ApplyHostValue(clap_id id, double value);
  void BindHostBuffers(const clap_process_t& process);
  void Render(uint32_t offset, uint32_t frames);
  void RenderSlice(uint32_t offset, int frames);
  bool OpenGuiWindow();
  void CloseGuiWindow();

  clap_plugin_t mRecord{};
  const clap_host_t* mHost;
  const clap_host_params_t* mHostParams = nullptr;
  const clap_host_gui_t* mHostGui = nullptr;
  const clap_host_timer_support_t* mHostTimers = nullptr;
  const clap_host_posix_fd_support_t* mHostFds = nullptr;
  Stage mStage = Stage::kCreated;
  uint32_t mMaxFrames = 0;               ///< the longest block activate allowed
  clap_event_transport_t mTransport{};   ///< the host's latest transport
  std::vector<PendingEdit> mEdits;       ///< one per parameter
  std::vector<HostChannel> mHostInputs;  ///< one per input channel
  std::vector<HostChannel> mHostOutputs;

  // ---editor---
  bool mGuiCreated = false;
  void* mParentWindow = nullptr;  ///< the host's window (an X window id on Linux)
  bool mTimerRegistered = false;
  clap_id mTimerId = CLAP_INVALID_ID;
  int mRegisteredFd = -1;
};
