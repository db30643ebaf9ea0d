#pragma once
// VstTextBounds: how many bytes, terminator included, the VST 2 adaptor writes into each text
// buffer a host hands it.
//
// Hosts allocate these buffers themselves, and the sizes they must provide are the published
// ones. The classic parameter-text length of 8 would cut this plug-in's own texts ("Sidechain"
// has 9 characters), so parameter texts use the extended length of 32 that VST 2.4 hosts
// provide; every other text uses its published length. Every text the plug-in itself defines fits
// whole; longer texts that came from outside (a program name set by a host or a bank chunk) are cut
// to the bound and stay terminated.

#include "AEffect.h"
#include "VstRecords.h"

constexpr int kParamNameBound = kVstExtMaxParamStrLen;     // effGetParamName
constexpr int kParamLabelBound = kVstExtMaxParamStrLen;    // effGetParamLabel
constexpr int kParamDisplayBound = kVstExtMaxParamStrLen;  // effGetParamDisplay, its vendor form
constexpr int kProgramNameBound = kVstMaxProgNameLen;      // effGetProgramName(Indexed)
constexpr int kEffectNameBound = kVstMaxEffectNameLen;     // effGetEffectName
constexpr int kVendorStringBound = kVstMaxVendorStrLen;    // effGetVendorString
constexpr int kProductStringBound = kVstMaxProductStrLen;  // effGetProductString
constexpr int kPinLabelBound = kVstMaxLabelLen;            // VstPinProperties::label
constexpr int kMidiKeyNameBound = kVstMaxNameLen;          // MidiKeyName::keyName

// Copies text into dest, at most bound - 1 characters and a terminator; a null text copies as
// the empty text.
void CopyBoundedText(char* dest, const char* text, int bound);
