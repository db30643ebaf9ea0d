#include "Vst3Plugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

const TUID kBraskClassId = {0x0D, int8(0xE7), int8(0xAE), int8(0xF2), int8(0xDE), 0x00, 0x4E, 0x4F,
                            'W',  'y',        'r',        'd',        'B',        'r',  'k',  '1'};

Vst3Plugin::Vst3Plugin() {
  factory = BraskModule().Factory();
  if (!factory) return;
  void* object = nullptr;
  if (factory->createInstance(kBraskClassId, IComponent::iid, &object) != kResultOk) return;
  component = static_cast<IComponent*>(object);
  component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
  component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller));
  component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units));
}

Vst3Plugin::~Vst3Plugin() {
  if (component) component->terminate();
  if (units) units->release();
  if (controller) controller->release();
  if (processor) processor->release();
  if (component) component->release();
  if (factory) factory->release();
}

tresult Vst3Plugin::Setup(double sampleRate, int maxBlock, int32 sampleSize) {
  ProcessSetup setup{kRealtime, sampleSize, maxBlock, sampleRate};
  return processor->setupProcessing(setup);
}

tresult Vst3Plugin::ActivateBus(BusDirection dir, int index, bool active) {
  return component->activateBus(kAudio, dir, index, active);
}

void Vst3Plugin::Prepare(double sampleRate, int maxBlock, int32 sampleSize, bool sideChainActive) {
  component->initialize(&host);
  Setup(sampleRate, maxBlock, sampleSize);
  ActivateBus(kInput, 0, true);
  ActivateBus(kInput, 1, sideChainActive);
  ActivateBus(kOutput, 0, true);
  component->setActive(true);
  processor->setProcessing(true);
}

ProcessRig::ProcessRig(int maxFrames, bool is64)
    : maxFrames(maxFrames),
      is64(is64),
      in64(4, std::vector<double>(size_t(maxFrames + kGuard))),
      out64(2, std::vector<double>(size_t(maxFrames + kGuard))),
      in32(4, std::vector<float>(size_t(maxFrames + kGuard))),
      out32(2, std::vector<float>(size_t(maxFrames + kGuard))) {
  for (auto& channel : in64) inPtr64.push_back(channel.data());
  for (auto& channel : out64) outPtr64.push_back(channel.data());
  for (auto& channel : in32) inPtr32.push_back(channel.data());
  for (auto& channel : out32) outPtr32.push_back(channel.data());
  MarkOutputs();
}

void ProcessRig::SetInput(int channel, int frame, double value) {
  in64[size_t(channel)][size_t(frame)] = value;
  in32[size_t(channel)][size_t(frame)] = float(value);
}

void ProcessRig::MarkOutputs() {
  for (auto& channel : out64) std::fill(channel.begin(), channel.end(), double(kMarker));
  for (auto& channel : out32) std::fill(channel.begin(), channel.end(), kMarker);
}

ProcessData& ProcessRig::Data(int frames, int inputBuses, int outputBuses,
                              IParameterChanges* changes) {
  for (int b = 0; b < 2; ++b) {
    inputs[b] = AudioBusBuffers();
    inputs[b].numChannels = 2;
    if (is64) {
      inputs[b].channelBuffers64 = &inPtr64[size_t(2 * b)];
    } else {
      inputs[b].channelBuffers32 = &inPtr32[size_t(2 * b)];
    }
  }
  outputs[0] = AudioBusBuffers();
  outputs[0].numChannels = 2;
  if (is64) {
    outputs[0].channelBuffers64 = outPtr64.data();
  } else {
    outputs[0].channelBuffers32 = outPtr32.data();
  }
  data = ProcessData();
  data.processMode = kRealtime;
  data.symbolicSampleSize = is64 ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = inputBuses;
  data.numOutputs = outputBuses;
  data.inputs = inputBuses > 0 ? inputs : nullptr;
  data.outputs = outputBuses > 0 ? outputs : nullptr;
  data.inputParameterChanges = changes;
  return data;
}

double ProcessRig::Output(int channel, int frame) const {
  return is64 ? out64[size_t(channel)][size_t(frame)]
              : double(out32[size_t(channel)][size_t(frame)]);
}

bool ProcessRig::UntouchedFrom(int frame) const {
  for (int c = 0; c < 2; ++c) {
    for (int s = frame; s < maxFrames + kGuard; ++s) {
      if (Output(c, s) != double(kMarker)) return false;
    }
  }
  return true;
}
