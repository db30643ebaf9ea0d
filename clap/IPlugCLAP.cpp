// IPlugCLAP: the life cycle, the host hooks of the core, parameters, state, factory presets and
// remote controls.

#include "clap/IPlugCLAP.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "clap/ClapFactoryPresets.h"
#include "clap/ClapThunks.h"
#include "gui/IGraphics.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr double kBeatTimeFactor = double(int64_t(1) << 31);  // the transport's fixed point
constexpr uint32_t kTransportIsPlaying = 1u << 4;
constexpr uint32_t kTransportIsLoopActive = 1u << 6;

void CopyText(char* field, size_t capacity, const char* text) {
  std::snprintf(field, capacity, "%s", text ? text : "");
}

}  // namespace

IPlugCLAP::IPlugCLAP(HostCallback host, const IPlugIdentity& identity)
    : IPlugBase(identity, kApiCLAP),
      mHost(host),
      mEdits(size_t(ParamCount())),
      mHostInputs(size_t(InputCount())),
      mHostOutputs(size_t(OutputCount())) {
  BindClapRecord(&mRecord, this);
  ConnectInputs(0, InputCount(), false);
  ConnectOutputs(0, OutputCount(), false);
}

// A host may destroy an instance whose editor is still open, or that is still active.
IPlugCLAP::~IPlugCLAP() { CloseGuiWindow(); }

IPlugCLAP* IPlugCLAP::FromRecord(const clap_plugin_t* plugin) {
  return plugin ? static_cast<IPlugCLAP*>(plugin->plugin_data) : nullptr;
}

// ---life cycle---

const void* IPlugCLAP::HostExtension(const char* id) const {
  if (!mHost || !mHost->get_extension) return nullptr;
  return mHost->get_extension(mHost, id);
}

bool IPlugCLAP::Init() {
  Lock lock(Mutex());
  if (mStage != Stage::kCreated) return false;
  mHostParams = static_cast<const clap_host_params_t*>(HostExtension(CLAP_EXT_PARAMS));
  mHostGui = static_cast<const clap_host_gui_t*>(HostExtension(CLAP_EXT_GUI));
  mHostTimers =
      static_cast<const clap_host_timer_support_t*>(HostExtension(CLAP_EXT_TIMER_SUPPORT));
  mHostFds =
      static_cast<const clap_host_posix_fd_support_t*>(HostExtension(CLAP_EXT_POSIX_FD_SUPPORT));
  mStage = Stage::kInitialized;
  // The defaults, as the first preset holds them, reach the processing.
  LoadPreset(0);
  return true;
}

bool IPlugCLAP::Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames) {
  Lock lock(Mutex());
  if (mStage != Stage::kInitialized) return false;
  if (!(sampleRate > 0.0) || !std::isfinite(sampleRate) || maxFrames < 1 || minFrames > maxFrames) {
    return false;
  }
  SetSampleRate(sampleRate);
  SetMaxBlockFrames(int(std::min<uint32_t>(maxFrames, kMaxSliceFrames)));
  if (BlockSize() <= 0) return false;
  mMaxFrames = maxFrames;
  ClearScratch();
  OnReset();
  OnActiveChanged(true);
  mStage = Stage::kActive;
  return true;
}

void IPlugCLAP::Deactivate() {
  Lock lock(Mutex());
  if (mStage != Stage::kActive && mStage != Stage::kProcessing) return;
  mStage = Stage::kInitialized;
  OnActiveChanged(false);
}

bool IPlugCLAP::StartProcessing() {
  Lock lock(Mutex());
  if (mStage != Stage::kActive) return false;
  mStage = Stage::kProcessing;
  return true;
}

void IPlugCLAP::StopProcessing() {
  Lock lock(Mutex());
  if (mStage == Stage::kProcessing) mStage = Stage::kActive;
}

void IPlugCLAP::Reset() {
  Lock lock(Mutex());
  if (mStage != Stage::kActive && mStage != Stage::kProcessing) return;
  ClearScratch();
  OnReset();
}

const void* IPlugCLAP::GetExtension(const char* id) const { return ClapExtension(id); }

// ---host hooks of the core: the editor's gestures wait for the next process or flush---

IPlugCLAP::PendingEdit* IPlugCLAP::EditOf(int paramIdx) {
  return paramIdx >= 0 && paramIdx < int(mEdits.size()) ? &mEdits[size_t(paramIdx)] : nullptr;
}

void IPlugCLAP::BeginParamGesture(int paramIdx) {
  {
    Lock lock(Mutex());
    PendingEdit* edit = EditOf(paramIdx);
    if (!edit) return;
    if (edit->close) {
      // A whole gesture still waiting merges with this one; an announced one is ended first.
      if (!edit->open) edit->closeFirst = true;
      edit->close = false;
    }
    edit->open = true;
  }
  RequestFlush();
}

void IPlugCLAP::InformHostParamValue(int paramIdx, double) {
  {
    Lock lock(Mutex());
    PendingEdit* edit = EditOf(paramIdx);
    if (!edit) return;
    edit->hasValue = true;
    edit->value = ParamAt(paramIdx)->Value();
  }
  RequestFlush();
}

void IPlugCLAP::EndParamGesture(int paramIdx) {
  {
    Lock lock(Mutex());
    PendingEdit* edit = EditOf(paramIdx);
    if (!edit) return;
    edit->close = true;
  }
  RequestFlush();
}

// While blocks run the next one carries the news; otherwise the host is asked for a flush.
void IPlugCLAP::RequestFlush() {
  bool processing;
  {
    Lock lock(Mutex());
    processing = mStage == Stage::kProcessing;
  }
  if (!processing && mHostParams && mHostParams->request_flush) mHostParams->request_flush(mHost);
}

void IPlugCLAP::SendPendingEdits(const clap_output_events_t* out) {
  const bool canSend = out && out->try_push;
  for (size_t i = 0; i < mEdits.size(); ++i) {
    PendingEdit& edit = mEdits[i];
    if (canSend) {
      clap_event_param_gesture_t gesture{};
      gesture.header = {sizeof gesture, 0, CLAP_CORE_EVENT_SPACE_ID, 0, 0};
      gesture.param_id = clap_id(i);
      auto send = [&](uint16_t type) {
        gesture.header.type = type;
        out->try_push(out, &gesture.header);
      };
      if (edit.closeFirst) send(CLAP_EVENT_PARAM_GESTURE_END);
      if (edit.open) send(CLAP_EVENT_PARAM_GESTURE_BEGIN);
      if (edit.hasValue) {
        clap_event_param_value_t value{};
        value.header = {sizeof value, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        value.param_id = clap_id(i);
        value.note_id = -1;
        value.port_index = -1;
        value.channel = -1;
        value.key = -1;
        value.value = edit.value;
        out->try_push(out, &value.header);
      }
      if (edit.close) send(CLAP_EVENT_PARAM_GESTURE_END);
    }
    edit = PendingEdit{};
  }
}

int IPlugCLAP::HostSamplePos() {
  return int(double(mTransport.song_pos_seconds) / kBeatTimeFactor * SampleRate());
}

double IPlugCLAP::HostTempo() { return mTransport.tempo; }

void IPlugCLAP::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = mTransport.tsig_num;
  if (denominator) *denominator = mTransport.tsig_denom;
}

void IPlugCLAP::HostTime(HostTimeInfo* info) {
  if (!info) return;
  info->tempo = mTransport.tempo;
  info->samplePos = double(mTransport.song_pos_seconds) / kBeatTimeFactor * SampleRate();
  info->ppqPos = double(mTransport.song_pos_beats) / kBeatTimeFactor;
  info->lastBarPos = double(mTransport.bar_start) / kBeatTimeFactor;
  info->cycleStart = double(mTransport.loop_start_beats) / kBeatTimeFactor;
  info->cycleEnd = double(mTransport.loop_end_beats) / kBeatTimeFactor;
  info->numerator = mTransport.tsig_num;
  info->denominator = mTransport.tsig_denom;
  info->transportPlaying = (mTransport.flags & kTransportIsPlaying) != 0;
  info->cycleActive = (mTransport.flags & kTransportIsLoopActive) != 0;
}

void IPlugCLAP::ResizeEditor(int width, int height) {
  if (mHostGui && mHostGui->request_resize && width > 0 && height > 0) {
    mHostGui->request_resize(mHost, uint32_t(width), uint32_t(height));
  }
}

// ---parameters: plain values, ids are the core's indices---

bool IPlugCLAP::ParamInfo(uint32_t index, clap_param_info_t* info) {
  const IParamRecord* record = index < uint32_t(ParamCount()) ? ParamAt(int(index)) : nullptr;
  if (!record || !info) return false;
  *info = clap_param_info_t{};
  info->id = index;
  info->flags = uint32_t(CLAP_PARAM_IS_AUTOMATABLE);
  if (record->Kind() != ParamKindDouble) info->flags |= CLAP_PARAM_IS_STEPPED;
  CopyText(info->name, sizeof info->name, record->Name());
  info->min_value = record->Min();
  info->max_value = record->Max();
  info->default_value = record->Default();
  return true;
}

bool IPlugCLAP::ParamValue(clap_id id, double* value) {
  Lock lock(Mutex());
  const IParamRecord* record = id < uint32_t(ParamCount()) ? ParamAt(int(id)) : nullptr;
  if (!record || !value) return false;
  *value = std::min(std::max(record->Value(), record->Min()), record->Max());
  return true;
}

bool IPlugCLAP::ValueToText(clap_id id, double value, char* buffer, uint32_t capacity) {
  const IParamRecord* record = id < uint32_t(ParamCount()) ? ParamAt(int(id)) : nullptr;
  if (!record || !std::isfinite(value)) return false;
  return FormatInUnit(*record, value, buffer, capacity);
}

bool IPlugCLAP::TextToValue(clap_id id, const char* text, double* value) {
  const IParamRecord* record = id < uint32_t(ParamCount()) ? ParamAt(int(id)) : nullptr;
  return record && ParseInUnit(*record, text, value);
}

// ---state: the core's program chunk, a header and every parameter as a double---

bool IPlugCLAP::SaveStateTo(const clap_ostream_t* stream) {
  if (!stream || !stream->write) return false;
  StateChunk chunk;
  {
    Lock lock(Mutex());
    WriteChunkHeader(&chunk);
    if (!SaveState(&chunk)) return false;
  }
  const uint8_t* bytes = chunk.Data();
  uint64_t left = uint64_t(chunk.Size());
  while (left > 0) {
    const int64_t written = stream->write(stream, bytes, left);
    if (written <= 0 || uint64_t(written) > left) return false;
    bytes += written;
    left -= uint64_t(written);
  }
  return true;
}

// The whole stream is read and checked before anything is applied, so a stream that fails,
// ends early or holds something else changes nothing.
bool IPlugCLAP::LoadStateFrom(const clap_istream_t* stream) {
  if (!stream || !stream->read) return false;
  StateChunk chunk;
  uint8_t buffer[1024];
  for (;;) {
    const int64_t read = stream->read(stream, buffer, sizeof buffer);
    if (read == 0) break;
    if (read < 0 || uint64_t(read) > sizeof buffer || chunk.Size() + read > kMaxStateBytes ||
        !chunk.PutBytes(buffer, int(read))) {
      return false;
    }
  }
  Lock lock(Mutex());
  StateChunk expected;
  WriteChunkHeader(&expected);
  SaveState(&expected);
  int pos = 0;
  if (chunk.Size() != expected.Size() || ReadChunkHeader(&chunk, &pos) != 0x00010000 || pos < 0) {
    return false;
  }
  const int end = LoadState(&chunk, pos);
  RefreshEditorFromParams();
  return end == chunk.Size();
}

// ---presets: the factory presets live in the plug-in; one loads as a state of its values---

bool IPlugCLAP::LoadPresetFromLocation(uint32_t locationKind, const char* location,
                                       const char* loadKey) {
  StateChunk chunk;
  bool loaded = false;
  if (locationKind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN && !location &&
      AppendFactoryPresetBlock(loadKey, &chunk)) {
    Lock lock(Mutex());
    loaded = LoadState(&chunk, 0) == chunk.Size();
    RefreshEditorFromParams();
  }
  auto* hostPresets =
      static_cast<const clap_host_preset_load_t*>(HostExtension(CLAP_EXT_PRESET_LOAD));
  if (!hostPresets) {
    hostPresets =
        static_cast<const clap_host_preset_load_t*>(HostExtension(CLAP_EXT_PRESET_LOAD_COMPAT));
  }
  if (loaded) {
    // The host's copies of the values are stale now.
    if (mHostParams && mHostParams->rescan) mHostParams->rescan(mHost, CLAP_PARAM_RESCAN_VALUES);
    if (hostPresets && hostPresets->loaded) {
      hostPresets->loaded(mHost, locationKind, location, loadKey);
    }
  } else if (hostPresets && hostPresets->on_error) {
    hostPresets->on_error(mHost, locationKind, location, loadKey, 0,
                          "no such factory preset in this plug-in");
  }
  return loaded;
}

// ---remote controls: one page with every parameter, in the usual order---

bool IPlugCLAP::RemoteControlsPage(uint32_t index, clap_remote_controls_page_t* page) {
  if (index != 0 || !page) return false;
  *page = clap_remote_controls_page_t{};
  CopyText(page->section_name, sizeof page->section_name, EffectName());
  page->page_id = 0;
  CopyText(page->page_name, sizeof page->page_name, EffectName());
  for (uint32_t k = 0; k < CLAP_REMOTE_CONTROLS_COUNT; ++k) {
    page->param_ids[k] = k < uint32_t(ParamCount()) ? k : CLAP_INVALID_ID;
  }
  return true;
}
