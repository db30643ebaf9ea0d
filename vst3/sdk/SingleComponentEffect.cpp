#include "SingleComponentEffect.h"

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput),
      audioOutputs(kAudio, kOutput),
      eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput) {
  processSetup.processMode = kRealtime;
  processSetup.symbolicSampleSize = kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
}

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context) {
  return EditControllerEx1::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate() {
  parameters.removeAll();
  removeAllBusses();
  return EditControllerEx1::terminate();
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir) {
  if (type == kAudio)
    return dir == kInput ? &audioInputs : dir == kOutput ? &audioOutputs : nullptr;
  if (type == kEvent)
    return dir == kInput ? &eventInputs : dir == kOutput ? &eventOutputs : nullptr;
  return nullptr;
}

static AudioBus* AudioBusAt(BusList& list, int32 index) {
  if (index < 0 || index >= int32(list.size())) return nullptr;
  return FCast<AudioBus>(list[size_t(index)].get());
}

AudioBus* SingleComponentEffect::getAudioInput(int32 index) {
  return AudioBusAt(audioInputs, index);
}

AudioBus* SingleComponentEffect::getAudioOutput(int32 index) {
  return AudioBusAt(audioOutputs, index);
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir) {
  BusList* list = getBusList(type, dir);
  return list ? int32(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                     BusInfo& info) {
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= int32(list->size())) return kInvalidArgument;
  info.mediaType = type;
  info.direction = dir;
  return (*list)[size_t(index)]->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index,
                                                      TBool state) {
  BusList* list = getBusList(type, dir);
  if (!list || index < 0 || index >= int32(list->size())) return kInvalidArgument;
  (*list)[size_t(index)]->setActive(state);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr) {
  AudioBus* bus = dir == kInput ? getAudioInput(index) : getAudioOutput(index);
  if (!bus) return kResultFalse;
  arr = bus->getArrangement();
  return kResultTrue;
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr,
                                               BusType busType, int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioInputs.emplace_back(bus, false);
  return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr,
                                                BusType busType, int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arr);
  audioOutputs.emplace_back(bus, false);
  return bus;
}

tresult SingleComponentEffect::removeAudioBusses() {
  audioInputs.clear();
  audioOutputs.clear();
  return kResultOk;
}

tresult SingleComponentEffect::removeAllBusses() {
  removeAudioBusses();
  eventInputs.clear();
  eventOutputs.clear();
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  // Processor and controller are one object: there is no peer to connect to.
  if (FUnknownPrivate::iidEqual(iid, IConnectionPoint::iid)) {
    *obj = nullptr;
    return kNoInterface;
  }
  DEF_INTERFACE(IComponent)
  DEF_INTERFACE(IAudioProcessor)
  return EditControllerEx1::queryInterface(iid, obj);
}

}  // namespace Vst
}  // namespace Steinberg
