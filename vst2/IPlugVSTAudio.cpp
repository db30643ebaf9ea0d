// IPlugVST: the audio callbacks and the parameter callbacks. Each holds the instance lock for
// its whole call and allocates nothing. A block longer than the block size last set runs as
// consecutive slices of at most that size, so no scratch buffer is ever overrun.

#include <mutex>

#include "IPlugVST.h"
#include "core/SampleConversion.h"

namespace {

// True when the host list holds count usable buffers.
template <typename Sample>
bool BuffersPresent(Sample** buffers, int count) {
  if (count == 0) return true;
  if (!buffers) return false;
  for (int i = 0; i < count; ++i) {
    if (!buffers[i]) return false;
  }
  return true;
}

}  // namespace

// ---AEffect callbacks---

void IPlugVST::HostProcessAccumulate(AEffect* effect, float** inputs, float** outputs,
                                     VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  try {
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    plug->ProcessFloat(inputs, outputs, frames, FloatMode::kAccumulate);
  } catch (...) {
  }
}

void IPlugVST::HostProcessFloat(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  try {
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    plug->ProcessFloat(inputs, outputs, frames, FloatMode::kReplace);
  } catch (...) {
  }
}

void IPlugVST::HostProcessDouble(AEffect* effect, double** inputs, double** outputs,
                                 VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  try {
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    plug->ProcessDouble(inputs, outputs, frames);
  } catch (...) {
  }
}

float IPlugVST::HostGetParam(AEffect* effect, VstInt32 index) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0.0f;
  try {
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    const IParamRecord* param = plug->ParamAt(index);
    return param ? float(param->NormalizedValue()) : 0.0f;
  } catch (...) {
    return 0.0f;
  }
}

void IPlugVST::HostSetParam(AEffect* effect, VstInt32 index, float value) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  try {
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    plug->SetParamFromHost(index, double(value), true);
  } catch (...) {
  }
}

// ---audio---

int IPlugVST::ConnectedInputCount() const {
  int count = 0;
  for (int i = 0; i < InputCount(); ++i) count += IsInputConnected(i) ? 1 : 0;
  return count;
}

int IPlugVST::ConnectedOutputCount() const {
  int count = 0;
  for (int i = 0; i < OutputCount(); ++i) count += IsOutputConnected(i) ? 1 : 0;
  return count;
}

void IPlugVST::ProcessDouble(double** inputs, double** outputs, int frames) {
  if (frames <= 0 || BlockSize() <= 0) return;
  if (!BuffersPresent(inputs, ConnectedInputCount())) return;
  if (!BuffersPresent(outputs, ConnectedOutputCount())) return;
  for (int offset = 0; offset < frames; offset += BlockSize()) {
    int slice = frames - offset < BlockSize() ? frames - offset : BlockSize();
    ProcessDoubleSlice(inputs, outputs, offset, slice);
  }
}

// Host buffers are used in place: connected channels take the next host pointers in order.
void IPlugVST::ProcessDoubleSlice(double** inputs, double** outputs, int offset, int frames) {
  int next = 0;
  for (int i = 0; i < InputCount(); ++i) {
    InputChannel* channel = InputAt(i);
    if (channel->connected) *channel->dataSlot = inputs[next++] + offset;
  }
  next = 0;
  for (int i = 0; i < OutputCount(); ++i) {
    OutputChannel* channel = OutputAt(i);
    if (channel->connected) *channel->dataSlot = outputs[next++] + offset;
  }
  ProcessBlock(InputPointers(), OutputPointers(), frames);
}

void IPlugVST::ProcessFloat(float** inputs, float** outputs, int frames, FloatMode mode) {
  if (frames <= 0 || BlockSize() <= 0) return;
  if (!BuffersPresent(inputs, ConnectedInputCount())) return;
  if (!BuffersPresent(outputs, ConnectedOutputCount())) return;
  for (int offset = 0; offset < frames; offset += BlockSize()) {
    int slice = frames - offset < BlockSize() ? frames - offset : BlockSize();
    ProcessFloatSlice(inputs, outputs, offset, slice, mode);
  }
}

// Float buffers go through the double scratch buffers and are converted back afterwards.
void IPlugVST::ProcessFloatSlice(float** inputs, float** outputs, int offset, int frames,
                                 FloatMode mode) {
  int connectedInputs = ConnectedInputCount();
  for (int i = 0; i < connectedInputs; ++i) mFloatSlice[size_t(i)] = inputs[i] + offset;
  BindInputsFromFloat(0, InputCount(), mFloatSlice.data(), frames);
  int next = 0;
  for (int i = 0; i < OutputCount(); ++i) {
    OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    *channel->dataSlot = channel->scratch.data();
    channel->floatDestination = outputs[next++] + offset;
  }
  ProcessBlock(InputPointers(), OutputPointers(), frames);
  for (int i = 0; i < OutputCount(); ++i) {
    OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    const double* from = channel->scratch.data();
    float* to = channel->floatDestination;
    if (mode == FloatMode::kAccumulate) {
      for (int s = 0; s < frames; ++s) to[s] += float(from[s]);
    } else {
      NarrowSamples(from, to, frames);
    }
  }
}
