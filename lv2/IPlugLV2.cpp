#include "lv2/IPlugLV2.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "core/SampleConversion.h"

namespace {

uint32_t FloatBits(float v) {
  uint32_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

}  // namespace

IPlugLV2::IPlugLV2(HostCallback, const IPlugIdentity& identity) : IPlugLV2Base(identity) {}

void IPlugLV2::Instantiated(double sampleRate) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  // Kept as given even when it is no positive number: the processing then passes the input.
  SetSampleRate(sampleRate);
  // Every channel starts unconnected, on its scratch buffer, until a run finds its port.
  SetMaxBlockFrames(kRunSliceFrames);
  for (int i = 0; i < ParamCount(); ++i) OnParamChanged(i);
  OnReset();
}

void IPlugLV2::ConnectPort(uint32_t port, void* data) {
  if (port < kLv2ParamPortCount) {
    mControls[port] = static_cast<const float*>(data);
  } else if (port == kLv2GainReductionPort) {
    mGainReduction = static_cast<float*>(data);
  } else if (port >= kLv2FirstAudioInPort && port < kLv2FirstAudioInPort + kLv2AudioInCount) {
    mAudioIn[port - kLv2FirstAudioInPort] = static_cast<const float*>(data);
  } else if (port >= kLv2FirstAudioOutPort && port < kLv2FirstAudioOutPort + kLv2AudioOutCount) {
    mAudioOut[port - kLv2FirstAudioOutPort] = static_cast<float*>(data);
  }
}

void IPlugLV2::Activate() {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  OnReset();
  OnActiveChanged(true);
}

void IPlugLV2::Deactivate() {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  OnActiveChanged(false);
  OnReset();
}

void IPlugLV2::Run(uint32_t frames) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  ApplyControlPorts();
  if (frames == 0) return;
  FollowAudioConnections();
  for (uint32_t offset = 0; offset < frames; offset += kRunSliceFrames) {
    ProcessSlice(offset, int(std::min<uint32_t>(kRunSliceFrames, frames - offset)));
  }
}

void IPlugLV2::PublishGainReduction(double value) {
  if (mGainReduction) *mGainReduction = std::isfinite(value) ? float(value) : 0.0f;
}

// Values reach the controls as host automation does: record, editor, then the plug-in.
void IPlugLV2::ApplyControlPorts() {
  for (uint32_t i = 0; i < kLv2ParamPortCount; ++i) {
    if (!mControls[i]) continue;
    const float v = *mControls[i];
    if (mApplied[i] && FloatBits(v) == mAppliedBits[i]) continue;
    mApplied[i] = true;
    mAppliedBits[i] = FloatBits(v);
    ApplyPortValue(int(i), v);
  }
}

void IPlugLV2::FollowAudioConnections() {
  for (int i = 0; i < InputCount() && i < int(kLv2AudioInCount); ++i) {
    const bool connected = mAudioIn[i] != nullptr;
    if (connected == IsInputConnected(i)) continue;
    ConnectInputs(i, 1, connected);
    InputChannel* channel = InputAt(i);
    if (!connected) std::fill(channel->scratch.begin(), channel->scratch.end(), 0.0);
  }
  for (int i = 0; i < OutputCount() && i < int(kLv2AudioOutCount); ++i) {
    const bool connected = mAudioOut[i] != nullptr;
    if (connected != IsOutputConnected(i)) ConnectOutputs(i, 1, connected);
  }
}

// Inputs and outputs go through the scratch buffers, so a host may hand the same buffer for
// an input and an output (LV2 allows it).
void IPlugLV2::ProcessSlice(uint32_t offset, int frames) {
  float* sources[kLv2AudioInCount] = {};
  int next = 0;
  for (int i = 0; i < InputCount() && i < int(kLv2AudioInCount); ++i) {
    if (IsInputConnected(i)) sources[next++] = const_cast<float*>(mAudioIn[i]) + offset;
  }
  BindInputsFromFloat(0, InputCount(), sources, frames);
  for (int i = 0; i < OutputCount() && i < int(kLv2AudioOutCount); ++i) {
    OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    *channel->dataSlot = channel->scratch.data();
    channel->floatDestination = mAudioOut[i] + offset;
  }
  ProcessBlock(InputPointers(), OutputPointers(), frames);
  for (int i = 0; i < OutputCount() && i < int(kLv2AudioOutCount); ++i) {
    OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    const double* from = channel->scratch.data();
    NarrowSamples(from, channel->floatDestination, frames);
  }
}
