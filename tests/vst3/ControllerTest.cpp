// The controller side: the ten host-visible parameters, value and text conversions, units and
// the program list.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Vst3Plugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string Narrow(const char16* text) {
  std::string out;
  for (; *text; ++text) out += char(*text);
  return out;
}

void Widen(const char* text, String128 out) {
  int i = 0;
  for (; text[i]; ++i) out[i] = char16(text[i]);
  out[i] = 0;
}

class Controller : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plug.Valid());
    ASSERT_EQ(plug.component->initialize(&plug.host), kResultOk);
  }

  std::string TextOf(ParamID id, double normalized) {
    String128 text = {};
    EXPECT_EQ(plug.controller->getParamStringByValue(id, normalized, text), kResultOk);
    return Narrow(text);
  }

  double ValueOf(ParamID id, const char* text) {
    String128 wide;
    Widen(text, wide);
    double value = -1.0;
    EXPECT_EQ(plug.controller->getParamValueByString(id, wide, value), kResultOk);
    return value;
  }

  Vst3Plugin plug;
};

struct ExpectedParam {
  ParamID id;
  const char* title;
  const char* units;
  int32 stepCount;
  double defaultNormalized;
};

}  // namespace

TEST_F(Controller, ReportsTenParametersWithTheirInformation) {
  const ExpectedParam expected[] = {
      {0, "Input", "%", 0, 0.0},        {1, "Output", "%", 0, 0.5},
      {2, "Attack", "%", 0, 3.0 / 7.0}, {3, "Release", "%", 0, std::sqrt(300.0 / 2900.0)},
      {4, "Mix", "%", 0, 1.0},          {5, "HPF", "%", 0, 0.0},
      {6, "Bypass", "", 1, 1.0},        {7, "Sidechain", "", 1, 0.0},
  };
  ASSERT_EQ(plug.controller->getParameterCount(), 10);

  ParameterInfo info = {};
  ASSERT_EQ(plug.controller->getParameterInfo(0, info), kResultOk);
  EXPECT_EQ(info.id, kPresetId);
  EXPECT_EQ(Narrow(info.title), "Preset");
  EXPECT_EQ(Narrow(info.units), "");
  EXPECT_EQ(info.stepCount, 1);
  EXPECT_EQ(info.defaultNormalizedValue, 0.0);
  EXPECT_EQ(info.flags, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(info.unitId, 0);

  ASSERT_EQ(plug.controller->getParameterInfo(1, info), kResultOk);
  EXPECT_EQ(info.id, kBypassId);
  EXPECT_EQ(Narrow(info.title), "Bypass");
  EXPECT_EQ(info.stepCount, 1);
  EXPECT_EQ(info.defaultNormalizedValue, 0.0);
  EXPECT_EQ(info.flags, 0x10009);

  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(expected[i].title);
    ASSERT_EQ(plug.controller->getParameterInfo(i + 2, info), kResultOk);
    EXPECT_EQ(info.id, expected[i].id);
    EXPECT_EQ(Narrow(info.title), expected[i].title);
    EXPECT_EQ(Narrow(info.shortTitle), "");
    EXPECT_EQ(Narrow(info.units), expected[i].units);
    EXPECT_EQ(info.stepCount, expected[i].stepCount);
    EXPECT_NEAR(info.defaultNormalizedValue, expected[i].defaultNormalized, 1e-15);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    EXPECT_EQ(info.unitId, 0);
    EXPECT_NEAR(plug.controller->getParamNormalized(expected[i].id), expected[i].defaultNormalized,
                1e-15);
  }
}

TEST_F(Controller, ParameterInfoOutsideTheListIsRefused) {
  ParameterInfo info = {};
  EXPECT_EQ(plug.controller->getParameterInfo(10, info), kResultFalse);
  EXPECT_EQ(plug.controller->getParameterInfo(-1, info), kResultFalse);
  EXPECT_EQ(plug.controller->getParameterInfo(0x7FFFFFFF, info), kResultFalse);
}

TEST_F(Controller, FormatsPlugInParametersForTheHost) {
  EXPECT_EQ(TextOf(kParamAttack, 3.0 / 7.0), "10.00");
  EXPECT_EQ(TextOf(kParamAttack, 0.5), "13.25");
  EXPECT_EQ(TextOf(kParamOutput, 0.5), "0.00");
  EXPECT_EQ(TextOf(kParamOutput, 0.0), "-20.00");
  EXPECT_EQ(TextOf(kParamInput, 1.0), "40.00");
  EXPECT_EQ(TextOf(kParamRelease, 1.0), "3000.00");
  EXPECT_EQ(TextOf(kParamBypass, 1.0), "1");
  EXPECT_EQ(TextOf(kParamSidechain, 0.0), "0");
}

TEST_F(Controller, OnlyPlugInParametersHaveTexts) {
  String128 text;
  text[0] = 'x';
  EXPECT_EQ(plug.controller->getParamStringByValue(kBypassId, 1.0, text), kResultFalse);
  EXPECT_EQ(plug.controller->getParamStringByValue(kBypassId, 2.0, text), kResultFalse);
  EXPECT_EQ(plug.controller->getParamStringByValue(kBypassId, -1.0, text), kResultFalse);
  EXPECT_EQ(plug.controller->getParamStringByValue(kPresetId, 0.0, text), kResultFalse);
  EXPECT_EQ(plug.controller->getParamStringByValue(8, 0.0, text), kResultFalse);
  EXPECT_EQ(text[0], 'x') << "a refused request writes nothing";
}

TEST_F(Controller, ReadsTypedValues) {
  EXPECT_DOUBLE_EQ(ValueOf(kBypassId, "on"), 1.0);
  EXPECT_DOUBLE_EQ(ValueOf(kBypassId, "off"), 0.0);
  EXPECT_DOUBLE_EQ(ValueOf(kParamOutput, "not a number"), 0.5);
  EXPECT_DOUBLE_EQ(ValueOf(kParamMix, "50"), 0.5);
  EXPECT_NEAR(ValueOf(kParamAttack, "10"), 3.0 / 7.0, 1e-15);
  EXPECT_DOUBLE_EQ(ValueOf(kParamOutput, "100"), 1.0) << "clamped to the range";
  EXPECT_DOUBLE_EQ(ValueOf(kParamOutput, "-1e9"), 0.0);
  EXPECT_DOUBLE_EQ(ValueOf(kParamOutput, "nan"), 0.5);
  String128 wide;
  Widen("1", wide);
  double value = 0.0;
  EXPECT_EQ(plug.controller->getParamValueByString(12345, wide, value), kResultFalse);
}

TEST_F(Controller, ConvertsBetweenPlainAndNormalized) {
  EXPECT_DOUBLE_EQ(plug.controller->normalizedParamToPlain(kParamAttack, 0.5), 13.25);
  EXPECT_DOUBLE_EQ(plug.controller->normalizedParamToPlain(kParamMix, 0.25), 25.0);
  EXPECT_DOUBLE_EQ(plug.controller->normalizedParamToPlain(kBypassId, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(plug.controller->normalizedParamToPlain(999, 0.3), 0.3);
  EXPECT_NEAR(plug.controller->plainParamToNormalized(kParamAttack, 10.0), 3.0 / 7.0, 1e-15);
  EXPECT_DOUBLE_EQ(plug.controller->plainParamToNormalized(kParamAttack, -5.0), 0.0);
  EXPECT_DOUBLE_EQ(plug.controller->plainParamToNormalized(kParamHpf, 1e6), 1.0);
  EXPECT_DOUBLE_EQ(plug.controller->plainParamToNormalized(999, 7.5), 7.5);
}

TEST_F(Controller, NormalizedValuesReadAndWriteTheCoreRecords) {
  EXPECT_EQ(plug.controller->getParamNormalized(kPresetId), 0.0);
  EXPECT_EQ(plug.controller->getParamNormalized(kBypassId), 0.0);
  EXPECT_EQ(plug.controller->getParamNormalized(4242), 0.0);

  EXPECT_EQ(plug.controller->setParamNormalized(kParamMix, 0.25), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 0.25);
  EXPECT_EQ(plug.controller->setParamNormalized(kParamBypass, 0.4), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamBypass), 0.0) << "rounded to 0";
  EXPECT_EQ(plug.controller->setParamNormalized(kParamBypass, 0.5), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamBypass), 1.0) << "rounded to 1";
  EXPECT_EQ(plug.controller->setParamNormalized(kParamHpf, 1.7), kResultOk);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamHpf), 1.0) << "capped at the maximum";

  EXPECT_EQ(plug.controller->setParamNormalized(kBypassId, 1.0), kResultFalse);
  EXPECT_EQ(plug.controller->getParamNormalized(kBypassId), 0.0);
  EXPECT_EQ(plug.controller->setParamNormalized(kPresetId, 0.5), kResultFalse);
}

TEST_F(Controller, HasOnlyTheRootUnit) {
  FUnknownPtr<IUnitInfo> units(plug.controller);
  ASSERT_TRUE(units);
  EXPECT_EQ(units->getUnitCount(), 1);
  UnitInfo info = {};
  ASSERT_EQ(units->getUnitInfo(0, info), kResultOk);
  EXPECT_EQ(info.id, 0);
  EXPECT_EQ(info.parentUnitId, -1);
  EXPECT_EQ(Narrow(info.name), "Root Unit");
  EXPECT_EQ(info.programListId, -1);
  EXPECT_EQ(units->getUnitInfo(1, info), kResultFalse);
  EXPECT_EQ(units->getUnitInfo(-1, info), kResultFalse);
  EXPECT_EQ(units->getSelectedUnit(), 0);
  EXPECT_EQ(units->selectUnit(0), kNotImplemented);
  UnitID unit = 5;
  EXPECT_EQ(units->getUnitByBus(kAudio, kInput, 0, 0, unit), kNotImplemented);
  EXPECT_EQ(units->setUnitProgramData(0, 0, nullptr), kNotImplemented);
}

TEST_F(Controller, DescribesTheFactoryPresetListWithoutCountingIt) {
  EXPECT_EQ(plug.units->getProgramListCount(), 0);
  ProgramListInfo list = {};
  ASSERT_EQ(plug.units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, int32(kPresetId));
  EXPECT_EQ(Narrow(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(plug.units->getProgramListInfo(1, list), kResultFalse);

  String128 name = {};
  ASSERT_EQ(plug.units->getProgramName(int32(kPresetId), 0, name), kResultOk);
  EXPECT_EQ(Narrow(name), "-");
  name[0] = 'x';
  ASSERT_EQ(plug.units->getProgramName(int32(kPresetId), 3, name), kResultOk);
  EXPECT_EQ(Narrow(name), "") << "outside the preset slots the name is empty";
  EXPECT_EQ(plug.units->getProgramName(7, 0, name), kResultFalse);
  String128 value;
  EXPECT_EQ(plug.units->getProgramInfo(int32(kPresetId), 0, "name", value), kNotImplemented);
  EXPECT_EQ(plug.units->hasProgramPitchNames(int32(kPresetId), 0), kNotImplemented);
  EXPECT_EQ(plug.units->getProgramPitchName(int32(kPresetId), 0, 60, value), kNotImplemented);
}

TEST_F(Controller, SecondaryControllerAnswers) {
  FUnknownPtr<IEditController2> controller2(plug.controller);
  ASSERT_TRUE(controller2);
  EXPECT_EQ(controller2->setKnobMode(kLinearMode), kResultOk);
  EXPECT_EQ(controller2->openHelp(false), kResultFalse);
  EXPECT_EQ(controller2->openAboutBox(false), kResultFalse);
  EXPECT_EQ(plug.controller->createView(nullptr), nullptr);
  EXPECT_EQ(plug.controller->createView("Editor"), nullptr);
  EXPECT_EQ(plug.controller->createView("editors"), nullptr);
}
