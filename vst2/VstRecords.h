#pragma once
// The VST 2.4 records that travel through the dispatcher and the host callback: the editor
// rectangle, MIDI and SysEx events, pin properties, speaker arrangements, the transport record
// and MIDI key names. Hosts allocate and read them directly, so each layout is the published
// 64-bit one and is checked below.

#include <cstddef>

#include "AEffect.h"

// Editor size in pixels, as effEditGetRect hands it out.
struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};
static_assert(sizeof(ERect) == 8, "ERect layout");
static_assert(offsetof(ERect, bottom) == 4, "ERect layout");

// Event types.
enum VstEventTypes : VstInt32 {
  kVstMidiType = 1,
  kVstSysExType = 6,
};

// Common head of every event; byteSize says how large the concrete record is.
struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;  ///< offset into the current block
  VstInt32 flags;
  char data[16];
};
static_assert(sizeof(VstEvent) == 32, "VstEvent layout");

// A list of events; the host allocates it with as many pointers as numEvents needs.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;   ///< zero
  VstEvent* events[2];  ///< variable length: numEvents entries
};
static_assert(offsetof(VstEvents, reserved) == 8, "VstEvents layout");
static_assert(offsetof(VstEvents, events) == 16, "VstEvents layout");
static_assert(sizeof(VstEvents) == 32, "VstEvents layout");

struct VstMidiEvent {
  VstInt32 type;      ///< kVstMidiType
  VstInt32 byteSize;  ///< sizeof(VstMidiEvent)
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];  ///< status, data 1, data 2, zero
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, detune) == 28, "VstMidiEvent layout");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");

struct VstMidiSysexEvent {
  VstInt32 type;      ///< kVstSysExType
  VstInt32 byteSize;  ///< sizeof(VstMidiSysexEvent)
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes;  ///< size of sysexDump in bytes
  VstIntPtr resvd1;
  char* sysexDump;
  VstIntPtr resvd2;
};
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16, "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, resvd1) == 24, "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == 32, "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, resvd2) == 40, "VstMidiSysexEvent layout");
static_assert(sizeof(VstMidiSysexEvent) == 48, "VstMidiSysexEvent layout");

// Pin properties of one input or output channel.
enum VstPinPropertiesFlags : VstInt32 {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1,
};

constexpr int kVstMaxLabelLen = 64;
constexpr int kVstMaxShortLabelLen = 8;

struct VstPinProperties {
  char label[kVstMaxLabelLen];
  VstInt32 flags;  ///< VstPinPropertiesFlags
  VstInt32 arrangementType;
  char shortLabel[kVstMaxShortLabelLen];
  char future[48];
};
static_assert(offsetof(VstPinProperties, flags) == 64, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, arrangementType) == 68, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, shortLabel) == 72, "VstPinProperties layout");
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties layout");

// Speaker arrangement types used here.
enum VstSpeakerArrangementType : VstInt32 {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};
static_assert(offsetof(VstSpeakerProperties, name) == 16, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, type) == 80, "VstSpeakerProperties layout");
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties layout");

struct VstSpeakerArrangement {
  VstInt32 type;  ///< VstSpeakerArrangementType
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8, "VstSpeakerArrangement layout");
static_assert(sizeof(VstSpeakerArrangement) == 904, "VstSpeakerArrangement layout");

// VstTimeInfo::flags bits; the *Valid bits are also what a plug-in asks for in the value of
// audioMasterGetTime.
enum VstTimeInfoFlags : VstInt32 {
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
};

struct VstTimeInfo {
  double samplePos;  ///< frames since the song start
  double sampleRate;
  double nanoSeconds;
  double ppqPos;       ///< musical position in quarter notes
  double tempo;        ///< beats per minute
  double barStartPos;  ///< start of the last bar in quarter notes
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;  ///< VstTimeInfoFlags
};
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");

constexpr int kVstMaxNameLen = 64;

struct MidiKeyName {
  VstInt32 thisProgramIndex;
  VstInt32 thisKeyNumber;
  char keyName[kVstMaxNameLen];
  VstInt32 reserved;
  VstInt32 flags;
};
static_assert(offsetof(MidiKeyName, keyName) == 8, "MidiKeyName layout");
static_assert(offsetof(MidiKeyName, flags) == 76, "MidiKeyName layout");
static_assert(sizeof(MidiKeyName) == 80, "MidiKeyName layout");
