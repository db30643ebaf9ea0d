// Probe Gain (VST 2): a stereo gain whose only purpose is to see what its host does. It asks
// the host callback everything a VST 2 plug-in usually asks (at creation, on open, when
// resumed and in its first process calls) and logs the answers through ProbeLog. It declines
// effString2Parameter, so a host has to find values through the display.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "ProbeLog.h"
#include "vst2/AEffect.h"
#include "vst2/VstRecords.h"

namespace {

constexpr double kMinGainDb = -24.0;
constexpr double kMaxGainDb = 24.0;
constexpr int kLoggedProcessCalls = 2;

struct Probe {
  AEffect effect{};
  audioMasterCallback host = nullptr;
  float gainNormalized = 0.5f;  ///< 0 dB
  int processCalls = 0;

  VstIntPtr Ask(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    return host(&effect, opcode, index, value, ptr, 0.0f);
  }
  double GainDb() const { return kMinGainDb + gainNormalized * (kMaxGainDb - kMinGainDb); }
};

Probe* Of(AEffect* effect) { return static_cast<Probe*>(effect->object); }

std::string Number(VstIntPtr value) { return std::to_string(static_cast<long long>(value)); }

std::string AskText(Probe* probe, VstInt32 opcode) {
  char text[256];
  std::memset(text, 'x', sizeof(text));
  text[0] = '\0';
  probe->Ask(opcode, 0, 0, text);
  text[sizeof(text) - 1] = '\0';
  return text;
}

void LogOpen(Probe* probe) {
  ProbeLog("open vendor=" + AskText(probe, audioMasterGetVendorString) +
           " product=" + AskText(probe, audioMasterGetProductString) +
           " vendorVersion=" + Number(probe->Ask(audioMasterGetVendorVersion)));
  std::string answers;
  for (const char* capability : {"sendVstTimeInfo", "sizeWindow", "receiveVstEvents",
                                 "acceptIOChanges", "noSuchCapability"}) {
    char text[64];
    std::snprintf(text, sizeof(text), "%s", capability);
    answers +=
        std::string(" ") + capability + "=" + Number(probe->Ask(audioMasterCanDo, 0, 0, text));
  }
  ProbeLog("canDo" + answers);
  ProbeLog("edits begin=" + Number(probe->Ask(audioMasterBeginEdit)) +
           " end=" + Number(probe->Ask(audioMasterEndEdit)) +
           " level=" + Number(probe->Ask(audioMasterGetCurrentProcessLevel)));
}

void LogProcess(Probe* probe, int precision) {
  if (probe->processCalls++ >= kLoggedProcessCalls) return;
  const auto* time = reinterpret_cast<const VstTimeInfo*>(
      probe->Ask(audioMasterGetTime, 0, kVstTempoValid | kVstTimeSigValid));
  std::string line = "process" + std::to_string(precision) +
                     " level=" + Number(probe->Ask(audioMasterGetCurrentProcessLevel));
  if (time) {
    char text[160];
    std::snprintf(text, sizeof(text), " samplePos=%.0f rate=%.0f tempo=%.0f signature=%d/%d",
                  time->samplePos, time->sampleRate, time->tempo, int(time->timeSigNumerator),
                  int(time->timeSigDenominator));
    line += text;
  } else {
    line += " time=none";
  }
  ProbeLog(line);
}

void CopyName(void* ptr, const char* text) {
  if (ptr) std::snprintf(static_cast<char*>(ptr), kVstMaxEffectNameLen, "%s", text);
}

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  Probe* probe = Of(effect);
  switch (opcode) {
    case effOpen:
      LogOpen(probe);
      return 0;
    case effClose:
      ProbeLog("close");
      delete probe;
      return 0;
    case effMainsChanged:
      ProbeLog("mains " + Number(value) + " rate=" + Number(probe->Ask(audioMasterGetSampleRate)) +
               " block=" + Number(probe->Ask(audioMasterGetBlockSize)));
      return 0;
    case effSetProcessPrecision:
      ProbeLog("precision " + std::string(value == kVstProcessPrecision64 ? "64" : "32"));
      return 1;
    case effStartProcess:
      ProbeLog("start");
      return 0;
    case effStopProcess:
      ProbeLog("stop");
      return 0;
    case effGetParamName:
      CopyName(ptr, "Gain");
      return 0;
    case effGetParamLabel:
      CopyName(ptr, "dB");
      return 0;
    case effGetParamDisplay:
      if (ptr) std::snprintf(static_cast<char*>(ptr), 9, "%.2f", probe->GainDb());
      return 0;
    case effGetEffectName:
      CopyName(ptr, "Probe Gain");
      return 1;
    case effGetVendorString:
      CopyName(ptr, "Wyrdworks Tests");
      return 1;
    case effGetVendorVersion:
      return 10203;
    case effGetPlugCategory:
      return kPlugCategEffect;
    default:
      // Among the declined: effString2Parameter, effVendorSpecific, chunks.
      (void)index;
      (void)opt;
      return 0;
  }
}

template <typename Sample>
void Process(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 frames, int precision) {
  Probe* probe = Of(effect);
  LogProcess(probe, precision);
  const Sample gain = Sample(std::pow(10.0, probe->GainDb() / 20.0));
  for (int c = 0; c < 2; ++c) {
    for (VstInt32 i = 0; i < frames; ++i) outputs[c][i] = inputs[c][i] * gain;
  }
}

void Process32(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Process(effect, inputs, outputs, frames, 32);
}

void Process64(AEffect* effect, double** inputs, double** outputs, VstInt32 frames) {
  Process(effect, inputs, outputs, frames, 64);
}

void SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (index == 0) Of(effect)->gainNormalized = std::fmin(std::fmax(value, 0.0f), 1.0f);
}

float GetParameter(AEffect* effect, VstInt32 index) {
  return index == 0 ? Of(effect)->gainNormalized : 0.0f;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (!host) return nullptr;
  auto* probe = new Probe();
  probe->host = host;
  AEffect& effect = probe->effect;
  // Asked before the record is complete, as many plug-ins do in their constructor.
  ProbeLog("entry version=" + Number(probe->Ask(audioMasterVersion)));
  effect.magic = kEffectMagic;
  effect.dispatcher = Dispatch;
  effect.setParameter = SetParameter;
  effect.getParameter = GetParameter;
  effect.numPrograms = 0;
  effect.numParams = 1;
  effect.numInputs = 2;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  effect.ioRatio = 1.0f;
  effect.object = probe;
  effect.uniqueID = 0x50726247;  // "PrbG"
  effect.version = 10203;
  effect.processReplacing = Process32;
  effect.processDoubleReplacing = Process64;
  return &effect;
}
