#include "Vst2Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "FileBytes.h"
#include "FxpFile.h"
#include "vst2/VstRecords.h"

namespace {

// effVendorSpecific request that formats a given normalized value: index is the display
// opcode, value the parameter, opt the normalized value; answered with 0xbeef.
constexpr VstIntPtr kVendorSpecificAnswer = 0xbeef;
constexpr int kTextCapacity = 256;  // texts are copied whole, past the published limits
constexpr VstInt32 kProgramChunk = 1;
// Effect records announcing more than this are taken as garbage rather than allocated for.
constexpr VstInt32 kMaxChannels = 256;
constexpr VstInt32 kMaxParams = 1 << 16;
constexpr VstIntPtr kMaxChunkBytes = VstIntPtr(1) << 30;
// Halving the normalized interval this often passes any display's resolution.
constexpr int kSearchSteps = 40;

// The instance whose entry point is running: its host callbacks arrive before the effect
// record (and so its user field) exists.
thread_local Vst2HostContext* tOpeningContext = nullptr;

double LeadingNumber(const std::string& text, double fallback) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end == text.c_str() ? fallback : value;
}

std::string VersionText(VstIntPtr version) {
  char text[32];
  std::snprintf(text, sizeof(text), "%d.%d.%d", int(version / 10000), int(version / 100 % 100),
                int(version % 100));
  return text;
}

std::string FourCharacters(VstInt32 code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += char((uint32_t(code) >> shift) & 0xFF);
  return text;
}

std::string FileStem(const std::string& path) {
  std::string stem = path.substr(path.find_last_of('/') + 1);
  return stem.substr(0, stem.find_last_of('.'));
}

void CallProcess(AEffect* effect, float** inputs, float** outputs, int frames) {
  effect->processReplacing(effect, inputs, outputs, frames);
}

void CallProcess(AEffect* effect, double** inputs, double** outputs, int frames) {
  effect->processDoubleReplacing(effect, inputs, outputs, frames);
}

// Brask-host channel for each plug-in channel: main pair, then the side-chain pair if fed.
std::vector<int> Sources(VstInt32 count, int fed) {
  std::vector<int> sources(size_t(count), ChannelMap<float>::kNone);
  for (int c = 0; c < count && c < fed; ++c) sources[size_t(c)] = c;
  return sources;
}

}  // namespace

std::unique_ptr<HostedPlugin> Vst2Plugin::Load(const std::string& path, std::string* error) {
  std::unique_ptr<Vst2Plugin> plugin(new Vst2Plugin());
  if (!plugin->Open(path, error)) return nullptr;
  return plugin;
}

bool Vst2Plugin::Open(const std::string& path, std::string* error) {
  if (!library.Open(path, error)) return false;
  auto entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("main"));
  if (!entry) {
    *error = path + " exports neither VSTPluginMain nor main: not a VST 2 module";
    return false;
  }
  tOpeningContext = &context;
  effect = entry(&Vst2Plugin::HostCallback);
  tOpeningContext = nullptr;
  if (!CheckRecord(path, error)) {
    effect = nullptr;
    return false;
  }
  effect->user = this;
  Dispatch(effOpen);
  for (VstInt32 i = 0; i < effect->numParams; ++i) {
    defaultPlain.push_back(
        LeadingNumber(Text(effGetParamDisplay, i), effect->getParameter(effect, i)));
  }
  return true;
}

bool Vst2Plugin::CheckRecord(const std::string& path, std::string* error) const {
  if (!effect || effect->magic != kEffectMagic || !effect->dispatcher) {
    *error = "the VST 2 entry point of " + path + " returned no effect";
    return false;
  }
  const bool countsSane = effect->numParams >= 0 && effect->numParams <= kMaxParams &&
                          effect->numPrograms >= 0 && effect->numInputs >= 0 &&
                          effect->numInputs <= kMaxChannels && effect->numOutputs >= 0 &&
                          effect->numOutputs <= kMaxChannels;
  if (!countsSane || (effect->numParams > 0 && (!effect->getParameter || !effect->setParameter))) {
    *error = "the effect record of " + path + " is inconsistent (counts or functions)";
    return false;
  }
  return true;
}

Vst2Plugin::~Vst2Plugin() {
  if (!effect) return;
  Suspend();
  Dispatch(effClose);
}

void Vst2Plugin::Suspend() {
  if (!resumed) return;
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
  resumed = false;
}

VstIntPtr Vst2Plugin::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
  Vst2HostContext* context = tOpeningContext;
  if (!context && effect && effect->user)
    context = &static_cast<Vst2Plugin*>(effect->user)->context;
  // A stray call from a thread of a plug-in whose instance is unknown still learns who we are.
  static Vst2HostContext anonymous;
  return (context ? context : &anonymous)->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr Vst2Plugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Vst2Plugin::Text(VstInt32 opcode, VstInt32 index) {
  char text[kTextCapacity] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextCapacity - 1] = '\0';
  return text;
}

std::string Vst2Plugin::DisplayAt(VstInt32 index, float normalized) {
  char text[kTextCapacity] = {};
  if (Dispatch(effVendorSpecific, effGetParamDisplay, index, text, normalized) !=
      kVendorSpecificAnswer) {
    return std::string();
  }
  text[kTextCapacity - 1] = '\0';
  return text;
}

//---identity and parameters---

std::vector<HostBus> Vst2Plugin::Pins(VstInt32 opcode, int count, bool input) {
  std::vector<HostBus> buses;
  for (int i = 0; i < count; ++i) {
    VstPinProperties pin{};
    if (Dispatch(opcode, i, 0, &pin) != 1) continue;
    pin.label[kVstMaxLabelLen - 1] = '\0';
    const bool pairStart = (pin.flags & kVstPinIsStereo) != 0 && i + 1 < count;
    buses.push_back(HostBus{pin.label, input, buses.empty(), pairStart ? 2 : 1, true});
    if (pairStart) ++i;
  }
  return buses;
}

HostIdentity Vst2Plugin::Identity() {
  HostIdentity identity;
  identity.format = "VST 2";
  identity.name = Text(effGetEffectName);
  if (identity.name.empty()) identity.name = Text(effGetProductString);
  if (identity.name.empty()) identity.name = FileStem(library.Path());
  identity.vendor = Text(effGetVendorString);
  identity.version = VersionText(Dispatch(effGetVendorVersion));
  identity.category = Dispatch(effGetPlugCategory) == kPlugCategEffect ? "Effect" : "Other";
  identity.uniqueId = FourCharacters(effect->uniqueID);
  identity.buses = Pins(effGetInputProperties, effect->numInputs, true);
  for (const HostBus& bus : Pins(effGetOutputProperties, effect->numOutputs, false)) {
    identity.buses.push_back(bus);
  }
  for (VstInt32 p = 0; p < effect->numPrograms; ++p) {
    identity.programs.push_back(Text(effGetProgramNameIndexed, p));
  }
  return identity;
}

std::vector<HostParam> Vst2Plugin::Params() {
  std::vector<HostParam> params;
  const double unknown = std::numeric_limits<double>::quiet_NaN();
  for (VstInt32 i = 0; i < effect->numParams; ++i) {
    HostParam param;
    param.id = uint32_t(i);
    param.name = Text(effGetParamName, i);
    param.unit = Text(effGetParamLabel, i);
    param.display = Text(effGetParamDisplay, i);
    param.normalized = effect->getParameter(effect, i);
    param.plain = LeadingNumber(param.display, param.normalized);
    param.minPlain = LeadingNumber(DisplayAt(i, 0.0f), unknown);
    param.maxPlain = LeadingNumber(DisplayAt(i, 1.0f), unknown);
    // Parameters announced after opening have no recorded default.
    param.defaultPlain = size_t(i) < defaultPlain.size() ? defaultPlain[size_t(i)] : param.plain;
    // Two-state parameters answer the vendor-specific "is not continuous" request.
    if (Dispatch(effVendorSpecific, effGetParamName, i) == kVendorSpecificAnswer) {
      param.stepCount = int(std::lround(param.maxPlain - param.minPlain));
    }
    params.push_back(param);
  }
  return params;
}

bool Vst2Plugin::SetPlain(const HostParam& param, double plain, std::string* error) {
  if (param.id >= uint32_t(effect->numParams)) {
    *error = "the plug-in has no parameter " + std::to_string(param.id);
    return false;
  }
  char text[64];
  std::snprintf(text, sizeof(text), "%.17g", plain);
  if (Dispatch(effString2Parameter, VstInt32(param.id), 0, text) == 1) return true;
  return SetByDisplay(param, plain, error);
}

double Vst2Plugin::ShownNumber(VstInt32 index, float normalized) {
  effect->setParameter(effect, index, normalized);
  return LeadingNumber(Text(effGetParamDisplay, index), std::numeric_limits<double>::quiet_NaN());
}

float Vst2Plugin::DisplayEdge(VstInt32 index, double target, bool rising, bool reaching) {
  // The display is taken to move one way across the range, as every parameter knob's does.
  float low = 0.0f, high = 1.0f;
  for (int step = 0; step < kSearchSteps; ++step) {
    const float middle = 0.5f * (low + high);
    const double shown = ShownNumber(index, middle);
    const bool past = rising ? (reaching ? shown >= target : shown > target)
                             : (reaching ? shown <= target : shown < target);
    (past ? high : low) = middle;
  }
  return reaching ? high : low;
}

bool Vst2Plugin::SetByDisplay(const HostParam& param, double plain, std::string* error) {
  const auto index = VstInt32(param.id);
  const float before = effect->getParameter(effect, index);
  const double atLow = ShownNumber(index, 0.0f), atHigh = ShownNumber(index, 1.0f);
  if (std::isnan(atLow) || std::isnan(atHigh) || plain < std::fmin(atLow, atHigh) ||
      plain > std::fmax(atLow, atHigh)) {
    effect->setParameter(effect, index, before);
    char detail[160];
    std::snprintf(detail, sizeof(detail), " and shows no value %g (it shows %g to %g)", plain,
                  atLow, atHigh);
    *error = "the plug-in refused the text for " + param.name + detail;
    return false;
  }
  const bool rising = atHigh >= atLow;
  // The stretch of normalized values around plain: where the display reaches it, and where
  // it last shows no more than it.
  const float first = DisplayEdge(index, plain, rising, true);
  const float last = DisplayEdge(index, plain, rising, false);
  const double shownFirst = ShownNumber(index, first), shownLast = ShownNumber(index, last);
  float chosen = 0.5f * (first + last);  // one display text shows plain: its middle
  if (shownFirst != shownLast) {
    chosen = std::fabs(shownFirst - plain) <= std::fabs(shownLast - plain) ? first : last;
  }
  effect->setParameter(effect, index, chosen);
  return true;
}

//---audio---

bool Vst2Plugin::CanProcess64() {
  return (effect->flags & effFlagsCanDoubleReplacing) != 0 && effect->processDoubleReplacing;
}

bool Vst2Plugin::Prepare(const ProcessSettings& wanted, std::string* error) {
  if (effect->numInputs < 2 || effect->numOutputs < 2) {
    *error = "brask-host drives stereo effects: at least 2 inputs and 2 outputs";
    return false;
  }
  if (wanted.sideChain && effect->numInputs < 4) {
    *error = "the plug-in has no side-chain inputs 3-4";
    return false;
  }
  if (wanted.use64 && !CanProcess64()) {
    *error = "the plug-in cannot process 64-bit samples";
    return false;
  }
  if (!wanted.use64 && !effect->processReplacing) {
    *error = "the plug-in cannot process 32-bit samples in place of its outputs";
    return false;
  }
  Suspend();
  settings = wanted;
  context.Configure(settings);
  preparedInputs = effect->numInputs;
  preparedOutputs = effect->numOutputs;
  const int fedInputs = settings.sideChain ? 4 : 2;
  channels32.Prepare(Sources(preparedInputs, fedInputs), Sources(preparedOutputs, 2),
                     settings.maxBlock);
  channels64.Prepare(Sources(preparedInputs, fedInputs), Sources(preparedOutputs, 2),
                     settings.maxBlock);
  Dispatch(effSetSampleRate, 0, 0, nullptr, float(settings.sampleRate));
  Dispatch(effSetBlockSize, 0, settings.maxBlock);
  Dispatch(effSetProcessPrecision, 0,
           settings.use64 ? kVstProcessPrecision64 : kVstProcessPrecision32);
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  resumed = true;
  return true;
}

bool Vst2Plugin::ChannelsAsPrepared() const {
  return effect->numInputs == preparedInputs && effect->numOutputs == preparedOutputs;
}

template <typename Sample>
void Vst2Plugin::RunProcess(ChannelMap<Sample>* map, Sample* const* inputs, Sample* const* outputs,
                            int frames) {
  // Channels announced since Prepare have no buffers: the block stays silent.
  if (!resumed || frames < 0 || frames > map->MaxFrames() || !ChannelsAsPrepared()) {
    for (int c = 0; c < 2; ++c) std::fill(outputs[c], outputs[c] + std::max(frames, 0), Sample(0));
    return;
  }
  map->Bind(inputs, outputs);
  context.BeginProcess();
  CallProcess(effect, map->Inputs(), map->Outputs(), frames);
  context.EndProcess(frames);
}

void Vst2Plugin::Process(double* const* inputs, double* const* outputs, int frames) {
  RunProcess(&channels64, inputs, outputs, frames);
}

void Vst2Plugin::Process(float* const* inputs, float* const* outputs, int frames) {
  RunProcess(&channels32, inputs, outputs, frames);
}

//---state---

bool Vst2Plugin::SaveState(std::vector<uint8_t>* bytes, std::string* error) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, kProgramChunk, 0, &data);
  if (size <= 0 || size > kMaxChunkBytes || !data) {
    *error = "the plug-in wrote no program chunk";
    return false;
  }
  const auto* first = static_cast<const uint8_t*>(data);
  bytes->assign(first, first + size);
  return true;
}

bool Vst2Plugin::LoadState(const std::vector<uint8_t>& bytes, std::string* error) {
  std::vector<uint8_t> copy(bytes);
  if (Dispatch(effSetChunk, kProgramChunk, VstIntPtr(copy.size()), copy.data()) != 1) {
    *error = "the plug-in refused the program chunk";
    return false;
  }
  return true;
}

bool Vst2Plugin::LoadPresetFile(const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes, error)) return false;
  FxpProgram program;
  if (!ReadFxp(bytes, &program, error)) {
    *error = path + ": " + *error;
    return false;
  }
  const std::string name = Identity().name;
  if (program.fxId != effect->uniqueID) {
    *error = path + ": a preset of another plug-in (unique ID " + FourCharacters(program.fxId) +
             "), not of " + name + " (" + FourCharacters(effect->uniqueID) + ")";
    return false;
  }
  if (program.fxVersion > effect->version) {
    *error = path + ": made by " + name + " " + VersionText(program.fxVersion) +
             ", newer than this module's " + VersionText(effect->version);
    return false;
  }
  if (Dispatch(effSetChunk, kProgramChunk, VstIntPtr(program.chunk.size()), program.chunk.data()) !=
      1) {
    *error = path + ": the plug-in refused the preset's chunk";
    return false;
  }
  return true;
}
