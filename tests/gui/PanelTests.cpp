// Brask's panel as the plug-in builds it: the ten controls, their pictures, rectangles and
// parameters, what they show right after the editor is attached, and a click on the power
// switch travelling to the core and the host.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Brask.h"
#include "gui/IBitmapControl.h"
#include "gui/IGraphics.h"
#include "gui/IKnobMultiControl.h"
#include "gui/ISwitchControl.h"

namespace {

enum class Kind { Bitmap, Switch, Knob };

struct Expected {
  Kind kind;
  IRectangle rect;
  int paramIdx;
  int frames;
  int stripWidth;
  int stripHeight;
};

// The panel, control by control, in list order.
const Expected kPanel[] = {
    {Kind::Bitmap, {0, 0, 796, 472}, -1, 1, 796, 472},
    {Kind::Switch, {321, 345, 370, 394}, kParamBypass, 2, 49, 98},
    {Kind::Switch, {431, 345, 482, 394}, kParamSidechain, 2, 51, 98},
    {Kind::Knob, {145, 311, 262, 428}, kParamInput, 121, 117, 14157},
    {Kind::Knob, {528, 311, 645, 428}, kParamOutput, 121, 117, 14157},
    {Kind::Knob, {119, 140, 145, 165}, kParamAttack, 61, 26, 1525},
    {Kind::Knob, {120, 191, 145, 217}, kParamRelease, 61, 25, 1586},
    {Kind::Knob, {655, 140, 680, 165}, kParamMix, 61, 25, 1525},
    {Kind::Knob, {655, 191, 680, 217}, kParamHpf, 61, 25, 1586},
    {Kind::Bitmap, {316, 68, 487, 168}, -1, 101, 171, 10100},
};

const IBitmapStrip* StripOf(IControl* control) {
  if (auto* knob = dynamic_cast<IKnobMultiControl*>(control)) return &knob->Strip();
  if (auto* bitmap = dynamic_cast<IBitmapControl*>(control)) return &bitmap->Strip();
  return nullptr;
}

class Panel : public ::testing::Test {
 protected:
  Panel() : plug(nullptr) {}

  IGraphics* Editor() { return plug.Editor(); }
  int FrameOf(int idx) {
    auto* knob = dynamic_cast<IKnobMultiControl*>(Editor()->GetControl(idx));
    if (knob) return knob->CurrentFrame();
    auto* bitmap = dynamic_cast<IBitmapControl*>(Editor()->GetControl(idx));
    return bitmap ? bitmap->CurrentFrame() : -1;
  }

  Brask plug;
};

TEST_F(Panel, HoldsTenControlsWithTheMeterLast) {
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->Width(), 796);
  EXPECT_EQ(Editor()->Height(), 472);
  EXPECT_EQ(Editor()->FrameRate(), 25);
  EXPECT_EQ(Editor()->NControls(), 10);
  EXPECT_EQ(plug.MeterControlIndex(), 9);
}

TEST_F(Panel, ControlsHaveTheirClassRectangleParameterAndPicture) {
  ASSERT_NE(Editor(), nullptr);
  ASSERT_EQ(Editor()->NControls(), 10);
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE("control " + std::to_string(i));
    IControl* control = Editor()->GetControl(i);
    const Expected& want = kPanel[i];
    switch (want.kind) {
      case Kind::Bitmap:
        EXPECT_NE(dynamic_cast<IBitmapControl*>(control), nullptr);
        EXPECT_EQ(dynamic_cast<ISwitchControl*>(control), nullptr);
        break;
      case Kind::Switch:
        EXPECT_NE(dynamic_cast<ISwitchControl*>(control), nullptr);
        break;
      case Kind::Knob: {
        auto* knob = dynamic_cast<IKnobMultiControl*>(control);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->DragDirection(), IKnobControl::kVertical);
        EXPECT_DOUBLE_EQ(knob->Gearing(), 4.0);
        break;
      }
    }
    EXPECT_EQ(control->Rect(), want.rect);
    EXPECT_EQ(control->ParamIdx(), want.paramIdx);
    EXPECT_EQ(control->Blend().method, i == 0 ? Replace : Over);
    const IBitmapStrip* strip = StripOf(control);
    ASSERT_NE(strip, nullptr);
    EXPECT_NE(strip->surface, nullptr) << "picture not embedded";
    EXPECT_EQ(strip->frameCount, want.frames);
    EXPECT_EQ(strip->width, want.stripWidth);
    EXPECT_EQ(strip->height, want.stripHeight);
  }
}

TEST_F(Panel, ShowsTheDefaultsOnceAttached) {
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(FrameOf(5), 27) << "\"Attack\" at its default";
  EXPECT_EQ(FrameOf(4), 61) << "\"Output\" at its default";
  EXPECT_EQ(FrameOf(1), 2) << "\"Bypass\" 1: the power lamp is lit";
  EXPECT_EQ(FrameOf(2), 1) << "\"Sidechain\" 0: lamp dark";
  EXPECT_EQ(FrameOf(9), 1) << "the meter rests at 0 VU until audio flows";
  EXPECT_NE(Editor()->DrawSurface(), nullptr);
}

TEST_F(Panel, ClickingThePowerSwitchTurnsProcessingOff) {
  ASSERT_NE(Editor(), nullptr);
  IMouseState left;
  left.left = true;
  Editor()->HandleMouseDown(345, 370, left);
  Editor()->HandleMouseUp(345, 370, left);
  EXPECT_DOUBLE_EQ(plug.ParamAt(kParamBypass)->Value(), 0.0);
  EXPECT_EQ(FrameOf(1), 1);
  ASSERT_EQ(plug.calls.size(), 3u);
  EXPECT_EQ(plug.calls[0].kind, AdaptorCall::BeginGesture);
  EXPECT_EQ(plug.calls[1].kind, AdaptorCall::InformValue);
  EXPECT_DOUBLE_EQ(plug.calls[1].value, 0.0);
  EXPECT_EQ(plug.calls[2].kind, AdaptorCall::EndGesture);
  for (const AdaptorCall& call : plug.calls) EXPECT_EQ(call.index, int(kParamBypass));

  // Switched off, the main input passes through unchanged.
  plug.SetSampleRate(48000.0);
  plug.OnReset();
  for (int p = 0; p < plug.ParamCount(); ++p) plug.OnParamChanged(p);
  constexpr int kFrames = 64;
  double in[4][kFrames] = {};
  double out[2][kFrames] = {};
  for (int n = 0; n < kFrames; ++n) {
    in[0][n] = 0.9 * std::sin(0.1 * n);
    in[1][n] = -0.7 * std::cos(0.05 * n);
  }
  double* inputs[4] = {in[0], in[1], in[2], in[3]};
  double* outputs[2] = {out[0], out[1]};
  plug.ProcessBlock(inputs, outputs, kFrames);
  for (int n = 0; n < kFrames; ++n) {
    ASSERT_EQ(out[0][n], in[0][n]) << "frame " << n;
    ASSERT_EQ(out[1][n], in[1][n]) << "frame " << n;
  }
}

TEST_F(Panel, FirstPaintCoversTheWholePanel) {
  ASSERT_NE(Editor(), nullptr);
  bool anyDirty = false;
  EXPECT_EQ(Editor()->CollectDirtyArea(&anyDirty), (IRectangle{0, 0, 796, 472}));
  EXPECT_TRUE(anyDirty);
}

}  // namespace
