#include "Vst2HostContext.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

constexpr char kHostVendor[] = "Wyrdworks";
constexpr char kHostProduct[] = "brask-host";
constexpr VstIntPtr kLanguageEnglish = 1;
constexpr VstIntPtr kAutomationOff = 1;
constexpr double kTempo = 120.0;
constexpr int kBeatsPerBar = 4;
// canDo answers: 1 yes, -1 no, 0 not known.
constexpr VstIntPtr kCanDo = 1;
constexpr VstIntPtr kCannotDo = -1;
// Bounds the capability text a plug-in passes; none of the published ones comes close.
constexpr size_t kCapabilityCapacity = 64;

const char* const kCapabilities[] = {"sendVstTimeInfo", "acceptIOChanges", "startStopProcess"};
// Published host capabilities brask-host lacks: no editor window, no events, no shells.
const char* const kLackedCapabilities[] = {"sendVstEvents",
                                           "sendVstMidiEvent",
                                           "receiveVstEvents",
                                           "receiveVstMidiEvent",
                                           "sizeWindow",
                                           "offline",
                                           "openFileSelector",
                                           "closeFileSelector",
                                           "editFile",
                                           "shellCategory",
                                           "supplyIdle",
                                           "reportConnectionChanges",
                                           "sendVstMidiEventFlagIsRealtime"};

// Copies text into a plug-in's buffer of capacity bytes, terminated.
VstIntPtr CopyText(const char* text, void* ptr, size_t capacity) {
  if (!ptr) return 0;
  auto* out = static_cast<char*>(ptr);
  std::strncpy(out, text, capacity - 1);
  out[capacity - 1] = '\0';
  return 1;
}

bool Listed(const char* capability, const char* const* list, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (std::strncmp(capability, list[i], kCapabilityCapacity) == 0) return true;
  }
  return false;
}

VstIntPtr CanDo(const void* ptr) {
  if (!ptr) return 0;
  const auto* capability = static_cast<const char*>(ptr);
  if (Listed(capability, kCapabilities, std::size(kCapabilities))) return kCanDo;
  if (Listed(capability, kLackedCapabilities, std::size(kLackedCapabilities))) return kCannotDo;
  return 0;
}

}  // namespace

Vst2HostContext::Vst2HostContext() {
  // Until the host sets up processing, requests come from its user-interface thread.
  ProcessSettings idle;
  idle.offline = false;
  Configure(idle);
}

void Vst2HostContext::Configure(const ProcessSettings& wanted) {
  settings = wanted;
  time = VstTimeInfo{};
  time.sampleRate = settings.sampleRate;
  time.tempo = kTempo;
  time.timeSigNumerator = kBeatsPerBar;
  time.timeSigDenominator = 4;
  time.flags =
      kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
}

void Vst2HostContext::EndProcess(int frames) {
  processing = false;
  time.samplePos += frames;
}

VstIntPtr Vst2HostContext::ProcessLevel() const {
  if (settings.offline) return kVstProcessLevelOffline;
  return processing ? kVstProcessLevelRealtime : kVstProcessLevelUser;
}

VstIntPtr Vst2HostContext::Time() {
  // Every field is filled whatever the plug-in asks for; the flags say which are meaningful.
  const double seconds = time.samplePos / settings.sampleRate;
  time.nanoSeconds = seconds * 1e9;
  time.ppqPos = seconds * kTempo / 60.0;
  time.barStartPos = std::floor(time.ppqPos / kBeatsPerBar) * kBeatsPerBar;
  return reinterpret_cast<VstIntPtr>(&time);
}

VstIntPtr Vst2HostContext::Answer(VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                                  void* ptr, float /*opt*/) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetVendorString:
      return CopyText(kHostVendor, ptr, kVstMaxVendorStrLen);
    case audioMasterGetProductString:
      return CopyText(kHostProduct, ptr, kVstMaxProductStrLen);
    case audioMasterGetVendorVersion:
      return BRASK_HOST_VENDOR_VERSION;
    case audioMasterCanDo:
      return CanDo(ptr);
    case audioMasterGetLanguage:
      return kLanguageEnglish;
    case audioMasterGetSampleRate:
      return VstIntPtr(settings.sampleRate);
    case audioMasterGetBlockSize:
      return settings.maxBlock;
    case audioMasterGetCurrentProcessLevel:
      return ProcessLevel();
    case audioMasterGetAutomationState:
      return kAutomationOff;
    case audioMasterGetTime:
      return Time();
    case audioMasterIOChanged:
      // Accepted: channel counts are read afresh by every Prepare and checked every block.
      return 1;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
    case audioMasterUpdateDisplay:
      // Accepted: brask-host keeps no automation lanes and reads values afresh when asked.
      return 1;
    default:
      // No editor window to resize (audioMasterSizeWindow), no events taken, no latency
      // compensation, no shell plug-ins, no plug-in directory.
      return 0;
  }
}
