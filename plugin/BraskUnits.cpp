#include "BraskUnits.h"

#include "Brask.h"

namespace {

// The time knobs map linearly onto the times the processing uses: "Attack" 1..50 onto
// 0.5..25 ms, "Release" 100..3000 onto 0.4..1.0 s.
constexpr double kAttackMsPerStep = 0.0245 / 49.0 * 1000.0;
constexpr double kReleaseSecondsPerStep = 0.6 / 2900.0;

struct UnitEntry {
  int index;
  ParamUnit unit;
};

const UnitEntry kUnits[] = {
    {kParamInput, {"dB", 1.0, 0.0, 2, false}},
    {kParamOutput, {"dB", 1.0, 0.0, 2, false}},
    {kParamAttack, {"ms", kAttackMsPerStep, 0.5 - kAttackMsPerStep, 2, false}},
    {kParamRelease, {"s", kReleaseSecondsPerStep, 0.4 - 100.0 * kReleaseSecondsPerStep, 3, false}},
    {kParamMix, {"%", 1.0, 0.0, 1, false}},
    {kParamHpf, {"Hz", 1.0, 0.0, 1, false}},
    {kParamBypass, {nullptr, 1.0, 0.0, 0, true}},
    {kParamSidechain, {nullptr, 1.0, 0.0, 0, true}},
};

}  // namespace

void SetBraskUnits(IPlugBase* plug) {
  for (const UnitEntry& entry : kUnits) {
    if (IParamRecord* record = plug->ParamAt(entry.index)) record->SetUnit(entry.unit);
  }
}
