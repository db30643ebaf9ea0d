#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "BraskRig.h"
#include "plugin/BraskIdentity.h"

namespace {

struct Expected {
  const char* name;
  ParamKind kind;
  double defaultValue, min, max, step, shape;
  const char* label;
  int precision;
  double normalizedDefault;
};

const Expected kExpected[] = {
    {"Input", ParamKindDouble, 0, 0, 40, 0.01, 2, "%", 2, 0.0},
    {"Output", ParamKindDouble, 0, -20, 20, 0.01, 1, "%", 2, 0.5},
    {"Attack", ParamKindDouble, 10, 1, 50, 0.01, 2, "%", 2, 3.0 / 7.0},
    {"Release", ParamKindDouble, 400, 100, 3000, 0.01, 2, "%", 2, std::sqrt(300.0 / 2900.0)},
    {"Mix", ParamKindDouble, 100, 0, 100, 0.01, 1, "%", 2, 1.0},
    {"HPF", ParamKindDouble, 20, 20, 500, 0.01, 1, "%", 2, 0.0},
    {"Bypass", ParamKindInt, 1, 0, 1, 1, 1, "", 0, 1.0},
    {"Sidechain", ParamKindInt, 0, 0, 1, 1, 1, "", 0, 0.0},
};

TEST(BraskParameters, EightParametersAsDefined) {
  Brask plug(nullptr);
  ASSERT_EQ(plug.ParamCount(), 8);
  for (int i = 0; i < 8; ++i) {
    const IParamRecord* p = plug.ParamAt(i);
    const Expected& e = kExpected[i];
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->Name(), e.name) << i;
    EXPECT_EQ(p->Kind(), e.kind) << e.name;
    EXPECT_EQ(p->Value(), e.defaultValue) << e.name;
    EXPECT_EQ(p->Default(), e.defaultValue) << e.name;
    EXPECT_EQ(p->Min(), e.min) << e.name;
    EXPECT_EQ(p->Max(), e.max) << e.name;
    EXPECT_EQ(p->Step(), e.step) << e.name;
    EXPECT_EQ(p->Shape(), e.shape) << e.name;
    EXPECT_STREQ(p->Label(), e.label) << e.name;
    EXPECT_STREQ(p->Group(), "") << e.name;
    EXPECT_EQ(p->DisplayPrecision(), e.precision) << e.name;
    EXPECT_NEAR(p->NormalizedValue(), e.normalizedDefault, 1e-15) << e.name;
  }
  EXPECT_EQ(plug.ParamAt(8), nullptr);
}

TEST(BraskParameters, SwitchesRoundHostValues) {
  Brask plug(nullptr);
  IParamRecord* bypass = plug.ParamAt(kParamBypass);
  bypass->SetValueFromNormalized(0.4);
  EXPECT_EQ(bypass->Value(), 0.0);
  bypass->SetValueFromNormalized(0.5);
  EXPECT_EQ(bypass->Value(), 1.0);
}

TEST(BraskParameters, DefaultPresetIsDash) {
  Brask plug(nullptr);
  ASSERT_EQ(plug.PresetCount(), 1);
  ASSERT_NE(plug.PresetAt(0), nullptr);
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
  EXPECT_STREQ(plug.PresetAt(0)->name, "-");
  for (int i = 0; i < 8; ++i) plug.ParamAt(i)->SetValueFromNormalized(0.37);
  ASSERT_TRUE(plug.LoadPreset(0));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(plug.ParamAt(i)->Value(), kExpected[i].defaultValue) << i;
}

TEST(BraskIdentityTest, CoreReportsTheIdentity) {
  Brask plug(nullptr);
  EXPECT_STREQ(plug.EffectName(), "Brask");
  EXPECT_STREQ(plug.ProductName(), "");
  EXPECT_STREQ(plug.MakerName(), "Wyrdworks");
  EXPECT_EQ(plug.UniqueId(), int32_t(0x42726b31));  // 'B' 'r' 'k' '1'
  EXPECT_EQ(plug.MakerId(), int32_t(0x57797264));   // 'W' 'y' 'r' 'd'
  EXPECT_EQ(plug.Version(), 0x40000);
  EXPECT_EQ(plug.Latency(), 0);
  EXPECT_EQ(plug.TailSize(), 0);
  EXPECT_FALSE(plug.DoesStateChunks());
  EXPECT_FALSE(plug.IsInstrument());
  EXPECT_FALSE(plug.HandlesMidi());
}

TEST(BraskIdentityTest, Vst3FlavourOffersNoMonoInput) {
  Brask plug(nullptr);
  EXPECT_EQ(plug.GetPluginApi(), kApiVST3);
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(4, 2));
  EXPECT_FALSE(plug.LegalIO(2, 1));
  EXPECT_FALSE(plug.LegalIO(3, 2));
  EXPECT_STREQ(BraskIdentity(kApiVST2).channelConfigs, "2-1 3-2 2-2 4-2");
}

}  // namespace
