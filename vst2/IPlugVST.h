#pragma once
// IPlugVST: the VST 2 adaptor between a host and the plug-in core.
//
// The host sees only the AEffect record embedded here; its object field points back at this
// instance and every callback in it (dispatcher, the three process calls, get and set
// parameter) finds the instance through it, takes the instance lock for the whole call and
// translates the request into core operations. In the other direction the overrides of the
// core's host operations (automation, gestures, time queries, host identification) become
// requests to the host callback received at creation.
//
// Host buffers are trusted only as far as they are checked: null pointers are ignored, indices
// are tested before use, texts are written within VstTextBounds.h, and a process call longer
// than the block size last set is run in slices that fit the scratch buffers.

#include "AEffect.h"
#include "IPlugBase.h"
#include "VstRecords.h"

class IPlugVST : public IPlugBase {
 public:
  using HostCallback = audioMasterCallback;
  static constexpr int kPluginApi = kApiVST2;

  IPlugVST(HostCallback host, const IPlugIdentity& identity);
  ~IPlugVST() override;

  AEffect* Effect() { return &mEffect; }

  // ---IPlugBase host operations---
  void BeginParamGesture(int paramIdx) override;
  void InformHostParamValue(int paramIdx, double normalized) override;
  void EndParamGesture(int paramIdx) override;
  void NotifyHostPresetChange() override;
  bool IsOfflineRender() override;
  int HostSamplePos() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTime(HostTimeInfo* info) override;
  int GetHostKind() override;
  void ResizeEditor(int width, int height) override;
  void HostSpecificSetup() override;
  void AttachEditor(IGraphics* editor) override;
  void SetLatencySamples(int samples) override;
  bool SendMidiToHost(const MidiMessage* message) override;
  bool SendSysExToHost(const SysExMessage* message) override;

 private:
  // ---AEffect callbacks---
  static IPlugVST* FromEffect(AEffect* effect);  // null for a record without an instance
  static VstIntPtr VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt);
  static void HostProcessAccumulate(AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 frames);
  static void HostProcessFloat(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
  static void HostProcessDouble(AEffect* effect, double** inputs, double** outputs,
                                VstInt32 frames);
  static float HostGetParam(AEffect* effect, VstInt32 index);
  static void HostSetParam(AEffect* effect, VstInt32 index, float value);

  // ---dispatcher requests, grouped as hosts use them (IPlugVSTDispatch.cpp)---
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr DispatchSetup(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr DispatchParamsAndPrograms(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt);
  VstIntPtr DispatchEditor(VstInt32 opcode, void* ptr);
  VstIntPtr DispatchQueries(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  void Open();
  void SetBlockSize(VstIntPtr frames);
  VstIntPtr GetProgramNameIndexed(VstInt32 index, char* text);
  VstIntPtr GetChunk(VstInt32 index, void** data);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, const void* data);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr String2Parameter(VstInt32 index, const char* text);
  VstIntPtr GetPinProperties(VstInt32 index, VstPinProperties* pin, bool isInput);
  VstIntPtr SetSpeakerArrangement(const VstSpeakerArrangement* inputs,
                                  const VstSpeakerArrangement* outputs);
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  static VstIntPtr CanDo(const char* capability);
  VstIntPtr GetMidiKeyName(MidiKeyName* key);

  // ---audio (IPlugVSTAudio.cpp)---
  enum class FloatMode { kReplace, kAccumulate };
  void ProcessFloat(float** inputs, float** outputs, int frames, FloatMode mode);
  void ProcessDouble(double** inputs, double** outputs, int frames);
  void ProcessFloatSlice(float** inputs, float** outputs, int offset, int frames, FloatMode mode);
  void ProcessDoubleSlice(double** inputs, double** outputs, int offset, int frames);
  int ConnectedInputCount() const;
  int ConnectedOutputCount() const;

  // ---helpers---
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* QueryTime(VstInt32 wanted);
  void SetEditorRect(int width, int height);
  void ConnectFromArrangement(const VstSpeakerArrangement* arrangement, bool isInput);
  static void InitArrangement(VstSpeakerArrangement* arrangement, int channels);

  ERect mEditorRect = {};                         ///< {0, 0, height, width} once an editor exists
  HostCallback mHostCallback;                     ///< as passed at creation; may be null
  VstSpeakerArrangement mInputArrangement = {};   ///< handed out by effGetSpeakerArrangement
  VstSpeakerArrangement mOutputArrangement = {};  ///< handed out by effGetSpeakerArrangement
  bool mHostSetupDone = false;                    ///< HostSpecificSetup has run
  StateChunk mProgramChunk;                       ///< last program chunk to or from the host
  StateChunk mBankChunk;                          ///< last bank chunk to or from the host
  AEffect mEffect = {};                           ///< the record the host holds
  std::vector<float*> mFloatSlice;                ///< host input pointers moved to a slice
};
