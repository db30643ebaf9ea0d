#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/IParamRecord.h"

namespace {

IParamRecord DoubleParam(double defaultValue, double min, double max, double step,
                         double shape = 1.0) {
  IParamRecord param;
  param.DefineDouble("P", defaultValue, min, max, step, "%", "", shape);
  return param;
}

IParamRecord IntParam(int defaultValue, int min, int max) {
  IParamRecord param;
  param.DefineInt("I", defaultValue, min, max, "", "");
  return param;
}

std::string Format(const IParamRecord& param, double v, bool isNormalized = false) {
  char text[64];
  param.FormatForHost(v, isNormalized, text, sizeof(text), true);
  return text;
}

}  // namespace

TEST(ParamDefinition, FreshRecordHoldsNeutralValues) {
  IParamRecord param;
  EXPECT_EQ(param.Kind(), ParamKindNone);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.Min(), 0.0);
  EXPECT_EQ(param.Max(), 1.0);
  EXPECT_EQ(param.Step(), 1.0);
  EXPECT_EQ(param.Shape(), 1.0);
  EXPECT_EQ(param.DisplayPrecision(), 0);
  EXPECT_STREQ(param.Name(), "");
  EXPECT_STREQ(param.Label(), "");
  EXPECT_STREQ(param.Group(), "");
  EXPECT_TRUE(param.CanAutomate());
}

TEST(ParamDefinition, DisplayPrecisionFollowsTheStep) {
  EXPECT_EQ(DoubleParam(0, 0, 1, 0.01).DisplayPrecision(), 2);
  EXPECT_EQ(DoubleParam(0, 0, 1, 1.0).DisplayPrecision(), 0);
  EXPECT_EQ(DoubleParam(0, 0, 1, 0.001).DisplayPrecision(), 3);
  EXPECT_EQ(DoubleParam(0, 0, 1, 0.5).DisplayPrecision(), 1);
  EXPECT_EQ(DoubleParam(0, 0, 1, 1.0 / 3.0).DisplayPrecision(), 6);
}

TEST(ParamDefinition, MaximumIsRaisedToOneStepAboveMinimum) {
  IParamRecord param = DoubleParam(5, 5, 5.5, 1);
  EXPECT_EQ(param.Max(), 6.0);
  EXPECT_EQ(param.Value(), 5.0);
  EXPECT_EQ(param.Default(), 5.0);
}

TEST(ParamDefinition, IntegerDefinitionKeepsItsKind) {
  IParamRecord param = IntParam(1, 0, 1);
  EXPECT_EQ(param.Kind(), ParamKindInt);
  EXPECT_EQ(param.Step(), 1.0);
  EXPECT_EQ(param.DisplayPrecision(), 0);
  EXPECT_EQ(param.Value(), 1.0);
  param.DefineDouble("again", 0, 0, 10, 0.1, "", "", 1);
  EXPECT_EQ(param.Kind(), ParamKindInt) << "only a fresh record takes the definition's kind";
}

TEST(ParamDefinition, ZeroShapeKeepsThePreviousShape) {
  IParamRecord param = DoubleParam(0, 0, 1, 0.01, 2.0);
  param.SetShapeExponent(0.0);
  EXPECT_EQ(param.Shape(), 2.0);
  param.SetShapeExponent(3.0);
  EXPECT_EQ(param.Shape(), 3.0);
}

TEST(ParamDefinition, LongTextsAreCutToTheirFields) {
  const std::string longName(40, 'n');
  const std::string longLabel(50, 'l');
  IParamRecord param;
  param.DefineDouble(longName.c_str(), 0, 0, 1, 0.01, longLabel.c_str(), "g", 1);
  EXPECT_EQ(std::string(param.Name()), longName.substr(0, 31));
  EXPECT_EQ(std::string(param.Label()), longLabel.substr(0, 31));
  EXPECT_STREQ(param.Group(), "g");
  param.DefineDouble(nullptr, 0, 0, 1, 0.01, nullptr, nullptr, 1);
  EXPECT_STREQ(param.Name(), "");
}

TEST(ParamMapping, ShapeTwoSpendsTravelOnTheLowEnd) {
  IParamRecord attack = DoubleParam(10, 1, 50, 0.01, 2.0);
  EXPECT_EQ(attack.PlainFromNormalized(0.5), 13.25);
  EXPECT_DOUBLE_EQ(attack.NormalizedFromPlain(10.0), 3.0 / 7.0);
  EXPECT_DOUBLE_EQ(attack.NormalizedValue(), 3.0 / 7.0);
  for (int i = 0; i <= 20; ++i) {
    double n = i / 20.0;
    EXPECT_NEAR(attack.NormalizedFromPlain(attack.PlainFromNormalized(n)), n, 1e-12) << n;
  }
}

TEST(ParamMapping, PlainValuesOutsideTheRangeAreClamped) {
  IParamRecord param = DoubleParam(0, -20, 20, 0.01);
  EXPECT_EQ(param.NormalizedFromPlain(-30), 0.0);
  EXPECT_EQ(param.NormalizedFromPlain(30), 1.0);
  EXPECT_EQ(param.NormalizedFromPlain(0), 0.5);
}

TEST(ParamSetting, IntegerValuesSnapToTheStep) {
  IParamRecord bypass = IntParam(1, 0, 1);
  bypass.SetValueFromNormalized(0.4);
  EXPECT_EQ(bypass.Value(), 0.0);
  bypass.SetValueFromNormalized(0.5);
  EXPECT_EQ(bypass.Value(), 1.0);
  IParamRecord count = IntParam(0, 0, 10);
  count.SetValueFromNormalized(0.34);
  EXPECT_EQ(count.Value(), 3.0);
}

TEST(ParamSetting, DoubleValuesAreNotSnappedButCappedAtMaximum) {
  IParamRecord mix = DoubleParam(100, 0, 100, 0.01);
  mix.SetValueFromNormalized(0.5);
  EXPECT_EQ(mix.Value(), 50.0);
  mix.SetValueFromNormalized(0.123456);
  EXPECT_DOUBLE_EQ(mix.Value(), 12.3456);
  mix.SetValueFromNormalized(1.2);
  EXPECT_EQ(mix.Value(), 100.0);
}

TEST(ParamSetting, ClampedSetKeepsTheRange) {
  IParamRecord release = DoubleParam(400, 100, 3000, 0.01, 2.0);
  release.SetValueClamped(5);
  EXPECT_EQ(release.Value(), 100.0);
  release.SetValueClamped(4000);
  EXPECT_EQ(release.Value(), 3000.0);
  release.SetValueClamped(123.456);
  EXPECT_EQ(release.Value(), 123.456) << "no snapping to the step";
}

TEST(ParamSetting, NotANumberNeverBecomesTheValue) {
  IParamRecord release = DoubleParam(400, 100, 3000, 0.01, 2.0);
  release.SetValueClamped(2000);
  release.SetValueFromNormalized(std::nan(""));
  EXPECT_EQ(release.Value(), 2000.0);
  release.SetValueClamped(std::nan(""));
  EXPECT_EQ(release.Value(), 400.0) << "a damaged state value falls back to the default";
}

TEST(ParamDisplay, NumbersUseThePrecision) {
  IParamRecord param = DoubleParam(0, -100, 100, 0.01);
  EXPECT_EQ(Format(param, 10.0), "10.00");
  EXPECT_EQ(Format(param, -3.5), "-3.50");
  EXPECT_EQ(Format(param, -0.004), "-0.00");
  IParamRecord attack = DoubleParam(10, 1, 50, 0.01, 2.0);
  EXPECT_EQ(Format(attack, 0.5, true), "13.25");
}

TEST(ParamDisplay, IntegerDisplayTruncatesTowardZero) {
  IParamRecord param = DoubleParam(0, -10, 10, 1);
  EXPECT_EQ(Format(param, 1.0), "1");
  EXPECT_EQ(Format(param, 0.999), "0");
  EXPECT_EQ(Format(param, -0.999), "0");
  EXPECT_EQ(Format(param, -2.7), "-2");
  EXPECT_EQ(Format(param, 1e300), "2147483647") << "out-of-range values saturate";
}

TEST(ParamDisplay, TextStaysInsideTheCallersBuffer) {
  IParamRecord release = DoubleParam(400, 100, 3000, 0.01);
  char text[8];
  memset(text, '#', sizeof(text));
  release.FormatForHost(1234.5, false, text, 5, true);
  EXPECT_STREQ(text, "1234");
  EXPECT_EQ(text[5], '#');
  release.FormatForHost(1234.5, false, text, 0, true);
  EXPECT_EQ(text[0], '1') << "a zero-size buffer is not written";
}

TEST(ParamDisplay, DisplayTextsReplaceNumbers) {
  IParamRecord power = IntParam(1, 0, 2);
  power.AddDisplayText(1, "On");
  power.AddDisplayText(2, "");
  EXPECT_EQ(power.DisplayTextCount(), 2);
  EXPECT_EQ(Format(power, 1.0), "On");
  EXPECT_EQ(Format(power, 1.7), "On");
  EXPECT_EQ(Format(power, 0.0), "0");
  EXPECT_EQ(Format(power, 2.0), "2") << "an empty text falls back to the number";
  char text[16];
  power.FormatForHost(1.0, false, text, sizeof(text), false);
  EXPECT_STREQ(text, "1");
  EXPECT_STREQ(power.FindDisplayText(3), "");
  EXPECT_EQ(power.ValueForDisplayText("On"), 1.0);
  EXPECT_EQ(power.ValueForDisplayText("Off"), 0.0);
}

TEST(ParamDisplay, UnitIsTheLabelUnlessATextShows) {
  IParamRecord input = DoubleParam(0, 0, 40, 0.01);
  EXPECT_STREQ(input.UnitForHost(), "%");
  IParamRecord power;
  power.DefineInt("Power", 1, 0, 1, "state", "");
  power.AddDisplayText(1, "On");
  EXPECT_STREQ(power.UnitForHost(), "");
  power.SetValueClamped(0);
  EXPECT_STREQ(power.UnitForHost(), "state");
}

TEST(ParamDisplay, NegatedDisplayFlipsTheSign) {
  IParamRecord param = DoubleParam(0, -10, 10, 0.01);
  param.SetNegateDisplay(true);
  EXPECT_EQ(Format(param, 3.5), "-3.50");
}
