#include "Vst2Plugin.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "vst2/VstRecords.h"

namespace {

// effVendorSpecific request that formats a given normalized value: index is the display
// opcode, value the parameter, opt the normalized value; answered with 0xbeef.
constexpr VstIntPtr kVendorSpecificAnswer = 0xbeef;
constexpr VstIntPtr kProcessLevelRealtime = 2;
constexpr int kTextCapacity = 256;  // texts are copied whole, past the published limits
constexpr VstInt32 kProgramChunk = 1;

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
  effect = entry(&Vst2Plugin::HostCallback);
  if (!effect || effect->magic != kEffectMagic) {
    *error = "the VST 2 entry point of " + path + " returned no effect";
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

Vst2Plugin::~Vst2Plugin() {
  if (!effect) return;
  if (resumed) Dispatch(effMainsChanged, 0, 0);
  Dispatch(effClose);
}

VstIntPtr Vst2Plugin::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 /*index*/,
                                   VstIntPtr /*value*/, void* ptr, float /*opt*/) {
  const auto* self = effect ? static_cast<const Vst2Plugin*>(effect->user) : nullptr;
  switch (opcode) {
    case audioMasterGetProductString:
      if (ptr) std::strcpy(static_cast<char*>(ptr), "brask-host");
      return ptr ? 1 : 0;
    case audioMasterGetVendorVersion:
      return 1;
    case audioMasterGetCurrentProcessLevel:
      return self && self->settings.offline ? kVstProcessLevelOffline : kProcessLevelRealtime;
    default:
      // No transport (audioMasterGetTime answers no record), no automation recording.
      return 0;
  }
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
    param.defaultPlain = defaultPlain[size_t(i)];
    // Two-state parameters answer the vendor-specific "is not continuous" request.
    if (Dispatch(effVendorSpecific, effGetParamName, i) == kVendorSpecificAnswer) {
      param.stepCount = int(std::lround(param.maxPlain - param.minPlain));
    }
    params.push_back(param);
  }
  return params;
}

bool Vst2Plugin::SetPlain(const HostParam& param, double plain, std::string* error) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.17g", plain);
  if (Dispatch(effString2Parameter, VstInt32(param.id), 0, text) != 1) {
    *error = "the plug-in refused the text " + std::string(text) + " for " + param.name;
    return false;
  }
  return true;
}

//---audio---

bool Vst2Plugin::Prepare(const ProcessSettings& wanted, std::string* error) {
  if (effect->numInputs > 4 || effect->numOutputs != 2) {
    *error = "brask-host drives effects with at most 4 inputs and exactly 2 outputs";
    return false;
  }
  if (wanted.sideChain && effect->numInputs < 4) {
    *error = "the plug-in has no side-chain inputs 3-4";
    return false;
  }
  if (wanted.use64 && !(effect->flags & effFlagsCanDoubleReplacing)) {
    *error = "the plug-in cannot process 64-bit samples";
    return false;
  }
  if (resumed) Dispatch(effMainsChanged, 0, 0);
  settings = wanted;
  Dispatch(effSetSampleRate, 0, 0, nullptr, float(settings.sampleRate));
  Dispatch(effSetBlockSize, 0, settings.maxBlock);
  Dispatch(effMainsChanged, 0, 1);
  resumed = true;
  return true;
}

void Vst2Plugin::Process(double* const* inputs, double* const* outputs, int frames) {
  effect->processDoubleReplacing(effect, const_cast<double**>(inputs),
                                 const_cast<double**>(outputs), frames);
}

void Vst2Plugin::Process(float* const* inputs, float* const* outputs, int frames) {
  effect->processReplacing(effect, const_cast<float**>(inputs), const_cast<float**>(outputs),
                           frames);
}

//---state---

bool Vst2Plugin::SaveState(std::vector<uint8_t>* bytes, std::string* error) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, kProgramChunk, 0, &data);
  if (size <= 0 || !data) {
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
