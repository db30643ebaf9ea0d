#pragma once
// AEffect: the VST 2.4 effect record and the numbers a VST 2 host and plug-in exchange.
//
// A host that loaded the module receives a pointer to an AEffect and from then on reaches the
// plug-in only through the function pointers in it; the plug-in reaches the host only through
// the audioMasterCallback it was given. Hosts built against the published interface read the
// record directly, so its 64-bit layout is fixed here and checked field by field below.
// The event, pin, speaker and time records that travel through these calls are in
// VstRecords.h.

#include <cstddef>
#include <cstdint>

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

struct AEffect;

// Calls from the plug-in to the host.
using audioMasterCallback = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

// Calls from the host to the plug-in, through the record.
using AEffectDispatcherProc = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float (*)(AEffect* effect, VstInt32 index);

// Exported entry point type: VSTPluginMain and its older alias main.
using VstPluginMainProc = AEffect* (*)(audioMasterCallback host);

// The four characters "VstP", first character in the most significant byte.
constexpr VstInt32 kEffectMagic = 0x56737450;

struct AEffect {
  VstInt32 magic;                        ///< kEffectMagic
  AEffectDispatcherProc dispatcher;      ///< every request other than audio and parameters
  AEffectProcessProc process;            ///< accumulating float processing (deprecated)
  AEffectSetParameterProc setParameter;  ///< normalized parameter value from the host
  AEffectGetParameterProc getParameter;  ///< normalized parameter value to the host
  VstInt32 numPrograms;                  ///< number of programs (preset slots)
  VstInt32 numParams;                    ///< number of parameters
  VstInt32 numInputs;                    ///< audio input channels
  VstInt32 numOutputs;                   ///< audio output channels
  VstInt32 flags;                        ///< VstAEffectFlags
  VstIntPtr resvd1;                      ///< reserved for the host, zero
  VstIntPtr resvd2;                      ///< reserved for the host, zero
  VstInt32 initialDelay;                 ///< latency in frames
  VstInt32 realQualities;                ///< unused, zero
  VstInt32 offQualities;                 ///< unused, zero
  float ioRatio;                         ///< output rate over input rate
  void* object;                          ///< the plug-in instance behind this record
  void* user;                            ///< free for the host
  VstInt32 uniqueID;                     ///< four-character plug-in ID
  VstInt32 version;                      ///< plug-in version, decimal MMmmrr
  AEffectProcessProc processReplacing;   ///< replacing float processing
  AEffectProcessDoubleProc processDoubleReplacing;  ///< replacing double processing
  char future[56];                                  ///< reserved, zero
};

static_assert(sizeof(void*) == 8, "the record layout below is the 64-bit one");
static_assert(offsetof(AEffect, magic) == 0, "AEffect layout");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert(offsetof(AEffect, process) == 16, "AEffect layout");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect layout");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect layout");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect layout");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect layout");
static_assert(offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect layout");
static_assert(offsetof(AEffect, resvd2) == 72, "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert(offsetof(AEffect, realQualities) == 84, "AEffect layout");
static_assert(offsetof(AEffect, offQualities) == 88, "AEffect layout");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect layout");
static_assert(offsetof(AEffect, object) == 96, "AEffect layout");
static_assert(offsetof(AEffect, user) == 104, "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(offsetof(AEffect, version) == 116, "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert(offsetof(AEffect, future) == 136, "AEffect layout");
static_assert(sizeof(AEffect) == 192, "AEffect layout");

// AEffect::flags bits.
enum VstAEffectFlags : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsCanDoubleReplacing = 1 << 12,
};

// Dispatcher opcodes: requests from the host to the plug-in.
enum AEffectOpcodes : VstInt32 {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effSetSpeakerArrangement = 42,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
  effGetSpeakerArrangement = 69,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetProcessPrecision = 77,
};

// Host callback opcodes: requests from the plug-in to the host.
enum AudioMasterOpcodes : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetInputLatency = 18,
  audioMasterGetOutputLatency = 19,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

// Answers of audioMasterGetCurrentProcessLevel: the calling thread's role.
constexpr VstIntPtr kVstProcessLevelUser = 1;
constexpr VstIntPtr kVstProcessLevelRealtime = 2;
constexpr VstIntPtr kVstProcessLevelOffline = 4;

// effSetProcessPrecision values.
constexpr VstIntPtr kVstProcessPrecision32 = 0;
constexpr VstIntPtr kVstProcessPrecision64 = 1;

// Answer of effGetPlugCategory for an effect.
constexpr VstIntPtr kPlugCategEffect = 1;

// Interface version answered by effGetVstVersion.
constexpr VstIntPtr kVstVersion = 2400;

// Published text lengths, terminator included.
constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;
constexpr int kVstMaxEffectNameLen = 32;
constexpr int kVstExtMaxParamStrLen = 32;
