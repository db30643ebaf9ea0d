#pragma once
// How a control port's float becomes a parameter's plain value, the same in the plug-in and in
// its UI: ports carry plain values in the parameter's own units.

#include <cmath>

#include "core/IParamRecord.h"

// The plain value for port value v, clamped into the record's range; integer parameters take
// the nearest whole value, as hosts that ignore lv2:integer may send fractions. False for NaN,
// which names no value and leaves the parameter as it is.
inline bool PlainFromPortValue(const IParamRecord& record, float v, double* plain) {
  if (std::isnan(v)) return false;
  double value = std::fmin(std::fmax(double(v), record.Min()), record.Max());
  if (record.Kind() != ParamKindDouble) value = std::floor(value + 0.5);
  *plain = value;
  return true;
}
