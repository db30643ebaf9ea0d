// IPlugCLAP: the audio callback, the parameter flush and the audio ports. Both callbacks hold
// the instance lock for their whole call and allocate nothing.
//
// A block is rendered from event to event: each parameter event applies at its frame, so the
// audio equals that of a host sending the same block in pieces, one per event. Events out of
// time order apply where the rendering stands. The host's buffers bind to the core's channels
// per port: 64-bit ones directly, 32-bit ones through the scratch buffers; channels the host
// gives no buffer read silence and write nowhere.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "clap/IPlugCLAP.h"
#include "core/SampleConversion.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// Ports: main stereo input, stereo side-chain input (core channels 2, 3), main stereo output.
constexpr uint32_t kInputPorts = 2;
constexpr uint32_t kOutputPorts = 1;
constexpr uint32_t kPortChannels = 2;
constexpr const char* kInputPortNames[kInputPorts] = {"Main Input", "Sidechain"};

// The host's buffer of channel c of a port, or none when the host passed nothing for it.
template <typename Sample>
Sample* ChannelOf(Sample* const* data, const clap_audio_buffer_t& port, uint32_t c) {
  return data && c < port.channel_count ? data[c] : nullptr;
}

}  // namespace

// ---clap.audio-ports---

uint32_t IPlugCLAP::AudioPortCount(bool isInput) const {
  return isInput ? kInputPorts : kOutputPorts;
}

bool IPlugCLAP::AudioPortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const {
  if (!info || index >= AudioPortCount(isInput)) return false;
  *info = clap_audio_port_info_t{};
  info->id = index;
  std::snprintf(info->name, sizeof info->name, "%s", isInput ? kInputPortNames[index] : "Output");
  info->flags =
      CLAP_AUDIO_PORT_SUPPORTS_64BITS | (index == 0 ? uint32_t(CLAP_AUDIO_PORT_IS_MAIN) : 0u);
  info->channel_count = kPortChannels;
  info->port_type = CLAP_PORT_STEREO;
  info->in_place_pair = CLAP_INVALID_ID;
  return true;
}

// ---events---

void IPlugCLAP::ApplyEvent(const clap_event_header_t* event) {
  if (!event || event->space_id != CLAP_CORE_EVENT_SPACE_ID ||
      event->type != CLAP_EVENT_PARAM_VALUE || event->size < sizeof(clap_event_param_value_t)) {
    return;
  }
  // Copied out: a host's event list need not keep its events aligned.
  clap_event_param_value_t change;
  std::memcpy(&change, event, sizeof change);
  ApplyHostValue(change.param_id, change.value);
}

// Stepped parameters take whole values, cut toward zero as CLAP steps them.
void IPlugCLAP::ApplyHostValue(clap_id id, double value) {
  const IParamRecord* record = id < uint32_t(ParamCount()) ? ParamAt(int(id)) : nullptr;
  if (!record) return;
  if (record->Kind() != ParamKindDouble) value = std::trunc(value);
  SetParamFromHost(int(id), value, false);
}

void IPlugCLAP::Flush(const clap_input_events_t* in, const clap_output_events_t* out) {
  Lock lock(Mutex());
  if (mStage == Stage::kCreated) return;
  if (in && in->size && in->get) {
    const uint32_t count = std::min(in->size(in), kMaxEventsPerBlock);
    for (uint32_t i = 0; i < count; ++i) ApplyEvent(in->get(in, i));
  }
  SendPendingEdits(out);
}

// ---audio---

int32_t IPlugCLAP::Process(const clap_process_t* process) {
  Lock lock(Mutex());
  if (mStage != Stage::kProcessing || !process) return CLAP_PROCESS_ERROR;
  if (process->transport) mTransport = *process->transport;
  BindHostBuffers(*process);
  // The host's buffers hold the activated maximum: a longer block is cut to it.
  const uint32_t frames = std::min(process->frames_count, mMaxFrames);
  uint32_t done = 0;
  const clap_input_events_t* in = process->in_events;
  if (in && in->size && in->get) {
    const uint32_t count = std::min(in->size(in), kMaxEventsPerBlock);
    for (uint32_t i = 0; i < count; ++i) {
      const clap_event_header_t* event = in->get(in, i);
      if (!event) continue;
      const uint32_t at = std::min(std::max(event->time, done), frames);
      Render(done, at - done);
      done = at;
      ApplyEvent(event);
    }
  }
  Render(done, frames - done);
  SendPendingEdits(process->out_events);
  return CLAP_PROCESS_CONTINUE;
}

void IPlugCLAP::BindHostBuffers(const clap_process_t& process) {
  for (HostChannel& channel : mHostInputs) channel = HostChannel{};
  for (HostChannel& channel : mHostOutputs) channel = HostChannel{};
  const uint32_t inputPorts = process.audio_inputs ? process.audio_inputs_count : 0;
  for (uint32_t p = 0; p < std::min(inputPorts, kInputPorts); ++p) {
    const clap_audio_buffer_t& port = process.audio_inputs[p];
    for (uint32_t c = 0; c < kPortChannels; ++c) {
      HostChannel& channel = mHostInputs[size_t(p * kPortChannels + c)];
      channel.data64 = ChannelOf(port.data64, port, c);
      if (!port.data64) channel.data32 = ChannelOf(port.data32, port, c);
    }
  }
  const uint32_t outputPorts = process.audio_outputs ? process.audio_outputs_count : 0;
  if (outputPorts > 0) {
    const clap_audio_buffer_t& port = process.audio_outputs[0];
    for (uint32_t c = 0; c < kPortChannels; ++c) {
      HostChannel& channel = mHostOutputs[c];
      channel.data64 = ChannelOf(port.data64, port, c);
      if (!port.data64) channel.data32 = ChannelOf(port.data32, port, c);
    }
  }
  // A channel that stops being fed would go on reading its last converted block.
  uint64_t fedInputs = 0, fedOutputs = 0;
  bool lostInput = false;
  for (int i = 0; i < InputCount(); ++i) {
    const bool fed = mHostInputs[size_t(i)].Fed();
    lostInput = lostInput || (IsInputConnected(i) && !fed);
    fedInputs |= uint64_t(fed) << i;
  }
  if (lostInput) ClearScratch();
  for (int i = 0; i < OutputCount(); ++i)
    fedOutputs |= uint64_t(mHostOutputs[size_t(i)].Fed()) << i;
  SetConnectedChannels(fedInputs, fedOutputs);
}

// Longer stretches than the scratch buffers hold run in slices; the sound does not depend on
// where a block is cut.
void IPlugCLAP::Render(uint32_t offset, uint32_t frames) {
  const uint32_t slice = uint32_t(BlockSize());
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(slice, frames - done);
    RenderSlice(offset + done, int(count));
    done += count;
  }
}

void IPlugCLAP::RenderSlice(uint32_t offset, int frames) {
  for (int i = 0; i < InputCount(); ++i) {
    const HostChannel& host = mHostInputs[size_t(i)];
    if (host.data64) {
      InputPointers()[i] = host.data64 + offset;
    } else if (host.data32) {
      BindInputFromFloat(i, host.data32 + offset, frames);
    }
  }
  for (int i = 0; i < OutputCount(); ++i) {
    const HostChannel& host = mHostOutputs[size_t(i)];
    OutputChannel* channel = OutputAt(i);
    *channel->dataSlot = host.data64 ? host.data64 + offset : channel->scratch.data();
  }
  ProcessBlock(InputPointers(), OutputPointers(), frames);
  for (int i = 0; i < OutputCount(); ++i) {
    float* to = mHostOutputs[size_t(i)].data32;
    if (!to) continue;
    const double* from = OutputAt(i)->scratch.data();
    NarrowSamples(from, to + offset, frames);
  }
}
