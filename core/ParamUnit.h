#pragma once
// ParamUnit: how a parameter's value reads in the unit its users know it by, for hosts that
// show values with units (CLAP). The number shown is scale * plain + offset in the unit (the
// attack time in milliseconds, say, for a knob whose plain value is a position on 1..50), or
// for a switch "off" (0) or "on". A record keeps the unit its plug-in gives it; without one it
// shows its plain value with its label. The VST formats keep their own texts
// (IParamRecord::FormatForHost); nothing here changes them.

#include <cstddef>

class IParamRecord;

struct ParamUnit {
  const char* unit = nullptr;  // null: the record's label
  double scale = 1.0;
  double offset = 0.0;
  int decimals = -1;  // negative: the record's display precision
  bool isSwitch = false;
};

// The text of plain, as "5.00 ms" or "on"; false (nothing written) without room for it.
bool FormatInUnit(const IParamRecord& record, double plain, char* out, size_t capacity);
// The plain value a text names, with or without its unit ("5 ms", "5", "on", "1"), clamped into
// the record's range (a switch's to 0 or 1). False for text that names no value.
bool ParseInUnit(const IParamRecord& record, const char* text, double* plain);
