// The factory preset table against the plug-in's own parameter records: every value inside its
// parameter's range and on its step, "Init" the defaults, and the parameter block the presets
// carry exactly what the plug-in saves for those values.

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

// The uses the table promises: parallel compression below half mix, side-chain ducking on.
TEST(FactoryPresetTable, ParallelAndDuckingPresetsDoWhatTheirNamesSay) {
  const BraskPreset* parallel = FindBraskPreset("parallel-smash");
  const BraskPreset* duck = FindBraskPreset("side-chain-duck");
  ASSERT_TRUE(parallel && duck);
  EXPECT_LT(parallel->values[kParamMix], 50.0);
  EXPECT_EQ(duck->values[kParamSidechain], 1.0);
  int sidechained = 0;
  for (const BraskPreset& preset : kBraskPresets)
    sidechained += preset.values[kParamSidechain] != 0.0;
  EXPECT_EQ(sidechained, 1) << "only the ducking preset listens to the side chain";
}

// What every format's preset carries is the block SaveState writes, and LoadState reads it
// back to the exact values.
TEST(FactoryPresetTable, ParameterBlockIsWhatThePlugInSavesAndLoads) {
  for (const BraskPreset& preset : kBraskPresets) {
    SCOPED_TRACE(preset.name);
    Brask plug(nullptr);
    for (int i = 0; i < kBraskParamCount; ++i) plug.ParamAt(i)->SetValueClamped(preset.values[i]);
    StateChunk saved, block;
    ASSERT_TRUE(plug.SaveState(&saved));
    ASSERT_TRUE(BraskPresetBlock(preset, &block));
    ASSERT_EQ(block.Size(), saved.Size());
    EXPECT_EQ(std::string(block.Data(), block.Data() + block.Size()),
              std::string(saved.Data(), saved.Data() + saved.Size()));
    Brask fresh(nullptr);
    EXPECT_EQ(fresh.LoadState(&block, 0), block.Size());
    for (int i = 0; i < kBraskParamCount; ++i) {
      EXPECT_EQ(fresh.ParamAt(i)->Value(), preset.values[i]) << fresh.ParamAt(i)->Name();
    }
  }
}

}  // namespace
