#include "IPlugVST3.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "HostText.h"
#include "IPlugParameter.h"
#include "core/SampleConversion.h"
#include "gui/IGraphics.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The speaker arrangement hosts expect for a channel count; empty for unusual counts.
SpeakerArrangement SpeakerArrangementFor(int channels) {
  switch (channels) {
    case 1:
      return SpeakerArr::kMono;
    case 2:
      return SpeakerArr::kStereo;
    case 3:
      return SpeakerArr::k30Music;
    case 4:
      return SpeakerArr::k40Music;
    case 5:
      return SpeakerArr::k50;
    case 6:
      return SpeakerArr::k51;
    default:
      return SpeakerArr::kEmpty;
  }
}

int ChannelsOf(SpeakerArrangement arr) { return SpeakerArr::getChannelCount(arr); }

// How many channels of a host bus come with a buffer: the leading non-null channel pointers,
// never more than the bus claims.
int HostChannelCount(const AudioBusBuffers& bus, bool is64) {
  void** buffers = is64 ? reinterpret_cast<void**>(bus.channelBuffers64)
                        : reinterpret_cast<void**>(bus.channelBuffers32);
  if (!buffers) return 0;
  int count = 0;
  while (count < bus.numChannels && buffers[count]) ++count;
  return count;
}

// `count` bits set from bit `first` on: channels first..first+count-1.
uint64_t ChannelBits(int first, int count) {
  return count <= 0 ? 0 : ((count >= 64 ? ~uint64_t(0) : (uint64_t(1) << count) - 1) << first);
}

// The host's buffer of channel k of a bus, in the precision of the call.
void* ChannelBuffer(const AudioBusBuffers& bus, int k, bool is64) {
  return is64 ? static_cast<void*>(bus.channelBuffers64[k])
              : static_cast<void*>(bus.channelBuffers32[k]);
}

// The host bus at index, or null when the host did not pass it.
const AudioBusBuffers* HostBus(AudioBusBuffers* buses, int32 numBuses, int32 index) {
  return buses && index < numBuses ? &buses[index] : nullptr;
}

const char* NameAt(const std::vector<std::string>& names, size_t index) {
  return index < names.size() ? names[index].c_str() : "";
}

// The host's activation of each bus, by index. A bus list that setBusArrangements rebuilds
// gets it back, so that a host which activates a bus before it arranges it (Ardour adds a
// side chain that way) does not end up feeding an inactive bus.
class BusActivation {
 public:
  explicit BusActivation(const BusList& buses) {
    for (size_t i = 0; i < buses.size() && i < kMaxBuses; ++i) {
      active[i] = buses[i] && buses[i]->isActive();
    }
  }
  void RestoreTo(BusList& buses) const {
    for (size_t i = 0; i < buses.size() && i < kMaxBuses; ++i) {
      if (buses[i]) buses[i]->setActive(active[i]);
    }
  }

 private:
  static constexpr size_t kMaxBuses = 8;
  bool active[kMaxBuses] = {};
};

}  // namespace

IPlugVST3::IPlugVST3(HostCallback /*host*/, const IPlugIdentity& identity)
    : IPlugBase(identity, kApiVST3),
      hostInputs(size_t(InputCount()), nullptr),
      hostOutputs(size_t(OutputCount()), nullptr) {
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetBusName(mInputBusNames, 0, "Main Input");
  if (sideChainChannels != 0) SetBusName(mInputBusNames, 1, "Aux Input");
  SetBusName(mOutputBusNames, 0, "Output");
}

void IPlugVST3::SetBusName(std::vector<std::string>& names, size_t index, const char* text) {
  if (index < names.size()) names.erase(names.begin() + long(index));
  names.insert(names.begin() + long(std::min(index, names.size())), text);
}

// ---host hooks of the core---

void IPlugVST3::BeginParamGesture(int paramIdx) { beginEdit(ParamID(paramIdx)); }

void IPlugVST3::InformHostParamValue(int paramIdx, double normalized) {
  performEdit(ParamID(paramIdx), normalized);
}

void IPlugVST3::EndParamGesture(int paramIdx) { endEdit(ParamID(paramIdx)); }

bool IPlugVST3::IsOfflineRender() { return processSetup.processMode == kOffline; }

int IPlugVST3::HostSamplePos() {
  return int(int32(uint32(uint64(hostProcessContext.projectTimeSamples))));
}

double IPlugVST3::HostTempo() { return hostProcessContext.tempo; }

void IPlugVST3::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = hostProcessContext.timeSigNumerator;
  if (denominator) *denominator = hostProcessContext.timeSigDenominator;
}

void IPlugVST3::HostTime(HostTimeInfo* info) {
  if (!info) return;
  const ProcessContext& context = hostProcessContext;
  info->tempo = context.tempo;
  info->samplePos = double(context.projectTimeSamples);
  info->ppqPos = context.projectTimeMusic;
  info->lastBarPos = context.barPositionMusic;
  info->cycleStart = context.cycleStartMusic;
  info->cycleEnd = context.cycleEndMusic;
  info->numerator = context.timeSigNumerator;
  info->denominator = context.timeSigDenominator;
  info->transportPlaying = (context.state & ProcessContext::kPlaying) != 0;
  info->cycleActive = (context.state & ProcessContext::kCycleActive) != 0;
}

void IPlugVST3::SetLatencySamples(int samples) {
  IPlugBase::SetLatencySamples(samples);
  // Without a handler there is nobody to tell yet; the host reads the latency when it asks.
  FUnknownPtr<IComponentHandler> handler(componentHandler);
  if (handler) handler->restartComponent(kLatencyChanged);
}

// ---IPluginBase---

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context) {
  try {
    const tresult result = SingleComponentEffect::initialize(context);
    IdentifyHost(context);
    if (result == kResultOk) {
      BuildBuses();
      BuildParameters();
    }
    busChanges.fetch_add(1, std::memory_order_release);
    OnHostKnown();
    LoadPreset(0);
    return result;
  } catch (...) {
    return kOutOfMemory;
  }
}

void IPlugVST3::IdentifyHost(FUnknown* context) {
  FUnknownPtr<IHostApplication> host(context);
  if (!host) return;
  String128 name = {};
  host->getName(name);
  char text[128];
  NarrowFromHost(name, text, int(sizeof(text)));
  SetHostIdentity(LookUpHostKind(text), 0);
}

AudioBus* IPlugVST3::AddAudioInputNamed(const char* name, int channels, BusType busType,
                                        int32 flags) {
  String128 wide;
  WidenToHost(name, wide);
  return addAudioInput(wide, SpeakerArrangementFor(channels), busType, flags);
}

AudioBus* IPlugVST3::AddAudioOutputNamed(const char* name, int channels) {
  String128 wide;
  WidenToHost(name, wide);
  return addAudioOutput(wide, SpeakerArrangementFor(channels), kMain, BusInfo::kDefaultActive);
}

void IPlugVST3::BuildBuses() {
  const int mainInputs = InputCount() - sideChainChannels;
  if (mainInputs >= 1 && mainInputs <= 6) {
    AddAudioInputNamed(NameAt(mInputBusNames, 0), mainInputs, kMain, BusInfo::kDefaultActive);
  }
  AddAudioOutputNamed(NameAt(mOutputBusNames, 0), OutputCount());
  if (sideChainChannels != 0) {
    sideChainChannels = std::min(sideChainChannels, int32(2));
    AddAudioInputNamed(NameAt(mInputBusNames, 1), sideChainChannels, kAux, 0);
  }
}

void IPlugVST3::BuildParameters() {
  if (PresetCount() > 0) {
    parameters.addParameter(STR16("Preset"), nullptr, PresetCount(), 0.0,
                            ParameterInfo::kIsProgramChange, int32(kPresetParamId));
  }
  if (!IsInstrument()) {
    auto* bypass = new StringListParameter(
        STR16("Bypass"), kBypassParamId, nullptr,
        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);
    bypass->appendString(STR16("off"));
    bypass->appendString(STR16("on"));
    parameters.addParameter(bypass);
  }
  for (int i = 0; i < ParamCount(); ++i) {
    const IParamRecord* record = ParamAt(i);
    UnitID unit = 0;
    if (record->Group()[0] != '\0') {
      auto same = [record](const char* group) { return std::strcmp(group, record->Group()) == 0; };
      auto found = std::find_if(mParamGroups.begin(), mParamGroups.end(), same);
      if (found == mParamGroups.end()) found = mParamGroups.insert(found, record->Group());
      unit = UnitID(found - mParamGroups.begin()) + 1;
    }
    parameters.addParameter(new IPlugParameter(record, ParamID(i), unit));
  }
}

// ---IComponent---

tresult PLUGIN_API IPlugVST3::setActive(TBool state) {
  OnActiveChanged(state != 0);
  return kResultOk;
}

// ---IAudioProcessor---

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts) {
  const tresult result = ArrangeBuses(inputs, numIns, outputs, numOuts);
  busChanges.fetch_add(1, std::memory_order_release);
  return result;
}

tresult PLUGIN_API IPlugVST3::activateBus(MediaType type, BusDirection dir, int32 index,
                                          TBool state) {
  const tresult result = SingleComponentEffect::activateBus(type, dir, index, state);
  busChanges.fetch_add(1, std::memory_order_release);
  return result;
}

// Which buses are active, read from the bus lists in the first block after a change: the
// lists' lookups cost more than the rest of a small block's bookkeeping.
void IPlugVST3::CacheBusActivity() {
  const AudioBus* sideChainBus = getAudioInput(1);
  sideChainBusActive = sideChainBus && sideChainBus->isActive();
  activeOutputBuses = 0;
  for (int32 b = 0; b < getBusCount(kAudio, kOutput) && b < 64; ++b) {
    const AudioBus* bus = getAudioOutput(b);
    if (bus && bus->isActive()) activeOutputBuses |= uint64_t(1) << b;
  }
}

tresult IPlugVST3::ArrangeBuses(SpeakerArrangement* inputs, int32 numIns,
                                SpeakerArrangement* outputs, int32 numOuts) {
  ConnectInputs(0, InputCount(), false);
  ConnectOutputs(0, OutputCount(), false);
  const int inputChannels = inputs && numIns > 0 ? ChannelsOf(inputs[0]) : 0;
  const int outputChannels = outputs && numOuts > 0 ? ChannelsOf(outputs[0]) : 0;
  if (!LegalIO(inputChannels, outputChannels)) return kResultFalse;
  try {
    const BusActivation inputActivation(audioInputs);
    AudioBus* mainInput = getAudioInput(0);
    if (mainInput && ChannelsOf(mainInput->getArrangement()) != inputChannels) {
      audioInputs.clear();
      AddAudioInputNamed("Input", inputChannels, kMain, BusInfo::kDefaultActive);
      inputActivation.RestoreTo(audioInputs);
    }
    AudioBus* output = getAudioOutput(0);
    if (output && ChannelsOf(output->getArrangement()) != outputChannels) {
      const BusActivation outputActivation(audioOutputs);
      audioOutputs.clear();
      AddAudioOutputNamed("Output", outputChannels);
      outputActivation.RestoreTo(audioOutputs);
    }
    if (sideChainChannels == 0) return numIns == 1 ? kResultOk : kResultFalse;
    if (numIns != 2) return kResultFalse;
    // A main input rebuilt just above took the side-chain bus with it: nothing to compare.
    AudioBus* sideChain = getAudioInput(1);
    if (!sideChain) return kResultFalse;
    const int sideChainChannelsAsked = ChannelsOf(inputs[1]);
    if (ChannelsOf(sideChain->getArrangement()) != sideChainChannelsAsked) {
      audioInputs.clear();
      AddAudioInputNamed("Input", inputChannels, kMain, BusInfo::kDefaultActive);
      AddAudioInputNamed("Sidechain Input", sideChainChannelsAsked, kAux, 0);
      inputActivation.RestoreTo(audioInputs);
    }
    return kResultOk;
  } catch (...) {
    return kOutOfMemory;
  }
}

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk
                                                                            : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples() { return uint32(std::max(0, Latency())); }

uint32 PLUGIN_API IPlugVST3::getTailSamples() { return uint32(std::max(0, TailSize())); }

tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup) {
  if (uint32(setup.symbolicSampleSize) > 1) return kResultFalse;
  SetSampleRate(setup.sampleRate);
  // The bypass flag stays: it is the host's 'bpas' parameter, which hosts set once and expect
  // to hold through every later setup (an offline bounce, a block size change).
  SetMaxBlockFrames(setup.maxSamplesPerBlock);
  OnReset();
  processSetup = setup;
  return kResultOk;
}

// ---the audio callback---

tresult PLUGIN_API IPlugVST3::process(ProcessData& data) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  if (data.processContext) hostProcessContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);

  const int32 sampleSize = processSetup.symbolicSampleSize;
  if (sampleSize != kSample32 && sampleSize != kSample64) return kResultOk;
  const bool is64 = sampleSize == kSample64;
  const uint32_t changes = busChanges.load(std::memory_order_acquire);
  if (changes != busChangesSeen) {
    CacheBusActivity();
    busChangesSeen = changes;
  }
  SetConnectedChannels(FedInputs(data, is64), FedOutputs(data, is64));

  const int total = std::max(0, int(data.numSamples));
  if (total > 0 && BlockSize() <= 0) {
    // Set up without room for a block: answer silence rather than process nothing.
    BindSlice(0, total, is64);
    SilenceConnectedOutputs(total, is64);
    return kResultOk;
  }
  int offset = 0;
  do {
    const int frames = std::min(BlockSize(), total - offset);
    BindSlice(offset, frames, is64);
    if (IsBypassed()) {
      PassThrough(frames);
    } else {
      ProcessBlock(InputPointers(), OutputPointers(), frames);
    }
    if (!is64) ConvertOutputs(frames);
    offset += frames;
  } while (offset < total);
  return kResultOk;
}

void IPlugVST3::ApplyParameterChanges(IParameterChanges* changes) {
  if (!changes) return;
  const int32 queues = changes->getParameterCount();
  for (int32 i = 0; i < queues; ++i) {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue) continue;
    const int32 points = queue->getPointCount();
    int32 sampleOffset = 0;
    ParamValue value = 0.0;
    if (points <= 0 || queue->getPoint(points - 1, sampleOffset, value) != kResultOk) continue;
    ApplyHostValue(queue->getParameterId(), value);
  }
}

void IPlugVST3::ApplyHostValue(ParamID id, double value) {
  if (id == kBypassParamId) {
    SetBypassed(value > 0.5);
  } else if (id == kPresetParamId) {
    const double index = value * PresetCount();
    // Truncation toward zero; values no int can hold name no preset.
    if (index > -2147483648.0 && index < 2147483648.0) LoadPreset(int(index));
  } else if (IsCoreParam(id)) {
    SetParamFromHost(int(id), value, true);
  }
}

uint64_t IPlugVST3::FedInputs(const ProcessData& data, bool is64) {
  const int mainChannels = InputCount() - sideChainChannels;
  const AudioBusBuffers* mainBus = HostBus(data.inputs, data.numInputs, 0);
  const AudioBusBuffers* sideBus = HostBus(data.inputs, data.numInputs, 1);
  if (sideChainChannels == 0 || !sideChainBusActive) sideBus = nullptr;
  const int mainFed = mainBus ? std::min(HostChannelCount(*mainBus, is64), mainChannels) : 0;
  const int sideFed =
      sideBus ? std::min(HostChannelCount(*sideBus, is64), int(sideChainChannels)) : 0;
  // A bus that stops feeding would leave its last converted block in the scratch buffers.
  if ((sideChainConnected && sideFed == 0) || (mainInputConnected && mainFed == 0)) {
    ClearScratch();
  }
  sideChainConnected = sideFed > 0;
  mainInputConnected = mainFed > 0;
  for (int k = 0; k < mainFed; ++k) hostInputs[size_t(k)] = ChannelBuffer(*mainBus, k, is64);
  for (int k = 0; k < sideFed; ++k) {
    hostInputs[size_t(mainChannels + k)] = ChannelBuffer(*sideBus, k, is64);
  }
  return ChannelBits(0, mainFed) | ChannelBits(mainChannels, sideFed);
}

uint64_t IPlugVST3::FedOutputs(const ProcessData& data, bool is64) {
  uint64_t fed = 0;
  int first = 0;
  for (int32 b = 0; b < data.numOutputs && data.outputs && first < OutputCount(); ++b) {
    const AudioBusBuffers& hostBus = data.outputs[b];
    if (b < 64 && (activeOutputBuses >> b) & 1u) {
      const int channels = std::min(HostChannelCount(hostBus, is64), OutputCount() - first);
      for (int k = 0; k < channels; ++k) {
        hostOutputs[size_t(first + k)] = ChannelBuffer(hostBus, k, is64);
      }
      fed |= ChannelBits(first, channels);
    }
    first += std::max(0, std::min(int(hostBus.numChannels), OutputCount() - first));
  }
  return fed;
}

// The connected channels point into the host's buffers of the previous FedInputs and
// FedOutputs, from frame `offset` on; 32-bit ones through the scratch buffers.
void IPlugVST3::BindSlice(int offset, int frames, bool is64) {
  for (int i = 0; i < InputCount(); ++i) {
    if (!IsInputConnected(i)) continue;
    if (is64) {
      InputPointers()[i] = static_cast<double*>(hostInputs[size_t(i)]) + offset;
    } else {
      BindInputFromFloat(i, static_cast<float*>(hostInputs[size_t(i)]) + offset, frames);
    }
  }
  for (int i = 0; i < OutputCount(); ++i) {
    if (!IsOutputConnected(i)) continue;
    OutputChannel* channel = OutputAt(i);
    if (is64) {
      *channel->dataSlot = static_cast<double*>(hostOutputs[size_t(i)]) + offset;
    } else {
      *channel->dataSlot = channel->scratch.data();
      channel->floatDestination = static_cast<float*>(hostOutputs[size_t(i)]) + offset;
    }
  }
}

void IPlugVST3::ConvertOutputs(int frames) {
  for (int i = 0; i < OutputCount(); ++i) {
    const OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    const double* from = *channel->dataSlot;
    float* to = channel->floatDestination;
    NarrowSamples(from, to, frames);
  }
}

void IPlugVST3::SilenceConnectedOutputs(int frames, bool is64) {
  for (int i = 0; i < OutputCount(); ++i) {
    const OutputChannel* channel = OutputAt(i);
    if (!channel->connected) continue;
    if (is64) {
      std::fill_n(*channel->dataSlot, frames, 0.0);
    } else {
      std::fill_n(channel->floatDestination, frames, 0.0f);
    }
  }
}

// ---IEditController---

tresult IPlugVST3::getEditorState(IBStream* state) {
  if (!state) return kInvalidArgument;
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  StateChunk chunk;
  if (!SaveState(&chunk)) return kResultFalse;
  const uint8 bypass[4] = {uint8(IsBypassed() ? 1 : 0), 0, 0, 0};  // int32, little-endian
  state->write(chunk.Data(), chunk.Size(), nullptr);
  state->write(const_cast<uint8*>(bypass), int32(sizeof(bypass)), nullptr);
  return kResultOk;
}

tresult IPlugVST3::setEditorState(IBStream* state) {
  if (!state) return kInvalidArgument;
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  // The current state, only to learn its length.
  StateChunk chunk;
  SaveState(&chunk);
  if (chunk.Size() == 0) return kResultFalse;
  // A stream that ends early (a truncated preset) changes nothing. A stream that does not say
  // how much it read is taken as complete.
  int32 delivered = chunk.Size();
  if (state->read(chunk.Data(), chunk.Size(), &delivered) != kResultOk ||
      delivered != chunk.Size()) {
    return kResultFalse;
  }
  LoadState(&chunk, 0);
  uint8 bypass[4] = {0, 0, 0, 0};
  if (state->read(bypass, int32(sizeof(bypass)), nullptr) != kResultOk) return kResultFalse;
  const uint32 value = uint32(bypass[0]) | uint32(bypass[1]) << 8 | uint32(bypass[2]) << 16 |
                       uint32(bypass[3]) << 24;
  SetBypassed(value != 0);
  RefreshEditorFromParams();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  // The SDK container indexes with vector::at: an index outside it must never get there.
  if (paramIndex < 0 || paramIndex >= getParameterCount()) return kResultFalse;
  return EditController::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID id, TChar* string,
                                                    ParamValue& valueNormalized) {
  ParamValue value = 0.0;
  tresult result = kResultFalse;
  try {
    // The SDK's text conversion throws on UTF-16 that is not well formed (a lone surrogate).
    result = EditController::getParamValueByString(id, string, value);
  } catch (...) {
    return kResultFalse;
  }
  // The SDK's own parameter behind 'prst' reads any number as it stands ("2" gives 2.0):
  // hosts only ever get values inside 0..1, and a text naming no number gives none.
  if (result != kResultOk || std::isnan(value)) return kResultFalse;
  valueNormalized = std::min(std::max(value, 0.0), 1.0);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                    String128 string) {
  if (!IsCoreParam(id) || !string) return kResultFalse;
  IPlugParameter::FormatNormalized(ParamAt(int(id)), valueNormalized, string);
  return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plainValue) {
  return IsCoreParam(id) ? ParamAt(int(id))->NormalizedFromPlain(plainValue) : plainValue;
}

// The controller's value calls come on the host's user-interface thread while the audio
// thread may be applying automation to the same records: both hold the instance lock.
ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  if (id == kBypassParamId) return IsBypassed() ? 1.0 : 0.0;
  return IsCoreParam(id) ? ParamAt(int(id))->NormalizedValue() : 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value) {
  if (!IsCoreParam(id)) return kResultFalse;
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  ParamAt(int(id))->SetValueFromNormalized(value);
  return kResultOk;
}

// ---IUnitInfo---

int32 PLUGIN_API IPlugVST3::getUnitCount() { return int32(mParamGroups.size()) + 1; }

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  if (unitIndex < 0 || unitIndex > int32(mParamGroups.size())) return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  WidenToHost(unitIndex == 0 ? "Root Unit" : mParamGroups[size_t(unitIndex - 1)], info.name);
  info.programListId = kNoProgramListId;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex != 0) return kResultFalse;
  info.id = kFactoryPresetsListId;
  WidenToHost("Factory Presets", info.name);
  info.programCount = PresetCount();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                             String128 name) {
  if (listId != kFactoryPresetsListId || !name) return kResultFalse;
  const PresetSlot* slot = PresetAt(programIndex);
  WidenToHost(slot ? slot->name : "", name);
  return kResultOk;
}
