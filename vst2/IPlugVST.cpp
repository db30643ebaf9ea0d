#include "IPlugVST.h"

#include "core/DecimalVersion.h"
#include "gui/IGraphics.h"

namespace {

constexpr int kInitialBlockFrames = 1024;
constexpr int kProductStringSize = 256;

// A host's decimal MMmmrr version, packed as major << 16 | minor << 8 | revision.
int PackedVersion(VstIntPtr decimal) {
  int v = int(decimal);
  return (v / 10000) << 16 | ((v % 10000) / 100) << 8 | (v % 100);
}

}  // namespace

IPlugVST::IPlugVST(HostCallback host, const IPlugIdentity& identity)
    : IPlugBase(identity, kApiVST2), mHostCallback(host) {
  mEffect.magic = kEffectMagic;
  mEffect.dispatcher = VSTDispatcher;
  mEffect.process = HostProcessAccumulate;
  mEffect.setParameter = HostSetParam;
  mEffect.getParameter = HostGetParam;
  mEffect.numPrograms = PresetCount();
  mEffect.numParams = ParamCount();
  mEffect.numInputs = InputCount();
  mEffect.numOutputs = OutputCount();
  mEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (LegalIO(1, -1)) mEffect.flags |= effFlagsCanMono;
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = UniqueId();
  mEffect.version = DecimalVersion(Version());
  mEffect.processReplacing = HostProcessFloat;
  mEffect.processDoubleReplacing = HostProcessDouble;

  InitArrangement(&mInputArrangement, InputCount());
  InitArrangement(&mOutputArrangement, OutputCount());
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  mFloatSlice.resize(size_t(InputCount()));
  SetMaxBlockFrames(kInitialBlockFrames);
}

IPlugVST::~IPlugVST() {
  mBankChunk.Clear();
  mProgramChunk.Clear();
}

IPlugVST* IPlugVST::FromEffect(AEffect* effect) {
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

void IPlugVST::InitArrangement(VstSpeakerArrangement* arrangement, int channels) {
  *arrangement = VstSpeakerArrangement{};
  arrangement->numChannels = channels;
  switch (channels) {
    case 0:
      arrangement->type = kSpeakerArrEmpty;
      break;
    case 1:
      arrangement->type = kSpeakerArrMono;
      break;
    case 2:
      arrangement->type = kSpeakerArrStereo;
      break;
    default:
      arrangement->type = kSpeakerArrUserDefined;
      break;
  }
}

// ---host requests---

VstIntPtr IPlugVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
  if (!mHostCallback) return 0;
  return mHostCallback(&mEffect, opcode, index, value, ptr, opt);
}

void IPlugVST::BeginParamGesture(int paramIdx) { CallHost(audioMasterBeginEdit, paramIdx); }

void IPlugVST::InformHostParamValue(int paramIdx, double normalized) {
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, float(normalized));
}

void IPlugVST::EndParamGesture(int paramIdx) { CallHost(audioMasterEndEdit, paramIdx); }

void IPlugVST::NotifyHostPresetChange() { CallHost(audioMasterUpdateDisplay); }

bool IPlugVST::IsOfflineRender() {
  return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

const VstTimeInfo* IPlugVST::QueryTime(VstInt32 wanted) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, wanted));
}

int IPlugVST::HostSamplePos() {
  const VstTimeInfo* time = QueryTime(0);
  if (!time || !(time->samplePos >= 0.0)) return 0;
  return int(time->samplePos + 0.5);
}

double IPlugVST::HostTempo() {
  const VstTimeInfo* time = QueryTime(kVstTempoValid);
  if (!time || !(time->flags & kVstTempoValid) || !(time->tempo >= 0.0)) return 0.0;
  return time->tempo;
}

void IPlugVST::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
  const VstTimeInfo* time = QueryTime(kVstTimeSigValid);
  if (!time || !(time->flags & kVstTimeSigValid)) return;
  if (time->timeSigNumerator < 0 || time->timeSigDenominator < 0) return;
  if (numerator) *numerator = time->timeSigNumerator;
  if (denominator) *denominator = time->timeSigDenominator;
}

void IPlugVST::HostTime(HostTimeInfo* info) {
  constexpr VstInt32 kWanted =
      kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  if (!info) return;
  const VstTimeInfo* time = QueryTime(kWanted);
  if (!time || !(time->flags & kWanted)) return;
  info->samplePos = time->samplePos;
  if ((time->flags & kVstPpqPosValid) && time->ppqPos >= 0.0) info->ppqPos = time->ppqPos;
  if ((time->flags & kVstTempoValid) && time->tempo > 0.0) info->tempo = time->tempo;
  if ((time->flags & kVstBarsValid) && time->barStartPos >= 0.0) {
    info->lastBarPos = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
    info->cycleStart = time->cycleStartPos;
    info->cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) && time->timeSigNumerator > 0 &&
      time->timeSigDenominator > 0) {
    info->numerator = time->timeSigNumerator;
    info->denominator = time->timeSigDenominator;
  }
  info->transportPlaying = (time->flags & kVstTransportPlaying) != 0;
  info->cycleActive = (time->flags & kVstTransportCycleActive) != 0;
}

// Asks the host once; later calls answer what was stored.
int IPlugVST::GetHostKind() {
  if (IPlugBase::GetHostKind() != HostKindUnidentified) return IPlugBase::GetHostKind();
  char product[kProductStringSize] = {};
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[kProductStringSize - 1] = '\0';
  int version = product[0] ? PackedVersion(CallHost(audioMasterGetVendorVersion)) : 0;
  SetHostIdentity(LookUpHostKind(product), version);
  return IPlugBase::GetHostKind();
}

// The editor's window has already taken its new size (width x height window pixels); the
// host is not asked to follow.
void IPlugVST::ResizeEditor(int width, int height) {
  if (!Editor()) return;
  SetEditorRect(width, height);
  OnEditorResized();
}

void IPlugVST::HostSpecificSetup() {
  if (mHostSetupDone) return;
  mHostSetupDone = true;
  int kind = GetHostKind();
  if (kind == Forte || kind == Audition || kind == Orion || kind == Sawstudio) {
    ConnectInputs(2, InputCount() - 2, false);
    // The side-chain scratch may still hold converted audio from an earlier block.
    ClearScratch();
  }
  mEffect.numInputs = mInputArrangement.numChannels = InputCount();
  mEffect.numOutputs = mOutputArrangement.numChannels = OutputCount();
  OnHostKnown();
}

void IPlugVST::AttachEditor(IGraphics* editor) {
  if (!editor) return;
  IPlugBase::AttachEditor(editor);
  mEffect.flags |= effFlagsHasEditor;
  SetEditorRect(editor->WindowWidth(), editor->WindowHeight());
}

void IPlugVST::SetEditorRect(int width, int height) {
  mEditorRect.top = 0;
  mEditorRect.left = 0;
  mEditorRect.bottom = VstInt16(height);
  mEditorRect.right = VstInt16(width);
}

void IPlugVST::SetLatencySamples(int samples) {
  IPlugBase::SetLatencySamples(samples);
  mEffect.initialDelay = samples;
}

bool IPlugVST::SendMidiToHost(const MidiMessage* message) {
  if (!message) return false;
  VstMidiEvent event = {};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message->offset;
  event.midiData[0] = char(message->status);
  event.midiData[1] = char(message->data1);
  event.midiData[2] = char(message->data2);
  VstEvents events = {};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendSysExToHost(const SysExMessage* message) {
  if (!message) return false;
  VstMidiSysexEvent event = {};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message->offset;
  event.dumpBytes = message->size;
  event.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(message->data));
  VstEvents events = {};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}
