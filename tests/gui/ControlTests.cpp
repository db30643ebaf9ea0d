// Control behaviour: knob gearing and wheel steps, switch cycling, the default a double click
// restores, hit rectangles and the first value from the core.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GuiTestCore.h"
#include "gui/IKnobMultiControl.h"
#include "gui/ISwitchControl.h"
#include "gui/StripFrame.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  Controls() : core(TwoParamIdentity()) { DefineTwoParams(&core); }

  // The core's normalized value of parameter p.
  double CoreValue(int p) { return core.ParamAt(p)->NormalizedValue(); }

  MenuRecordingCore<kApiVST3> core;
};

// A 117 x 117 knob at (145, 311), like the panel's large knobs, starting at 0.5.
class Knob : public Controls {
 protected:
  Knob() : knob(&core, 145, 311, 0, GeometryStrip(117, 117, 121)) { knob.SetValueFromCore(0.5); }
  IKnobMultiControl knob;
};

TEST_F(Knob, DraggingUpByItsHeightAddsAQuarter) {
  knob.MouseDrag(0, 0, 0, -117, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.75);
  EXPECT_DOUBLE_EQ(CoreValue(0), 0.75) << "each drag step is sent to the core";
  knob.MouseDrag(0, 0, 0, 117, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.5) << "moving down turns the knob down";
}

TEST_F(Knob, ShiftOrCtrlMakeTheDragTenTimesFiner) {
  IMouseState shift = LeftButton();
  shift.shift = true;
  knob.MouseDrag(0, 0, 0, -117, shift);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.525);
  IMouseState ctrl = LeftButton();
  ctrl.control = true;
  knob.MouseDrag(0, 0, 0, -117, ctrl);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.55);
}

TEST_F(Knob, DragClampsOnEveryStepSoMovingBackRespondsAtOnce) {
  knob.MouseDrag(0, 0, 0, -117 * 4, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 1.0);
  knob.MouseDrag(0, 0, 0, 117, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.75);
}

TEST_F(Knob, HorizontalKnobFollowsTheWidth) {
  IKnobMultiControl wide(&core, 0, 0, 1, GeometryStrip(40, 10, 61), IKnobControl::kHorizontal, 4.0);
  wide.SetValueFromCore(0.0);
  wide.MouseDrag(0, 0, 40, -99, LeftButton());
  EXPECT_DOUBLE_EQ(wide.Value(), 0.25);
}

TEST_F(Knob, WheelNotchesStepByAHundredthOrAThousandth) {
  knob.MouseWheel(0, 0, IMouseState(), 1);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.51);
  IMouseState fine;
  fine.shift = true;
  knob.MouseWheel(0, 0, fine, -3);
  EXPECT_NEAR(knob.Value(), 0.507, 1e-12);
  EXPECT_NEAR(CoreValue(0), 0.507, 1e-12);
  knob.MouseWheel(0, 0, IMouseState(), 100);
  EXPECT_DOUBLE_EQ(knob.Value(), 1.0) << "the wheel never leaves 0..1";
  knob.MouseWheel(0, 0, IMouseState(), -250);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.0);
}

TEST_F(Knob, DoubleClickRestoresTheFirstValueShownAndSendsIt) {
  knob.MouseDrag(0, 0, 0, -50, LeftButton());
  ASSERT_NE(knob.Value(), 0.5);
  core.calls.clear();
  knob.MouseDoubleClick(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.5);
  EXPECT_DOUBLE_EQ(CoreValue(0), 0.5);
  ASSERT_EQ(core.CallsOf(AdaptorCall::InformValue).size(), 1u);
  EXPECT_DOUBLE_EQ(core.CallsOf(AdaptorCall::InformValue)[0].value, 0.5);
}

TEST_F(Controls, DoubleClickWithoutAKnownDefaultDoesNothing) {
  IKnobMultiControl knob(&core, 0, 0, 0, GeometryStrip(20, 20, 61));
  knob.MouseDoubleClick(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(knob.Value(), 0.0);
  EXPECT_TRUE(core.calls.empty());
}

TEST_F(Controls, FirstValueFromTheCoreBecomesTheDefaultWithoutNewPaints) {
  ProbeControl control(&core, {0, 0, 10, 10}, 0);
  control.MarkClean();  // the construction paint done
  control.SetValueFromCore(0.3);
  EXPECT_DOUBLE_EQ(control.Value(), 0.3);
  EXPECT_DOUBLE_EQ(control.DefaultValue(), 0.3);
  EXPECT_FALSE(control.NeedsRedraw());
  control.SetValueFromCore(0.6);
  EXPECT_DOUBLE_EQ(control.DefaultValue(), 0.3);
  EXPECT_TRUE(control.NeedsRedraw());
  EXPECT_TRUE(core.calls.empty()) << "values from the core never go back to it";
}

TEST_F(Controls, LaterValuesFromTheCoreAreClampedButTheFirstIsKept) {
  ProbeControl control(&core, {0, 0, 10, 10}, -1);
  control.SetValueFromCore(1.7);
  EXPECT_DOUBLE_EQ(control.Value(), 1.7);
  control.SetValueFromCore(-0.2);
  EXPECT_DOUBLE_EQ(control.Value(), 0.0);
  control.SetValueFromCore(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(std::isnan(control.Value())) << "a NaN must not survive the clamp";
}

TEST_F(Controls, TwoFrameSwitchAlternatesAndSendsEveryClick) {
  ISwitchControl power(&core, 0, 0, 1, GeometryStrip(49, 49, 2));
  power.SetValueFromCore(1.0);
  power.MouseDown(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(power.Value(), 0.0);
  power.MouseDown(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(power.Value(), 1.0);
  power.MouseDoubleClick(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(power.Value(), 0.0) << "a double click is one more click";
  EXPECT_EQ(core.CallsOf(AdaptorCall::InformValue).size(), 3u);
}

TEST_F(Controls, SwitchStepsThroughEveryFrameThenWraps) {
  ISwitchControl three(&core, 0, 0, -1, GeometryStrip(10, 10, 3));
  const double expected[] = {0.5, 1.0, 0.0, 0.5};
  for (double value : expected) {
    three.MouseDown(0, 0, LeftButton());
    EXPECT_DOUBLE_EQ(three.Value(), value);
  }
  ISwitchControl single(&core, 0, 0, -1, GeometryStrip(10, 10, 1));
  single.MouseDown(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(single.Value(), 1.0);
  single.MouseDown(0, 0, LeftButton());
  EXPECT_DOUBLE_EQ(single.Value(), 0.0);
}

TEST_F(Controls, HitTestIncludesLeftAndTopEdgesOnly) {
  ProbeControl control(&core, {10, 20, 30, 40}, -1);
  EXPECT_TRUE(control.HitTest(10, 20));
  EXPECT_TRUE(control.HitTest(29, 39));
  EXPECT_FALSE(control.HitTest(30, 25));
  EXPECT_FALSE(control.HitTest(15, 40));
  EXPECT_FALSE(control.HitTest(9, 25));
  ProbeControl empty(&core, {}, -1);
  EXPECT_FALSE(empty.HitTest(0, 0));
}

TEST_F(Controls, GreyingQuartersTheBlendWeight) {
  ProbeControl control(&core, {0, 0, 10, 10}, -1);
  control.SetGreyed(true);
  EXPECT_FLOAT_EQ(control.Blend().weight, 0.25f);
  control.SetGreyed(false);
  EXPECT_FLOAT_EQ(control.Blend().weight, 1.0f);
}

TEST_F(Controls, ControlRectangleIsOneFrame) {
  IKnobMultiControl attack(&core, 119, 140, 0, GeometryStrip(26, 25, 61));
  EXPECT_EQ(attack.Rect(), (IRectangle{119, 140, 145, 165}));
  EXPECT_EQ(attack.TargetRect(), attack.Rect());
  IBitmapStrip sideBySide = GeometryStrip(10, 20, 1);
  sideBySide.width = 40;
  sideBySide.frameCount = 4;
  sideBySide.framesSideBySide = true;
  EXPECT_EQ(StripFrameRect(sideBySide, 5, 6), (IRectangle{5, 6, 15, 26}));
}

TEST(StripFrames, ValueSelectsTheNearestFrameWithinTheStrip) {
  const IBitmapStrip knob = GeometryStrip(117, 117, 121);
  EXPECT_EQ(StripFrameForValue(knob, 0.0), 1);
  EXPECT_EQ(StripFrameForValue(knob, 0.5), 61);
  EXPECT_EQ(StripFrameForValue(knob, 1.0), 121);
  EXPECT_EQ(StripFrameForValue(knob, 7.0), 121);
  EXPECT_EQ(StripFrameForValue(knob, -3.0), 1);
  EXPECT_EQ(StripFrameForValue(knob, std::numeric_limits<double>::quiet_NaN()), 1);
  EXPECT_EQ(StripFrameForValue(GeometryStrip(26, 25, 61), 3.0 / 7.0), 27);
  EXPECT_EQ(StripFrameForValue(GeometryStrip(171, 100, 101), 0.234), 24);
  EXPECT_EQ(StripFrameForValue(GeometryStrip(5, 5, 1), 0.9), 1);
}

TEST(StripFrames, FrameOffsetsFollowTheStripHeight) {
  const IBitmapStrip meter = GeometryStrip(171, 100, 101);
  EXPECT_EQ(StripFrameOffset(meter, 1), 0);
  EXPECT_EQ(StripFrameOffset(meter, 2), 100);
  EXPECT_EQ(StripFrameOffset(meter, 101), 10000);
  IBitmapStrip uneven = GeometryStrip(10, 1, 3);
  uneven.height = 10;  // 10 rows for 3 frames: offsets round to the nearest row
  EXPECT_EQ(StripFrameOffset(uneven, 2), 3);
  EXPECT_EQ(StripFrameOffset(uneven, 3), 7);
}

}  // namespace
