// IPlugVST: the dispatcher, which answers every host request other than audio and parameter
// values. Each request runs under the instance lock; unknown opcodes answer 0 and do nothing.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "ChunkHeader.h"
#include "IPlugVST.h"
#include "VstTextBounds.h"
#include "gui/IGraphics.h"
#if defined(BRASK_X11)
#include "gui/x11/IGraphicsX11.h"
#endif

namespace {

constexpr VstIntPtr kIdentifyAnswer = 0x4e764566;  // "NvEf"
constexpr VstIntPtr kVendorSpecificYes = 0xbeef;
constexpr VstIntPtr kCockosCanDoYes = 0xbeef0000;
constexpr int kFormatBufferSize = 512;  // wider than any double "%.6f" can print

}  // namespace

VstIntPtr IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0;
  try {
    if (opcode == effClose) {
      // Waits for any call still inside the instance before it goes away.
      { std::lock_guard<std::recursive_mutex> lock(plug->Mutex()); }
      delete plug;
      return 0;
    }
    std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
    return plug->Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
  switch (opcode) {
    case effOpen:
    case effSetSampleRate:
    case effSetBlockSize:
    case effMainsChanged:
    case effSetSpeakerArrangement:
    case effGetSpeakerArrangement:
    case effGetInputProperties:
    case effGetOutputProperties:
      return DispatchSetup(opcode, index, value, ptr, opt);
    case effSetProgram:
    case effGetProgram:
    case effSetProgramName:
    case effGetProgramName:
    case effGetProgramNameIndexed:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effCanBeAutomated:
    case effString2Parameter:
    case effGetChunk:
    case effSetChunk:
      return DispatchParamsAndPrograms(opcode, index, value, ptr, opt);
    case effEditGetRect:
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
      return DispatchEditor(opcode, ptr);
    default:
      return DispatchQueries(opcode, index, value, ptr, opt);
  }
}

// ---set-up: open, rate, block size, activation, channels---

VstIntPtr IPlugVST::DispatchSetup(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  switch (opcode) {
    case effOpen:
      Open();
      return 0;
    case effSetSampleRate:
      SetSampleRate(double(opt));
      OnReset();
      return 0;
    case effSetBlockSize:
      SetBlockSize(value);
      return 0;
    case effMainsChanged:
      OnActiveChanged(value != 0);
      if (value == 0) OnReset();
      return 0;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                   static_cast<const VstSpeakerArrangement*>(ptr));
    case effGetSpeakerArrangement:
      if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
      if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
      return 1;
    case effGetInputProperties:
      return GetPinProperties(index, static_cast<VstPinProperties*>(ptr), true);
    case effGetOutputProperties:
      return GetPinProperties(index, static_cast<VstPinProperties*>(ptr), false);
    default:
      return 0;
  }
}

void IPlugVST::Open() {
  HostSpecificSetup();
  for (int i = 0; i < ParamCount(); ++i) OnParamChanged(i);
}

// A block size outside 1..kMostBlockFrames is brought into it: longer process calls are sliced.
void IPlugVST::SetBlockSize(VstIntPtr frames) {
  if (frames < 1) frames = 1;
  if (frames > kMostBlockFrames) frames = kMostBlockFrames;
  SetMaxBlockFrames(int(frames));
  OnReset();
}

VstIntPtr IPlugVST::GetPinProperties(VstInt32 index, VstPinProperties* pin, bool isInput) {
  int count = isInput ? InputCount() : OutputCount();
  if (!pin || index < 0 || index >= count) return 0;
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1) pin->flags |= kVstPinIsStereo;
  char label[kPinLabelBound];
  snprintf(label, sizeof(label), isInput ? "Input %d" : "Output %d", index + 1);
  CopyBoundedText(pin->label, label, kPinLabelBound);
  return 1;
}

VstIntPtr IPlugVST::SetSpeakerArrangement(const VstSpeakerArrangement* inputs,
                                          const VstSpeakerArrangement* outputs) {
  ConnectFromArrangement(inputs, true);
  ConnectFromArrangement(outputs, false);
  return 1;
}

void IPlugVST::ConnectFromArrangement(const VstSpeakerArrangement* arrangement, bool isInput) {
  if (!arrangement) return;
  int count = isInput ? InputCount() : OutputCount();
  int connected = arrangement->numChannels < 0 ? 0 : arrangement->numChannels;
  if (connected > count) connected = count;
  if (isInput) {
    ConnectInputs(0, connected, true);
    ConnectInputs(connected, count - connected, false);
  } else {
    ConnectOutputs(0, connected, true);
    ConnectOutputs(connected, count - connected, false);
  }
  // A channel just cut off must read silence, not the audio its scratch last converted.
  ClearScratch();
}

// ---parameters, programs and chunks---

VstIntPtr IPlugVST::DispatchParamsAndPrograms(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                              void* ptr, float) {
  char* text = static_cast<char*>(ptr);
  IParamRecord* param = ParamAt(index);
  switch (opcode) {
    case effSetProgram:
      if (!DoesStateChunks()) ModifyCurrentPreset(nullptr);
      LoadPreset(value < 0 || value >= PresetCount() ? -1 : int(value));
      return 0;
    case effGetProgram:
      return CurrentPresetIndex();
    case effSetProgramName:
      if (text) {
        ModifyCurrentPreset(text);
        OnPresetListChanged();
      }
      return 0;
    case effGetProgramName:
      if (text) GetProgramNameIndexed(CurrentPresetIndex(), text);
      return 0;
    case effGetProgramNameIndexed:
      return GetProgramNameIndexed(index, text);
    case effGetParamLabel:
      if (text && param) CopyBoundedText(text, param->UnitForHost(), kParamLabelBound);
      return 0;
    case effGetParamDisplay:
      if (text && param)
        param->FormatForHost(param->Value(), false, text, kParamDisplayBound, true);
      return 0;
    case effGetParamName:
      if (text && param) CopyBoundedText(text, param->Name(), kParamNameBound);
      return 0;
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return String2Parameter(index, text);
    case effGetChunk:
      return GetChunk(index, static_cast<void**>(ptr));
    case effSetChunk:
      return SetChunk(index, value, ptr);
    default:
      return 0;
  }
}

VstIntPtr IPlugVST::GetProgramNameIndexed(VstInt32 index, char* text) {
  if (!text) return 0;
  PresetSlot* slot = PresetAt(index);
  CopyBoundedText(text, slot ? slot->name : "", kProgramNameBound);
  return text[0] != '\0' ? 1 : 0;
}

VstIntPtr IPlugVST::GetChunk(VstInt32 index, void** data) {
  if (!data) return 0;
  StateChunk* chunk = index != 0 ? &mProgramChunk : &mBankChunk;
  WriteChunkHeader(chunk);
  bool saved;
  if (index != 0) {
    saved = SaveState(chunk);
  } else {
    ModifyCurrentPreset(nullptr);
    saved = SerializePresets(chunk);
  }
  if (!saved || chunk->Size() <= 0) return 0;
  *data = chunk->Data();
  return chunk->Size();
}

VstIntPtr IPlugVST::SetChunk(VstInt32 index, VstIntPtr size, const void* data) {
  if (!data) return 0;
  StateChunk* chunk = index != 0 ? &mProgramChunk : &mBankChunk;
  // A size the chunk cannot hold leaves it empty, which reads as a failed, empty chunk.
  chunk->Assign(data, size < 0 || size > StateChunk::kMaxSize ? -1 : int(size));
  int pos = 0;
  int version = ReadChunkHeader(chunk, &pos);
  // A chunk of a newer format (a preset or project of a later version) cannot be read safely.
  if (version > kChunkHeaderVersion) return 0;
  if (index == 0 && version >= kChunkHeaderVersion) {
    pos = UnserializePresets(chunk, pos);
  } else {
    pos = LoadState(chunk, pos);
    ModifyCurrentPreset(nullptr);
  }
  if (pos < 0) return 0;
  RefreshEditorFromParams();
  return 1;
}

VstIntPtr IPlugVST::String2Parameter(VstInt32 index, const char* text) {
  IParamRecord* param = ParamAt(index);
  if (!param) return 0;
  if (!text) return 1;
  double value;
  if (param->DisplayTextCount() == 0) {
    value = atof(text);
    // "nan" reads as a number but names no value; it would poison the processing.
    if (std::isnan(value)) return 0;
    if (param->NegateDisplay()) value = -value;
  } else {
    value = param->ValueForDisplayText(text);
    if (strcmp(param->FindDisplayText(int(value)), text) != 0) return 0;
  }
  SetParamFromHost(index, value, false);
  return 1;
}

// ---editor---

VstIntPtr IPlugVST::DispatchEditor(VstInt32 opcode, void* ptr) {
  IGraphics* editor = Editor();
  if (!editor) return 0;
  switch (opcode) {
    case effEditGetRect:
      if (!ptr) return 0;
      // Before the window opens, the size it will open at: the system's scale applies.
      editor->FollowSystemScale();
      SetEditorRect(editor->WindowWidth(), editor->WindowHeight());
      *static_cast<ERect**>(ptr) = &mEditorRect;
      return 1;
    case effEditOpen:
      if (!editor->OpenEditorWindow(ptr)) return 0;
      OnEditorOpened();
      return 1;
    case effEditClose:
      OnEditorClosed();
      editor->CloseEditorWindow();
      return 1;
    case effEditIdle:
#if defined(BRASK_X11)
      // Linux: the host's idle calls drive the editor window, its events and its ticks.
      if (auto* x11 = dynamic_cast<IGraphicsX11*>(editor)) x11->Idle();
#endif
      return 0;  // answered as before: hosts read nothing from it
    default:
      return 0;
  }
}

// ---identity, capabilities and the rest---

VstIntPtr IPlugVST::DispatchQueries(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effIdentify:
      return kIdentifyAnswer;
    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effGetPlugCategory:
      return kPlugCategEffect;
    case effGetEffectName:
      if (!text) return 0;
      CopyBoundedText(text, EffectName(), kEffectNameBound);
      return 1;
    case effGetVendorString:
      if (!text) return 0;
      CopyBoundedText(text, MakerName(), kVendorStringBound);
      return 1;
    case effGetProductString:
      if (!text) return 0;
      CopyBoundedText(text, ProductName(), kProductStringBound);
      return 1;
    case effGetVendorVersion:
      return mEffect.version;
    case effVendorSpecific:
      return VendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return CanDo(text);
    case effGetTailSize:
      return TailSize();
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName:
      return GetMidiKeyName(static_cast<MidiKeyName*>(ptr));
    default:
      return 0;
  }
}

VstIntPtr IPlugVST::ProcessEvents(const VstEvents* events) {
  if (!events) return 0;
  VstEvent* const* list = events->events;
  for (int i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage message;
      message.offset = midi->deltaFrames;
      message.status = uint8_t(midi->midiData[0]);
      message.data1 = uint8_t(midi->midiData[1]);
      message.data2 = uint8_t(midi->midiData[2]);
      OnMidiMessage(&message);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      SysExMessage message;
      message.offset = sysex->deltaFrames;
      message.size = sysex->dumpBytes;
      message.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      OnSysEx(&message);
    }
  }
  return 1;
}

VstIntPtr IPlugVST::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  IParamRecord* param = (value >= 0 && value < ParamCount()) ? ParamAt(int(value)) : nullptr;
  if (index == effGetParamDisplay) {
    if (!ptr) return 0;
    if (param) {
      // The host's value may be far outside 0..1, so the text is formed in a wide buffer first.
      char wide[kFormatBufferSize];
      param->FormatForHost(double(opt), true, wide, kFormatBufferSize, true);
      CopyBoundedText(static_cast<char*>(ptr), wide, kParamDisplayBound);
    }
    return kVendorSpecificYes;
  }
  if (index == effGetParamName) {
    return param && param->Kind() != ParamKindDouble ? kVendorSpecificYes : 0;
  }
  return 0;
}

VstIntPtr IPlugVST::CanDo(const char* capability) {
  if (!capability) return 0;
  if (!strcmp(capability, "receiveVstTimeInfo")) return 1;
  if (!strcmp(capability, "hasCockosExtensions")) return kCockosCanDoYes;
  if (!strcmp(capability, "hasCockosViewAsConfig")) return kCockosCanDoYes;
  return 0;
}

VstIntPtr IPlugVST::GetMidiKeyName(MidiKeyName* key) {
  if (!key) return 0;
  key->keyName[0] = '\0';
  char name[kFormatBufferSize] = {};
  if (!MidiNoteLabel(key->thisKeyNumber, name)) return 0;
  CopyBoundedText(key->keyName, name, kMidiKeyNameBound);
  return 1;
}
