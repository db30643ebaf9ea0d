#pragma once
// The real unit of each parameter's plain value, for formats that can name one (LV2 port
// units). The parameter records keep the one label "%" for every knob: that is what hosts of
// the VST modules show and what their saved projects were made with.

#include "Brask.h"

enum class ParamUnit { kNone, kDecibel, kPercent, kHertz };

// "Attack" and "Release" have none: their 1..50 and 100..3000 scales are not times, and the
// switches are plain on/off.
constexpr ParamUnit BraskParamUnit(int paramIdx) {
  switch (paramIdx) {
    case kParamInput:
    case kParamOutput:
      return ParamUnit::kDecibel;
    case kParamMix:
      return ParamUnit::kPercent;
    case kParamHpf:
      return ParamUnit::kHertz;
    default:
      return ParamUnit::kNone;
  }
}
