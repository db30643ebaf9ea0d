// The factory preset table against the plug-in's own parameter records: every value inside its
// parameter's range and on its step, and "Init" the defaults. (What each format loads from it:
// the FactoryPresets tests of the VST 3, VST 2 and LV2 modules.)

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "BraskRig.h"
#include "plugin/BraskPresets.h"

namespace {

TEST(FactoryPresetTable, EveryValueIsInsideItsRangeAndOnItsStep) {
  Brask plug(nullptr);
  for (const BraskPreset& preset : kBraskPresets) {
    for (int i = 0; i < kBraskParamCount; ++i) {
      const IParamRecord* record = plug.ParamAt(i);
      const double value = preset.values[i];
      SCOPED_TRACE(std::string(preset.name) + " " + record->Name());
      EXPECT_GE(value, record->Min());
      EXPECT_LE(value, record->Max());
      const double steps = (value - record->Min()) / record->Step();
      EXPECT_NEAR(steps, std::round(steps), 1e-9);
    }
  }
}

TEST(FactoryPresetTable, InitHoldsTheDefaultsAndEveryPresetIsSwitchedOn) {
  Brask plug(nullptr);
  const BraskPreset* init = FindBraskPreset("init");
  ASSERT_NE(init, nullptr);
  EXPECT_STREQ(init->name, "Init");
  for (int i = 0; i < kBraskParamCount; ++i) {
    EXPECT_EQ(init->values[i], plug.ParamAt(i)->Default()) << plug.ParamAt(i)->Name();
  }
  for (const BraskPreset& preset : kBraskPresets) {
    EXPECT_EQ(preset.values[kParamBypass], 1.0) << preset.name << " would pass audio through";
    EXPECT_EQ(FindBraskPreset(preset.key), &preset);
  }
  EXPECT_EQ(FindBraskPreset("Init"), nullptr) << "keys are matched exactly";
  EXPECT_EQ(FindBraskPreset(nullptr), nullptr);
}

}  // namespace
