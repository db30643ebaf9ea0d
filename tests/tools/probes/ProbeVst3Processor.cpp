#include <cmath>
#include <cstdio>
#include <string>

#include "ProbeLog.h"
#include "ProbeVst3.h"
#include "base/source/fstreamer.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace probe {

namespace {

std::string HostName(FUnknown* context) {
  FUnknownPtr<IHostApplication> host(context);
  String128 name{};
  if (!host || host->getName(name) != kResultOk) return "(none)";
  std::string narrow;
  for (int i = 0; i < 128 && name[i]; ++i) narrow += char(name[i]);
  return narrow;
}

std::string Arrangements(const SpeakerArrangement* list, int32 count) {
  std::string text;
  for (int32 i = 0; i < count; ++i) {
    text += (i ? "," : "") + std::to_string(SpeakerArr::getChannelCount(list[i]));
  }
  return text;
}

template <typename Sample>
void ApplyGain(AudioBusBuffers& in, AudioBusBuffers& out, Sample** inChannels, Sample** outChannels,
               int32 frames, double gainDb) {
  const Sample gain = Sample(std::pow(10.0, gainDb / 20.0));
  for (int32 c = 0; c < 2 && c < in.numChannels && c < out.numChannels; ++c) {
    for (int32 i = 0; i < frames; ++i) outChannels[c][i] = inChannels[c][i] * gain;
  }
}

}  // namespace

tresult PLUGIN_API Processor::initialize(FUnknown* context) {
  if (Component::initialize(context) != kResultOk) return kResultFalse;
  ProbeLog("component initialize host=" + HostName(context));
  audioInputs.push_back(owned(
      new AudioBus(STR16("Main Input"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo)));
  audioInputs.push_back(owned(new AudioBus(STR16("Key Input"), kAux, 0, SpeakerArr::kMono)));
  audioOutputs.push_back(owned(
      new AudioBus(STR16("Main Output"), kMain, BusInfo::kDefaultActive, SpeakerArr::kStereo)));
  setControllerClass(kControllerId);
  return kResultOk;
}

tresult PLUGIN_API Processor::terminate() {
  ProbeLog("component terminate");
  return Component::terminate();
}

tresult PLUGIN_API Processor::connect(IConnectionPoint* other) {
  const tresult result = Component::connect(other);
  ProbeLog("component connect");
  // allocateMessage asks the host's IHostApplication to create the message.
  ProbeLog(std::string("component hello ") +
           (sendMessageID("hello") == kResultOk ? "sent" : "not sent"));
  return result;
}

tresult PLUGIN_API Processor::disconnect(IConnectionPoint* other) {
  ProbeLog("component disconnect");
  return Component::disconnect(other);
}

tresult PLUGIN_API Processor::setActive(TBool state) {
  ProbeLog(std::string("active ") + (state ? "1" : "0"));
  return Component::setActive(state);
}

tresult PLUGIN_API Processor::setState(IBStream* state) {
  IBStreamer reader(state, kLittleEndian);
  double value = 0.0;
  if (!reader.readDouble(value) || !std::isfinite(value)) return kResultFalse;
  gainDb = std::fmin(std::fmax(value, kMinGainDb), kMaxGainDb);
  return kResultOk;
}

tresult PLUGIN_API Processor::getState(IBStream* state) {
  IBStreamer writer(state, kLittleEndian);
  return writer.writeDouble(gainDb) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Processor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts) {
  ProbeLog("arrangements in=" + Arrangements(inputs, numIns) +
           " out=" + Arrangements(outputs, numOuts));
  // The key input is mono and stays so.
  const bool accepted = numIns == 2 && numOuts == 1 && inputs[0] == SpeakerArr::kStereo &&
                        inputs[1] == SpeakerArr::kMono && outputs[0] == SpeakerArr::kStereo;
  return accepted ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Processor::getBusArrangement(BusDirection dir, int32 index,
                                                SpeakerArrangement& arr) {
  BusList& buses = dir == kInput ? audioInputs : audioOutputs;
  if (index < 0 || index >= int32(buses.size())) return kInvalidArgument;
  arr = static_cast<AudioBus*>(buses[size_t(index)].get())->getArrangement();
  return kResultOk;
}

tresult PLUGIN_API Processor::canProcessSampleSize(int32 symbolicSampleSize) {
  if (symbolicSampleSize == kSample32) return kResultOk;
  return symbolicSampleSize == kSample64 && offers64 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Processor::setupProcessing(ProcessSetup& setup) {
  char text[128];
  std::snprintf(text, sizeof(text), "setup mode=%d sampleSize=%d block=%d rate=%.0f",
                int(setup.processMode), int(setup.symbolicSampleSize),
                int(setup.maxSamplesPerBlock), setup.sampleRate);
  ProbeLog(text);
  return kResultOk;
}

tresult PLUGIN_API Processor::setProcessing(TBool state) {
  ProbeLog(std::string("processing ") + (state ? "1" : "0"));
  return kResultOk;
}

void Processor::ReadChanges(IParameterChanges* changes) {
  if (!changes) return;
  for (int32 q = 0; q < changes->getParameterCount(); ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    int32 offset = 0;
    ParamValue value = 0.0;
    if (!queue || queue->getParameterId() != kGainId || queue->getPointCount() < 1 ||
        queue->getPoint(queue->getPointCount() - 1, offset, value) != kResultOk) {
      continue;
    }
    gainDb = kMinGainDb + value * (kMaxGainDb - kMinGainDb);
  }
}

bool Processor::BusesAsArranged(const ProcessData& data) const {
  if (data.numInputs != 2 || data.numOutputs != 1 || !data.inputs || !data.outputs) return false;
  return data.inputs[0].numChannels == 2 && data.inputs[1].numChannels == 1 &&
         data.outputs[0].numChannels == 2;
}

tresult PLUGIN_API Processor::process(ProcessData& data) {
  ReadChanges(data.inputParameterChanges);
  if (data.numSamples <= 0) return kResultOk;
  if (processCalls++ == 0) {
    char text[160];
    std::snprintf(text, sizeof(text), "process buses=%s outputChanges=%s tempo=%.0f",
                  BusesAsArranged(data) ? "as arranged" : "wrong",
                  data.outputParameterChanges ? "yes" : "no",
                  data.processContext ? data.processContext->tempo : -1.0);
    ProbeLog(text);
  }
  if (!BusesAsArranged(data)) return kResultFalse;
  AudioBusBuffers& in = data.inputs[0];
  AudioBusBuffers& out = data.outputs[0];
  if (data.symbolicSampleSize == kSample64) {
    ApplyGain(in, out, in.channelBuffers64, out.channelBuffers64, data.numSamples, gainDb);
  } else {
    ApplyGain(in, out, in.channelBuffers32, out.channelBuffers32, data.numSamples, gainDb);
  }
  return kResultOk;
}

}  // namespace probe
