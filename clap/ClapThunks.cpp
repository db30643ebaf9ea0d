#include "clap/ClapThunks.h"

#include <cstring>
#include <new>

#include "clap/IPlugCLAP.h"
#include "clap/abi/ClapPresets.h"

namespace {

// Runs call on the instance behind plugin; fallback for a foreign record or a failure.
template <typename Answer, typename Call>
Answer On(const clap_plugin_t* plugin, Answer fallback, Call call) {
  IPlugCLAP* plug = IPlugCLAP::FromRecord(plugin);
  if (!plug) return fallback;
  try {
    return call(*plug);
  } catch (...) {
    return fallback;
  }
}

template <typename Call>
void On(const clap_plugin_t* plugin, Call call) {
  On(plugin, 0, [&](IPlugCLAP& plug) {
    call(plug);
    return 0;
  });
}

//---clap_plugin_t---

bool Init(const clap_plugin_t* p) {
  return On(p, false, [](IPlugCLAP& plug) { return plug.Init(); });
}

// The plug-in class's destructor runs through the core's virtual one.
void Destroy(const clap_plugin_t* p) {
  if (IPlugCLAP* plug = IPlugCLAP::FromRecord(p)) delete plug;
}

bool Activate(const clap_plugin_t* p, double rate, uint32_t minFrames, uint32_t maxFrames) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.Activate(rate, minFrames, maxFrames); });
}

void Deactivate(const clap_plugin_t* p) {
  On(p, [](IPlugCLAP& plug) { plug.Deactivate(); });
}

bool StartProcessing(const clap_plugin_t* p) {
  return On(p, false, [](IPlugCLAP& plug) { return plug.StartProcessing(); });
}

void StopProcessing(const clap_plugin_t* p) {
  On(p, [](IPlugCLAP& plug) { plug.StopProcessing(); });
}

void Reset(const clap_plugin_t* p) {
  On(p, [](IPlugCLAP& plug) { plug.Reset(); });
}

int32_t Process(const clap_plugin_t* p, const clap_process_t* process) {
  return On(p, int32_t(CLAP_PROCESS_ERROR), [&](IPlugCLAP& plug) { return plug.Process(process); });
}

const void* GetExtension(const clap_plugin_t* p, const char* id) {
  return On(p, static_cast<const void*>(nullptr),
            [&](IPlugCLAP& plug) { return plug.GetExtension(id); });
}

void OnMainThread(const clap_plugin_t*) {}

//---clap.params---

uint32_t ParamCount(const clap_plugin_t* p) {
  return On(p, 0u, [](IPlugCLAP& plug) { return uint32_t(plug.ParamCount()); });
}

bool ParamInfo(const clap_plugin_t* p, uint32_t index, clap_param_info_t* info) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.ParamInfo(index, info); });
}

bool ParamValue(const clap_plugin_t* p, clap_id id, double* value) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.ParamValue(id, value); });
}

bool ValueToText(const clap_plugin_t* p, clap_id id, double value, char* out, uint32_t capacity) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.ValueToText(id, value, out, capacity); });
}

bool TextToValue(const clap_plugin_t* p, clap_id id, const char* text, double* value) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.TextToValue(id, text, value); });
}

void Flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out) {
  On(p, [&](IPlugCLAP& plug) { plug.Flush(in, out); });
}

const clap_plugin_params_t kParams = {ParamCount,  ParamInfo,   ParamValue,
                                      ValueToText, TextToValue, Flush};

//---clap.audio-ports---

uint32_t PortCount(const clap_plugin_t* p, bool isInput) {
  return On(p, 0u, [&](IPlugCLAP& plug) { return plug.AudioPortCount(isInput); });
}

bool PortInfo(const clap_plugin_t* p, uint32_t index, bool isInput, clap_audio_port_info_t* info) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.AudioPortInfo(index, isInput, info); });
}

const clap_plugin_audio_ports_t kAudioPorts = {PortCount, PortInfo};

//---clap.state---

bool SaveState(const clap_plugin_t* p, const clap_ostream_t* stream) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.SaveStateTo(stream); });
}

bool LoadState(const clap_plugin_t* p, const clap_istream_t* stream) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.LoadStateFrom(stream); });
}

const clap_plugin_state_t kState = {SaveState, LoadState};

//---clap.latency, clap.tail---

uint32_t Latency(const clap_plugin_t* p) {
  return On(p, 0u,
            [](IPlugCLAP& plug) { return uint32_t(plug.Latency() > 0 ? plug.Latency() : 0); });
}

uint32_t Tail(const clap_plugin_t* p) {
  return On(p, 0u,
            [](IPlugCLAP& plug) { return uint32_t(plug.TailSize() > 0 ? plug.TailSize() : 0); });
}

const clap_plugin_latency_t kLatency = {Latency};
const clap_plugin_tail_t kTail = {Tail};

//---clap.remote-controls---

uint32_t PageCount(const clap_plugin_t* p) {
  return On(p, 0u, [](IPlugCLAP&) { return 1u; });
}

bool Page(const clap_plugin_t* p, uint32_t index, clap_remote_controls_page_t* page) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.RemoteControlsPage(index, page); });
}

const clap_plugin_remote_controls_t kRemoteControls = {PageCount, Page};

//---clap.gui---

bool GuiApiSupported(const clap_plugin_t* p, const char* api, bool isFloating) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.IsGuiApiSupported(api, isFloating); });
}

bool GuiPreferredApi(const clap_plugin_t* p, const char** api, bool* isFloating) {
  return On(p, false, [&](IPlugCLAP&) {
#ifdef _WIN32
    if (api) *api = CLAP_WINDOW_API_WIN32;
#else
    if (api) *api = CLAP_WINDOW_API_X11;
#endif
    if (isFloating) *isFloating = false;
    return true;
  });
}

bool GuiCreate(const clap_plugin_t* p, const char* api, bool isFloating) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.CreateGui(api, isFloating); });
}

void GuiDestroy(const clap_plugin_t* p) {
  On(p, [](IPlugCLAP& plug) { plug.DestroyGui(); });
}

bool GuiSetScale(const clap_plugin_t* p, double scale) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.SetGuiScale(scale); });
}

bool GuiGetSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.GuiSize(width, height); });
}

// The panel has one size per scale: the user cannot drag it to another.
bool GuiCanResize(const clap_plugin_t*) { return false; }
bool GuiResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) { return false; }
bool GuiAdjustSize(const clap_plugin_t*, uint32_t*, uint32_t*) { return false; }

bool GuiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.SetGuiSize(width, height); });
}

bool GuiSetParent(const clap_plugin_t* p, const clap_window_t* window) {
  return On(p, false, [&](IPlugCLAP& plug) { return plug.SetGuiParent(window); });
}

// The editor is only ever embedded.
bool GuiSetTransient(const clap_plugin_t*, const clap_window_t*) { return false; }
void GuiSuggestTitle(const clap_plugin_t*, const char*) {}

bool GuiShow(const clap_plugin_t* p) {
  return On(p, false, [](IPlugCLAP& plug) { return plug.ShowGui(); });
}

bool GuiHide(const clap_plugin_t* p) {
  return On(p, false, [](IPlugCLAP& plug) { return plug.HideGui(); });
}

const clap_plugin_gui_t kGui = {GuiApiSupported, GuiPreferredApi, GuiCreate,    GuiDestroy,
                                GuiSetScale,     GuiGetSize,      GuiCanResize, GuiResizeHints,
                                GuiAdjustSize,   GuiSetSize,      GuiSetParent, GuiSetTransient,
                                GuiSuggestTitle, GuiShow,         GuiHide};

//---clap.timer-support, clap.posix-fd-support---

void OnTimer(const clap_plugin_t* p, clap_id timerId) {
  On(p, [&](IPlugCLAP& plug) { plug.OnTimer(timerId); });
}

void OnFd(const clap_plugin_t* p, int fd, uint32_t flags) {
  On(p, [&](IPlugCLAP& plug) { plug.OnFd(fd, flags); });
}

bool FromLocation(const clap_plugin_t* p, uint32_t kind, const char* location, const char* key) {
  return On(p, false,
            [&](IPlugCLAP& plug) { return plug.LoadPresetFromLocation(kind, location, key); });
}

const clap_plugin_preset_load_t kPresetLoad = {FromLocation};

const clap_plugin_timer_support_t kTimerSupport = {OnTimer};
const clap_plugin_posix_fd_support_t kFdSupport = {OnFd};

struct NamedExtension {
  const char* id;
  const void* extension;
};

const NamedExtension kExtensions[] = {
    {CLAP_EXT_PARAMS, &kParams},
    {CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
    {CLAP_EXT_STATE, &kState},
    {CLAP_EXT_LATENCY, &kLatency},
    {CLAP_EXT_TAIL, &kTail},
    {CLAP_EXT_REMOTE_CONTROLS, &kRemoteControls},
    {CLAP_EXT_REMOTE_CONTROLS_COMPAT, &kRemoteControls},
    {CLAP_EXT_GUI, &kGui},
    {CLAP_EXT_PRESET_LOAD, &kPresetLoad},
    {CLAP_EXT_PRESET_LOAD_COMPAT, &kPresetLoad},
#ifndef _WIN32
    {CLAP_EXT_TIMER_SUPPORT, &kTimerSupport},
    {CLAP_EXT_POSIX_FD_SUPPORT, &kFdSupport},
#endif
};

}  // namespace

void BindClapRecord(clap_plugin_t* record, IPlugCLAP* plug) {
  record->plugin_data = plug;
  record->init = Init;
  record->destroy = Destroy;
  record->activate = Activate;
  record->deactivate = Deactivate;
  record->start_processing = StartProcessing;
  record->stop_processing = StopProcessing;
  record->reset = Reset;
  record->process = Process;
  record->get_extension = GetExtension;
  record->on_main_thread = OnMainThread;
}

const void* ClapExtension(const char* id) {
  if (!id) return nullptr;
  for (const NamedExtension& named : kExtensions) {
    if (std::strcmp(named.id, id) == 0) return named.extension;
  }
  return nullptr;
}
