#pragma once
// Records passed between the core and the format adaptors about the host's timeline and MIDI.
// Brask uses no MIDI; the records exist because the adaptors' interface carries them.

#include <cstdint>

struct MidiMessage {
  int32_t offset = 0;  // frames into the current block
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

struct SysExMessage {
  int32_t offset = 0;             // frames into the current block
  int32_t size = 0;               // bytes
  const uint8_t* data = nullptr;  // not owned
};

struct HostTimeInfo {
  double tempo = 0.0;  // BPM
  double samplePos = 0.0;
  double ppqPos = 0.0;      // musical position in quarter notes
  double lastBarPos = 0.0;  // start of the last bar in quarter notes
  double cycleStart = 0.0;  // quarter notes
  double cycleEnd = 0.0;    // quarter notes
  int32_t numerator = 4;
  int32_t denominator = 4;
  bool transportPlaying = false;
  bool cycleActive = false;
};
