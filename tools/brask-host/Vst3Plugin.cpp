#include "Vst3Plugin.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "FileBytes.h"
#include "VstPresetFile.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();
using GetFactoryProc = IPluginFactory* (*)();

// Counts past these are taken as garbage rather than allocated for.
constexpr int kMaxBuses = 64;
constexpr int kMaxChannelsPerBus = 64;
constexpr double kTempo = 120.0;

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() > suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The one binary in a bundle's platform folder, for bundles renamed after they were built.
std::string OnlyBinaryIn(const std::string& folder) {
  std::string found;
  DIR* listing = opendir(folder.c_str());
  if (!listing) return found;
  int count = 0;
  while (const dirent* entry = readdir(listing)) {
    if (EndsWith(entry->d_name, ".so") && ++count == 1) found = folder + "/" + entry->d_name;
  }
  closedir(listing);
  return count == 1 ? found : std::string();
}

// A bundle keeps each processor's Linux binary in a folder of its own.
#if defined(__aarch64__)
constexpr char kBundleBinaryFolder[] = "/Contents/aarch64-linux";
#else
constexpr char kBundleBinaryFolder[] = "/Contents/x86_64-linux";
#endif

// A bundle folder names its binary after itself: Foo.vst3/Contents/x86_64-linux/Foo.so.
std::string BinaryInBundle(const std::string& path) {
  if (!IsDirectory(path)) return path;
  std::string bundle = path;
  while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
  std::string stem = bundle.substr(bundle.find_last_of('/') + 1);
  if (EndsWith(stem, ".vst3")) stem.resize(stem.size() - 5);
  const std::string folder = bundle + kBundleBinaryFolder;
  const std::string named = folder + "/" + stem + ".so";
  if (Exists(named)) return named;
  const std::string only = OnlyBinaryIn(folder);
  return only.empty() ? named : only;
}

std::string Narrow(const char16* text, size_t capacity) {
  std::string out;
  for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
    const unsigned unit = static_cast<unsigned short>(text[i]);
    if (unit < 0x80) {
      out += char(unit);
    } else if (unit < 0x800) {
      out += char(0xC0 | (unit >> 6));
      out += char(0x80 | (unit & 0x3F));
    } else {
      out += char(0xE0 | (unit >> 12));
      out += char(0x80 | ((unit >> 6) & 0x3F));
      out += char(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

std::string Fixed(const char* text, size_t capacity) {
  return std::string(text, strnlen(text, capacity));
}

std::string HexId(const TUID id) {
  std::string out;
  char digits[3];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(digits, sizeof(digits), "%02X", static_cast<unsigned char>(id[i]));
    out += digits;
  }
  return out;
}

std::string PlainText(double plain) {
  char text[64];
  std::snprintf(text, sizeof(text), "%g", plain);
  return text;
}

template <typename Interface>
Interface* Query(FUnknown* object) {
  void* answer = nullptr;
  if (!object || object->queryInterface(Interface::iid, &answer) != kResultOk) return nullptr;
  return static_cast<Interface*>(answer);
}

template <typename Interface>
void ReleaseAndClear(Interface*& object) {
  if (object) object->release();
  object = nullptr;
}

}  // namespace

std::string Vst3Plugin::BinaryOf(const std::string& path) { return BinaryInBundle(path); }

std::unique_ptr<HostedPlugin> Vst3Plugin::Load(const std::string& path,
                                               const std::string& className, std::string* error) {
  const std::string binary = BinaryInBundle(path);
  if (IsDirectory(path) && !Exists(binary)) {
    *error = path + " is no VST 3 bundle: it has no " + binary;
    return nullptr;
  }
  std::unique_ptr<Vst3Plugin> plugin(new Vst3Plugin());
  if (!plugin->Open(binary, error) || !plugin->FindClass(className, error) ||
      !plugin->CreateComponent(error) || !plugin->CreateController(error)) {
    return nullptr;
  }
  return plugin;
}

bool Vst3Plugin::Open(const std::string& binary, std::string* error) {
  if (!library.Open(binary, error)) {
    *error = binary + " is not a loadable module: " + *error;
    return false;
  }
  auto entry = reinterpret_cast<ModuleEntryProc>(library.Symbol("ModuleEntry"));
  auto getFactory = reinterpret_cast<GetFactoryProc>(library.Symbol("GetPluginFactory"));
  if (!entry || !getFactory) {
    *error = binary + " does not export ModuleEntry and GetPluginFactory: not a VST 3 module";
    return false;
  }
  if (!entry(library.Handle())) {
    *error = "ModuleEntry of " + binary + " failed";
    return false;
  }
  entered = true;
  factory = getFactory();
  if (!factory) *error = "GetPluginFactory of " + binary + " answered no factory";
  return factory != nullptr;
}

bool Vst3Plugin::FindClass(const std::string& className, std::string* error) {
  std::string audioClasses;
  const int32 classes = factory->countClasses();
  for (int32 i = 0; i < classes; ++i) {
    PClassInfo info{};
    if (factory->getClassInfo(i, &info) != kResultOk ||
        Fixed(info.category, PClassInfo::kCategorySize) != kVstAudioEffectClass) {
      continue;
    }
    const std::string name = Fixed(info.name, PClassInfo::kNameSize);
    if (className.empty() || name == className) {
      classInfo = info;
      return true;
    }
    audioClasses += (audioClasses.empty() ? "" : ", ") + name;
  }
  if (className.empty() || audioClasses.empty()) {
    *error = "the module's factory offers no audio-effect class";
  } else {
    *error = "the module has no audio-effect class \"" + className +
             "\" (classes: " + audioClasses + ")";
  }
  return false;
}

bool Vst3Plugin::CreateComponent(std::string* error) {
  void* object = nullptr;
  if (factory->createInstance(classInfo.cid, IComponent::iid, &object) != kResultOk || !object) {
    *error = "the factory did not create the audio-effect class";
    return false;
  }
  component = static_cast<IComponent*>(object);
  if (component->initialize(&hostApplication) != kResultOk) {
    *error = "the component refused initialize";
    return false;
  }
  componentInitialized = true;
  processor = Query<IAudioProcessor>(component);
  if (!processor) *error = "the component is no audio processor";
  return processor != nullptr;
}

bool Vst3Plugin::CreateController(std::string* error) {
  controller = Query<IEditController>(component);
  if (!controller) {
    TUID controllerId{};
    void* object = nullptr;
    if (component->getControllerClassId(controllerId) != kResultOk ||
        factory->createInstance(controllerId, IEditController::iid, &object) != kResultOk ||
        !object) {
      *error = "the component has no edit controller the factory can create";
      return false;
    }
    controller = static_cast<IEditController*>(object);
    if (controller->initialize(&hostApplication) != kResultOk) {
      *error = "the edit controller refused initialize";
      return false;
    }
    separateController = true;
    Connect();
    TellControllerComponentState();
  }
  controller->setComponentHandler(&componentHandler);
  return true;
}

void Vst3Plugin::Connect() {
  componentPoint = Query<IConnectionPoint>(component);
  controllerPoint = Query<IConnectionPoint>(controller);
  // Without both ends the parts cannot talk; they may still work apart.
  if (!componentPoint || !controllerPoint) {
    ReleaseAndClear(componentPoint);
    ReleaseAndClear(controllerPoint);
    return;
  }
  componentPoint->connect(controllerPoint);
  controllerPoint->connect(componentPoint);
}

void Vst3Plugin::Disconnect() {
  if (componentPoint && controllerPoint) {
    componentPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(componentPoint);
  }
  ReleaseAndClear(componentPoint);
  ReleaseAndClear(controllerPoint);
}

bool Vst3Plugin::TellControllerComponentState() {
  IPtr<MemoryStream> stream = owned(new MemoryStream());
  if (component->getState(stream) != kResultOk) return false;
  stream->seek(0, IBStream::kIBSeekSet, nullptr);
  return controller->setComponentState(stream) == kResultOk;
}

Vst3Plugin::~Vst3Plugin() {
  Deactivate();
  Disconnect();
  if (controller) controller->setComponentHandler(nullptr);
  // The controller goes first: it may still talk to the component while it terminates.
  if (separateController) controller->terminate();
  if (componentInitialized) component->terminate();
  ReleaseAndClear(controller);
  ReleaseAndClear(processor);
  ReleaseAndClear(component);
  ReleaseAndClear(factory);
  if (entered) {
    auto exitModule = reinterpret_cast<ModuleExitProc>(library.Symbol("ModuleExit"));
    if (exitModule) exitModule();
  }
}

void Vst3Plugin::Deactivate() {
  if (!active) return;
  processor->setProcessing(false);
  component->setActive(false);
  active = false;
}

//---identity and parameters---

std::vector<HostBus> Vst3Plugin::Buses(BusDirection direction) {
  std::vector<HostBus> buses;
  const int32 count = component->getBusCount(kAudio, direction);
  for (int32 i = 0; i < count; ++i) {
    BusInfo info{};
    if (component->getBusInfo(kAudio, direction, i, info) != kResultOk) continue;
    buses.push_back(HostBus{Narrow(info.name, 128), direction == kInput, info.busType == kMain,
                            int(info.channelCount), (info.flags & BusInfo::kDefaultActive) != 0});
  }
  return buses;
}

HostIdentity Vst3Plugin::Identity() {
  HostIdentity identity;
  identity.format = "VST 3";
  identity.name = Fixed(classInfo.name, PClassInfo::kNameSize);
  identity.category = Fixed(classInfo.category, PClassInfo::kCategorySize);
  identity.uniqueId = HexId(classInfo.cid);
  PFactoryInfo factoryInfo;
  if (factory->getFactoryInfo(&factoryInfo) == kResultOk) {
    identity.vendor = Fixed(factoryInfo.vendor, PFactoryInfo::kNameSize);
  }
  if (auto* factory2 = Query<IPluginFactory2>(factory)) {
    PClassInfo2 info2;
    for (int32 i = 0; i < factory2->countClasses(); ++i) {
      if (factory2->getClassInfo2(i, &info2) != kResultOk ||
          std::memcmp(info2.cid, classInfo.cid, sizeof(TUID)) != 0) {
        continue;
      }
      identity.version = Fixed(info2.version, PClassInfo2::kVersionSize);
      identity.category = Fixed(info2.subCategories, PClassInfo2::kSubCategoriesSize);
      // An empty class vendor means the factory's vendor.
      const std::string classVendor = Fixed(info2.vendor, PClassInfo2::kVendorSize);
      if (!classVendor.empty()) identity.vendor = classVendor;
    }
    factory2->release();
  }
  identity.buses = Buses(kInput);
  for (const HostBus& bus : Buses(kOutput)) identity.buses.push_back(bus);
  // Programs as a DAW finds them: through the program lists the unit interface announces.
  if (auto* units = Query<IUnitInfo>(controller)) {
    for (int32 list = 0; list < units->getProgramListCount(); ++list) {
      ProgramListInfo info{};
      if (units->getProgramListInfo(list, info) != kResultOk) continue;
      for (int32 p = 0; p < info.programCount; ++p) {
        String128 name{};
        if (units->getProgramName(info.id, p, name) == kResultOk) {
          identity.programs.push_back(Narrow(name, 128));
        }
      }
    }
    units->release();
  }
  return identity;
}

std::vector<HostParam> Vst3Plugin::Params() {
  std::vector<HostParam> params;
  const int32 count = controller->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (controller->getParameterInfo(i, info) != kResultOk) continue;
    HostParam param;
    param.id = info.id;
    param.name = Narrow(info.title, 128);
    param.unit = Narrow(info.units, 128);
    param.minPlain = controller->normalizedParamToPlain(info.id, 0.0);
    param.maxPlain = controller->normalizedParamToPlain(info.id, 1.0);
    param.defaultPlain = controller->normalizedParamToPlain(info.id, info.defaultNormalizedValue);
    param.normalized = controller->getParamNormalized(info.id);
    param.plain = controller->normalizedParamToPlain(info.id, param.normalized);
    param.stepCount = info.stepCount;
    param.hostControl =
        (info.flags & (ParameterInfo::kIsBypass | ParameterInfo::kIsProgramChange)) != 0;
    String128 display{};
    param.display =
        controller->getParamStringByValue(info.id, param.normalized, display) == kResultOk
            ? Narrow(display, 128)
            : PlainText(param.plain);
    params.push_back(param);
  }
  return params;
}

bool Vst3Plugin::SetPlain(const HostParam& param, double plain, std::string* /*error*/) {
  const ParamValue normalized = controller->plainParamToNormalized(param.id, plain);
  // The controller learns the value as from an editor; the processor gets it with the block.
  controller->setParamNormalized(param.id, normalized);
  pendingChanges.Set(param.id, normalized);
  return true;
}

//---audio---

bool Vst3Plugin::CanProcess64() { return processor->canProcessSampleSize(kSample64) == kResultOk; }

int Vst3Plugin::BusChannels(BusDirection direction, int index) {
  SpeakerArrangement arrangement = 0;
  if (processor->getBusArrangement(direction, index, arrangement) == kResultOk) {
    return SpeakerArr::getChannelCount(arrangement);
  }
  BusInfo info{};
  if (component->getBusInfo(kAudio, direction, index, info) != kResultOk) return 0;
  return std::clamp(int(info.channelCount), 0, kMaxChannelsPerBus);
}

bool Vst3Plugin::ArrangeBuses(std::string* error) {
  inputBusCount = component->getBusCount(kAudio, kInput);
  outputBusCount = component->getBusCount(kAudio, kOutput);
  if (inputBusCount < 1 || outputBusCount < 1 || inputBusCount > kMaxBuses ||
      outputBusCount > kMaxBuses) {
    *error = "brask-host drives effects with a main audio input and output bus";
    return false;
  }
  // Main buses stereo; auxiliary buses keep what they have.
  std::vector<SpeakerArrangement> ins(size_t(inputBusCount), SpeakerArr::kStereo);
  std::vector<SpeakerArrangement> outs(size_t(outputBusCount), SpeakerArr::kStereo);
  for (int32 b = 1; b < inputBusCount; ++b) processor->getBusArrangement(kInput, b, ins[size_t(b)]);
  for (int32 b = 1; b < outputBusCount; ++b) {
    processor->getBusArrangement(kOutput, b, outs[size_t(b)]);
  }
  // A refusal may still leave stereo main buses (the plug-in keeps its own aux layout).
  processor->setBusArrangements(ins.data(), inputBusCount, outs.data(), outputBusCount);
  inputChannels.assign(size_t(inputBusCount), 0);
  outputChannels.assign(size_t(outputBusCount), 0);
  for (int b = 0; b < inputBusCount; ++b) inputChannels[size_t(b)] = BusChannels(kInput, b);
  for (int b = 0; b < outputBusCount; ++b) outputChannels[size_t(b)] = BusChannels(kOutput, b);
  if (inputChannels[0] != 2 || outputChannels[0] != 2) {
    *error = "the plug-in refused stereo main buses";
    return false;
  }
  return true;
}

void Vst3Plugin::ActivateBuses() {
  for (int32 b = 0; b < inputBusCount; ++b) {
    component->activateBus(kAudio, kInput, b, b == 0 || (b == 1 && settings.sideChain));
  }
  for (int32 b = 0; b < outputBusCount; ++b) component->activateBus(kAudio, kOutput, b, b == 0);
}

void Vst3Plugin::PrepareChannels() {
  // Main input from brask-host's channels 0-1, the first aux input from 2-3 when fed.
  std::vector<int> inputSources, outputSources;
  for (int b = 0; b < inputBusCount; ++b) {
    const bool fed = b == 0 || (b == 1 && settings.sideChain);
    for (int c = 0; c < inputChannels[size_t(b)]; ++c) {
      inputSources.push_back(fed && c < 2 ? 2 * b + c : ChannelMap<float>::kNone);
    }
  }
  for (int b = 0; b < outputBusCount; ++b) {
    for (int c = 0; c < outputChannels[size_t(b)]; ++c) {
      outputSources.push_back(b == 0 && c < 2 ? c : ChannelMap<float>::kNone);
    }
  }
  channels32.Prepare(inputSources, outputSources, settings.maxBlock);
  channels64.Prepare(inputSources, outputSources, settings.maxBlock);
  inputBuffers.assign(size_t(inputBusCount), AudioBusBuffers{});
  outputBuffers.assign(size_t(outputBusCount), AudioBusBuffers{});
}

bool Vst3Plugin::Prepare(const ProcessSettings& wanted, std::string* error) {
  Deactivate();
  settings = wanted;
  if (!ArrangeBuses(error)) return false;
  if (settings.sideChain && inputBusCount < 2) {
    *error = "the plug-in has no side-chain input bus";
    return false;
  }
  const int32 sampleSize = settings.use64 ? kSample64 : kSample32;
  if (processor->canProcessSampleSize(sampleSize) != kResultOk) {
    *error = settings.use64 ? "the plug-in cannot process 64-bit samples"
                            : "the plug-in cannot process 32-bit samples";
    return false;
  }
  ProcessSetup setup{settings.offline ? kOffline : kRealtime, sampleSize, int32(settings.maxBlock),
                     settings.sampleRate};
  if (processor->setupProcessing(setup) != kResultOk) {
    *error = "the plug-in refused the processing setup";
    return false;
  }
  ActivateBuses();
  PrepareChannels();
  if (component->setActive(true) != kResultOk) {
    *error = "the plug-in refused to become active";
    return false;
  }
  // Some plug-ins answer setProcessing with kNotImplemented; they process all the same.
  processor->setProcessing(true);
  active = true;
  context = ProcessContext{};
  context.state =
      ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid;
  context.sampleRate = settings.sampleRate;
  context.tempo = kTempo;
  context.timeSigNumerator = 4;
  context.timeSigDenominator = 4;
  return true;
}

void Vst3Plugin::SetBuffers(AudioBusBuffers* bus, double** channels) {
  bus->channelBuffers64 = channels;
}

void Vst3Plugin::SetBuffers(AudioBusBuffers* bus, float** channels) {
  bus->channelBuffers32 = channels;
}

template <typename Sample>
void Vst3Plugin::RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                            int frames) {
  if (!active || frames < 0 || frames > map->MaxFrames()) {
    for (int c = 0; c < 2 && frames > 0; ++c) std::fill(outputs[c], outputs[c] + frames, Sample(0));
    return;
  }
  map->Bind(inputs, outputs);
  int offset = 0;
  for (size_t b = 0; b < inputBuffers.size(); ++b) {
    inputBuffers[b].numChannels = inputChannels[b];
    SetBuffers(&inputBuffers[b], map->Inputs() + offset);
    offset += inputChannels[b];
  }
  offset = 0;
  for (size_t b = 0; b < outputBuffers.size(); ++b) {
    outputBuffers[b].numChannels = outputChannels[b];
    SetBuffers(&outputBuffers[b], map->Outputs() + offset);
    offset += outputChannels[b];
  }
  ProcessData data;
  data.processMode = settings.offline ? kOffline : kRealtime;
  data.symbolicSampleSize = settings.use64 ? kSample64 : kSample32;
  data.numSamples = frames;
  // A parameter flush passes no buses at all.
  data.numInputs = frames > 0 ? inputBusCount : 0;
  data.numOutputs = frames > 0 ? outputBusCount : 0;
  data.inputs = data.numInputs > 0 ? inputBuffers.data() : nullptr;
  data.outputs = data.numOutputs > 0 ? outputBuffers.data() : nullptr;
  data.inputParameterChanges = pendingChanges.Empty() ? nullptr : &pendingChanges;
  data.outputParameterChanges = &outputChanges;
  data.processContext = &context;
  processor->process(data);
  pendingChanges.Clear();
  outputChanges.Clear();
  context.projectTimeSamples += frames;
}

void Vst3Plugin::Process(double* const* inputs, double* const* outputs, int frames) {
  RunProcess(&channels64, inputs, outputs, frames);
}

void Vst3Plugin::Process(float* const* inputs, float* const* outputs, int frames) {
  RunProcess(&channels32, inputs, outputs, frames);
}

void Vst3Plugin::Flush() {
  static double* const kNoChannels[4] = {};
  if (active && !pendingChanges.Empty()) RunProcess(&channels64, kNoChannels, kNoChannels, 0);
}

//---state---

bool Vst3Plugin::SaveState(std::vector<uint8_t>* bytes, std::string* error) {
  Flush();
  IPtr<MemoryStream> stream = owned(new MemoryStream());
  // The whole state of a single-component plug-in may live on either side; take the
  // component's when it keeps one, else the controller's. A separate controller's own state
  // (editor settings) is no part of the sound and is not kept.
  tresult result = component->getState(stream);
  if (result != kResultOk && !separateController) {
    stream = owned(new MemoryStream());
    result = controller->getState(stream);
  }
  if (result != kResultOk) {
    *error = "the plug-in wrote no state";
    return false;
  }
  bytes->assign(stream->getData(), stream->getData() + stream->getSize());
  return true;
}

bool Vst3Plugin::LoadState(const std::vector<uint8_t>& bytes, std::string* error) {
  Flush();
  std::vector<uint8_t> copy(bytes);
  IPtr<MemoryStream> stream = owned(new MemoryStream(copy.data(), TSize(copy.size())));
  tresult result = component->setState(stream);
  if (result == kNotImplemented && !separateController) {
    stream = owned(new MemoryStream(copy.data(), TSize(copy.size())));
    result = controller->setState(stream);
  }
  if (result != kResultOk) {
    *error = "the plug-in refused the state";
    return false;
  }
  if (separateController && !TellControllerComponentState()) {
    *error = "the edit controller refused the component's state";
    return false;
  }
  return true;
}

bool Vst3Plugin::LoadPresetFile(const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes, error)) return false;
  VstPreset preset;
  if (!ReadVstPreset(bytes, &preset, error)) {
    *error = path + ": " + *error;
    return false;
  }
  const std::string classId = HexId(classInfo.cid);
  if (strcasecmp(preset.classId.c_str(), classId.c_str()) != 0) {
    *error = path + ": a preset of another plug-in (class ID " + preset.classId + "), not of " +
             Fixed(classInfo.name, PClassInfo::kNameSize) + " (" + classId + ")";
    return false;
  }
  Flush();
  // As hosts load a preset: the component state to the component and to the controller, then
  // the controller's own state. Parts a plug-in does not keep answer kNotImplemented.
  std::vector<uint8_t> componentState = preset.Find("Comp")->data;
  const auto stream = [](std::vector<uint8_t>* data) {
    return owned(new MemoryStream(data->data(), TSize(data->size())));
  };
  const auto accepted = [](tresult result) {
    return result == kResultOk || result == kNotImplemented;
  };
  if (!accepted(component->setState(stream(&componentState))) ||
      !accepted(controller->setComponentState(stream(&componentState)))) {
    *error = path + ": the plug-in refused the preset's component state";
    return false;
  }
  if (const VstPresetChunk* controllerChunk = preset.Find("Cont")) {
    std::vector<uint8_t> controllerState = controllerChunk->data;
    if (!accepted(controller->setState(stream(&controllerState)))) {
      *error = path + ": the plug-in refused the preset's controller state";
      return false;
    }
  }
  return true;
}
