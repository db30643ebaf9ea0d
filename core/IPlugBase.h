#pragma once
// IPlugBase: the format-independent heart of one plug-in instance.
//
// It owns the identity, the parameter records, the preset slots, the channel records with
// their scratch buffers, the editor object and one recursive lock that serialises everything
// the host, the audio thread and the editor do to the instance. A format adaptor (IPlugVST3,
// IPlugVST, or a test adaptor) derives from it and translates host calls into the operations
// below; the plug-in class derives from the adaptor and overrides only its destructor,
// OnReset, OnParamChanged and ProcessBlock.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "ChannelRecords.h"
#include "HostKind.h"
#include "HostRecords.h"
#include "IParamRecord.h"
#include "PresetSlot.h"
#include "StateChunk.h"

class IGraphics;

// Plug-in format codes answered by GetPluginApi.
enum PluginApi { kApiVST2 = 0, kApiVST3 = 1, kApiCLAP = 3 };

// Identity and fixed configuration the plug-in hands to the core through its adaptor.
struct IPlugIdentity {
  const char* effectName;
  const char* productName;
  const char* makerName;
  int32_t uniqueId;            // four-character code, first character in the top byte
  int32_t makerId;             // four-character code
  int32_t version;             // major << 16 | minor << 8 | revision
  int paramCount;              // 8 for Brask
  int presetCount;             // 1 for Brask
  const char* channelConfigs;  // "2-2 4-2" style list of legal in-out pairs
};

// A four-character code with its first character in the most significant byte.
constexpr int32_t FourCharCode(const char (&code)[5]) {
  return int32_t((uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
                 (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3])));
}

struct IOConfig {
  int inputs;
  int outputs;
};

class IPlugBase {
 public:
  // The most frames a block of the scratch buffers holds, whatever block size a host
  // announces: the adaptors process longer host blocks in slices, which the sound does not
  // depend on, so a host that announces a huge block (or a broken one, INT_MAX) costs no more
  // memory than this.
  static constexpr int kMostBlockFrames = 8192;

  IPlugBase(const IPlugIdentity& identity, int pluginApi);

  // ---virtual operations, in table order---
  virtual ~IPlugBase();
  virtual void OnReset();
  virtual void OnParamChanged(int paramIdx);
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames);  // pass-through
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosed() {}
  virtual void OnIdle() {}  // hook nothing calls
  virtual void OnActiveChanged(bool active);
  virtual void OnMidiMessage(const MidiMessage* message);
  virtual void OnSysEx(const SysExMessage*) {}
  virtual bool MidiNoteLabel(int note, char* name);
  virtual bool SaveState(StateChunk* chunk);
  virtual int LoadState(const StateChunk* chunk, int startPos);
  virtual bool StateMatches(const uint8_t* data, int startIndex);
  virtual void OnEditorResized() {}
  virtual bool HasUserEdits() { return false; }  // query nothing calls
  virtual void OnHostKnown() {}
  virtual void OpenHostParamMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}
  virtual void SetParamFromEditor(int paramIdx, double normalized);
  virtual void BeginParamGesture(int paramIdx) = 0;
  virtual void InformHostParamValue(int paramIdx, double normalized) = 0;
  virtual void EndParamGesture(int paramIdx) = 0;
  virtual void NotifyHostPresetChange() = 0;
  virtual bool IsOfflineRender() { return false; }
  virtual int HostSamplePos() = 0;
  virtual double HostTempo() = 0;
  virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
  virtual void HostTime(HostTimeInfo* info) = 0;
  virtual int GetHostKind() { return mHostKind; }
  virtual int GetPluginApi() { return mPluginApi; }
  virtual void ResizeEditor(int width, int height) = 0;
  virtual void HostSpecificSetup() {}
  virtual void AttachEditor(IGraphics* editor);
  virtual void SetLatencySamples(int samples) { mLatency = samples; }
  virtual bool SendMidiToHost(const MidiMessage* message) = 0;
  virtual bool SendSysExToHost(const SysExMessage*) { return false; }
  virtual void RefreshEditorFromParams();
  virtual void OnWindowResize() {}  // hook nothing calls
  virtual void OnPresetListChanged() {}
  // Resizes and zeroes every scratch buffer when frames changes (negative counts as 0, more
  // than kMostBlockFrames as kMostBlockFrames) and points the unconnected channels at their
  // moved buffers.
  virtual void SetMaxBlockFrames(int frames);
  // Whether ProcessBlock reads input idx in the coming block. The 32-bit bindings leave an
  // input it ignores unconverted: its channel still points at its scratch buffer.
  virtual bool ReadsInput(int /*idx*/) const { return true; }

  // ---identity---
  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* MakerName() const { return mMakerName; }
  int32_t UniqueId() const { return mUniqueId; }
  int32_t MakerId() const { return mMakerId; }
  int32_t Version() const { return mVersion; }
  int HostVersion() const { return mHostVersion; }
  int Latency() const { return mLatency; }
  int TailSize() const { return mTailSize; }
  bool DoesStateChunks() const { return mDoesStateChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  bool HandlesMidi() const { return mHandlesMidi; }

  // ---parameters---
  int ParamCount() const { return int(mParams.size()); }
  // Null outside 0..count-1. Inline, as the other per-block accessors: the audio callbacks
  // call them every block.
  IParamRecord* ParamAt(int idx) {
    return InRange(idx, ParamCount()) ? &mParams[size_t(idx)] : nullptr;
  }
  const IParamRecord* ParamAt(int idx) const {
    return InRange(idx, ParamCount()) ? &mParams[size_t(idx)] : nullptr;
  }
  // A host's write of one parameter, the one path every adaptor takes, under the instance
  // lock: the record takes the value (a normalized one through the shape, snapped and capped
  // at the maximum; a plain one clamped into the range), the controls show it, then the plug-in
  // hears of it. A NaN names no value and changes nothing. False for an index that names no
  // parameter or a NaN.
  bool SetParamFromHost(int paramIdx, double value, bool isNormalized);

  // ---channels and buffers---
  int InputCount() const { return int(mInputs.size()); }
  int OutputCount() const { return int(mOutputs.size()); }
  bool LegalIO(int inputs, int outputs) const;
  const std::vector<IOConfig>& IOConfigs() const { return mIOConfigs; }
  void ConnectInputs(int first, int count, bool connected);
  void ConnectOutputs(int first, int count, bool connected);
  // Connects exactly the channels whose bits are set (bit i: channel i); the others read
  // silence and write to scratch. Cheap when nothing changes, so adaptors call it every block.
  void SetConnectedChannels(uint64_t inputs, uint64_t outputs) {
    if (inputs != mConnectedInputs || outputs != mConnectedOutputs) {
      ConnectChannelsThatChanged(inputs, outputs);
    }
  }
  bool IsInputConnected(int idx) const {
    return InRange(idx, InputCount()) && mInputs[size_t(idx)].connected;
  }
  bool IsOutputConnected(int idx) const {
    return InRange(idx, OutputCount()) && mOutputs[size_t(idx)].connected;
  }
  // Null outside range.
  InputChannel* InputAt(int idx) {
    return InRange(idx, InputCount()) ? &mInputs[size_t(idx)] : nullptr;
  }
  OutputChannel* OutputAt(int idx) {
    return InRange(idx, OutputCount()) ? &mOutputs[size_t(idx)] : nullptr;
  }
  // Both handle at most BlockSize() frames: the scratch buffers hold no more.
  void BindInputsFromFloat(int first, int count, float** source, int nFrames);
  // One connected channel from its 32-bit source (null: silence).
  void BindInputFromFloat(int idx, const float* source, int nFrames);
  void PassThrough(int nFrames);
  void ClearScratch();
  double** InputPointers() { return mInputPointers.data(); }
  double** OutputPointers() { return mOutputPointers.data(); }
  int BlockSize() const { return mBlockSize; }
  double SampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }

  // ---presets and state---
  bool SerializeParams(StateChunk* chunk);
  int UnserializeParams(const StateChunk* chunk, int startPos);
  void ModifyCurrentPreset(const char* name);
  bool LoadPreset(int idx);
  void FillDefaultPresets(const char* name, int count);
  bool SerializePresets(StateChunk* chunk);
  int UnserializePresets(const StateChunk* chunk, int startPos);
  static void WriteChunkHeader(StateChunk* chunk);
  static int ReadChunkHeader(const StateChunk* chunk, int* pos);
  int PresetCount() const { return int(mPresets.size()); }
  PresetSlot* PresetAt(int idx);  // null outside range
  int CurrentPresetIndex() const { return mCurrentPreset; }

  // ---editor---
  IGraphics* Editor() { return mEditor; }

  // ---host---
  void SetHostIdentity(int hostKind, int hostVersion);

  // ---bypass (VST 3 adaptor only)---
  bool IsBypassed() const { return mBypassed; }
  void SetBypassed(bool bypassed) { mBypassed = bypassed; }

  // The instance lock: recursive, held by every host entry point that touches instance state.
  std::recursive_mutex& Mutex() { return mMutex; }

 protected:
  // Input and output bus names, kept here for the VST 3 adaptor.
  std::vector<std::string> mInputBusNames;
  std::vector<std::string> mOutputBusNames;
  // Distinct non-empty parameter group texts, numbered as units by the VST 3 adaptor.
  std::vector<const char*> mParamGroups;

 private:
  static bool InRange(int idx, int count) { return idx >= 0 && idx < count; }
  void ParseChannelConfigs(const char* configs);
  void RepointUnconnectedChannels();
  void ConnectChannelsThatChanged(uint64_t inputs, uint64_t outputs);
  // nFrames limited to what the scratch buffers hold; hosts never ask for more.
  int FramesInScratch(int nFrames) const;

  std::recursive_mutex mMutex;
  char mEffectName[128] = {};
  char mProductName[128] = {};
  char mMakerName[128] = {};
  int32_t mUniqueId = 0;
  int32_t mMakerId = 0;
  int32_t mVersion = 0;
  int mPluginApi = kApiVST2;
  int mHostKind = HostKindUnidentified;
  int mHostVersion = 0;
  bool mDoesStateChunks = false;
  bool mIsInstrument = false;
  bool mHandlesMidi = false;
  bool mBypassed = false;
  int mCurrentPreset = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency = 0;
  int mTailSize = 0;

  std::vector<IOConfig> mIOConfigs;
  std::vector<IParamRecord> mParams;
  std::vector<PresetSlot> mPresets;
  std::vector<InputChannel> mInputs;
  std::vector<OutputChannel> mOutputs;
  uint64_t mConnectedInputs = 0;  // bit i: channel i is connected
  uint64_t mConnectedOutputs = 0;
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  IGraphics* mEditor = nullptr;
};
