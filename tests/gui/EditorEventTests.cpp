// Event dispatch of the editor: which control a press, release, drag, wheel, double click or
// key reaches, and the host gestures that bracket a press.

#include <gtest/gtest.h>

#include "GuiTestCore.h"

namespace {

class EditorEvents : public ::testing::Test {
 protected:
  EditorEvents() : core(TwoParamIdentity()), editor(&core, 200, 100, 25) {
    DefineTwoParams(&core);
    background = Add({0, 0, 200, 100}, -1);
  }

  ProbeControl* Add(const IRectangle& rect, int paramIdx) {
    auto* control = new ProbeControl(&core, rect, paramIdx);
    editor.AddControl(control);
    return control;
  }

  MenuRecordingCore<kApiVST3> core;
  IGraphicsPortable editor;
  ProbeControl* background = nullptr;
};

TEST_F(EditorEvents, ControlListAnswersIndicesAndNothingOutsideIt) {
  ProbeControl* first = Add({10, 10, 20, 20}, -1);
  EXPECT_EQ(editor.AddControl(new ProbeControl(&core, {0, 0, 1, 1}, -1)), 2);
  EXPECT_EQ(editor.NControls(), 3);
  EXPECT_EQ(editor.GetControl(1), first);
  EXPECT_EQ(editor.GetControl(3), nullptr);
  EXPECT_EQ(editor.GetControl(-1), nullptr);

  auto* backdrop = new ProbeControl(&core, {0, 0, 5, 5}, -1);
  EXPECT_EQ(editor.AddBackdrop(backdrop), backdrop);
  EXPECT_EQ(editor.GetControl(0), backdrop);
  EXPECT_EQ(editor.GetControl(2), first) << "AddBackdrop shifts every control up by one";
}

TEST_F(EditorEvents, PressGoesToTheControlAddedLast) {
  ProbeControl* lower = Add({10, 10, 50, 50}, -1);
  ProbeControl* upper = Add({30, 30, 70, 70}, -1);
  editor.HandleMouseDown(40, 40, LeftButton());
  EXPECT_EQ(upper->downs, 1);
  EXPECT_EQ(lower->downs, 0);
  EXPECT_EQ(editor.CaptureIndex(), 2);
  editor.HandleMouseDown(15, 15, LeftButton());
  EXPECT_EQ(lower->downs, 1);
  EXPECT_EQ(editor.CaptureIndex(), 1);
}

TEST_F(EditorEvents, HiddenAndGreyedControlsAreNeverPressedWheeledOrDoubleClicked) {
  ProbeControl* lower = Add({10, 10, 50, 50}, -1);
  ProbeControl* hidden = Add({10, 10, 50, 50}, -1);
  ProbeControl* greyed = Add({10, 10, 50, 50}, -1);
  hidden->SetHidden(true);
  greyed->SetGreyed(true);
  editor.HandleMouseDown(20, 20, LeftButton());
  editor.HandleMouseUp(20, 20, LeftButton());
  editor.HandleWheel(20, 20, IMouseState(), 3);
  editor.HandleDoubleClick(20, 20, LeftButton());
  EXPECT_EQ(lower->downs, 1);
  EXPECT_EQ(lower->wheelClicks, 3);
  EXPECT_EQ(lower->doubleClicks, 1);
  for (ProbeControl* skipped : {hidden, greyed}) {
    EXPECT_EQ(skipped->downs + skipped->ups + skipped->wheelClicks + skipped->doubleClicks, 0);
  }
}

TEST_F(EditorEvents, PressWhereNoControlIsHitDoesNothing) {
  editor.HandleMouseDown(500, 500, LeftButton());
  editor.HandleMouseUp(500, 500, LeftButton());
  editor.HandleWheel(-3, 40, IMouseState(), 1);
  EXPECT_EQ(editor.CaptureIndex(), -1);
  EXPECT_EQ(background->downs + background->ups + background->wheelClicks, 0);
  EXPECT_TRUE(core.calls.empty());
}

TEST_F(EditorEvents, PressAndReleaseBracketAHostGesture) {
  ProbeControl* knob = Add({10, 10, 50, 50}, 1);
  editor.HandleMouseDown(20, 20, LeftButton());
  ASSERT_EQ(core.calls.size(), 1u);
  EXPECT_EQ(core.calls[0].kind, AdaptorCall::BeginGesture);
  EXPECT_EQ(core.calls[0].index, 1);
  // Released far away: the captured control still gets the release and ends its gesture.
  editor.HandleMouseUp(190, 90, LeftButton());
  EXPECT_EQ(knob->ups, 1);
  EXPECT_EQ(background->ups, 0);
  ASSERT_EQ(core.calls.size(), 2u);
  EXPECT_EQ(core.calls[1].kind, AdaptorCall::EndGesture);
  EXPECT_EQ(core.calls[1].index, 1);
  EXPECT_EQ(editor.CaptureIndex(), -1);
}

TEST_F(EditorEvents, ControlWithoutParameterMakesNoGesture) {
  editor.HandleMouseDown(5, 5, LeftButton());
  editor.HandleMouseUp(5, 5, LeftButton());
  EXPECT_EQ(background->downs, 1);
  EXPECT_EQ(background->ups, 1);
  EXPECT_TRUE(core.calls.empty());
}

TEST_F(EditorEvents, RightPressUnderVst3OpensTheHostMenuInstead) {
  ProbeControl* knob = Add({10, 10, 50, 50}, 0);
  IMouseState right;
  right.right = true;
  editor.HandleMouseDown(12, 34, right);
  EXPECT_EQ(knob->downs, 0);
  EXPECT_EQ(editor.CaptureIndex(), -1);
  ASSERT_EQ(core.menuRequests.size(), 1u);
  EXPECT_EQ(core.menuRequests[0].paramIdx, 0);
  EXPECT_EQ(core.menuRequests[0].x, 12);
  EXPECT_EQ(core.menuRequests[0].y, 34);
  EXPECT_TRUE(core.calls.empty()) << "no gesture begins";
}

TEST(EditorEventsVst2, RightPressReachesTheKnobInsideAGesture) {
  MenuRecordingCore<kApiVST2> core(TwoParamIdentity());
  DefineTwoParams(&core);
  IGraphicsPortable editor(&core, 100, 100, 25);
  auto* knob = new ProbeControl(&core, {10, 10, 50, 50}, 0);
  editor.AddControl(knob);
  IMouseState right;
  right.right = true;
  editor.HandleMouseDown(20, 20, right);
  editor.HandleMouseUp(20, 20, right);
  EXPECT_EQ(knob->downs, 1);
  EXPECT_TRUE(core.menuRequests.empty());
  ASSERT_EQ(core.calls.size(), 2u);
  EXPECT_EQ(core.calls[0].kind, AdaptorCall::BeginGesture);
  EXPECT_EQ(core.calls[1].kind, AdaptorCall::EndGesture);
}

TEST_F(EditorEvents, DragReportsMovementSinceTheLastEventAndIgnoresStillEvents) {
  ProbeControl* knob = Add({10, 10, 50, 50}, 0);
  editor.HandleMouseDrag(30, 30, LeftButton());
  EXPECT_EQ(knob->drags, 0) << "no drag without a press";
  editor.HandleMouseDown(20, 20, LeftButton());
  editor.HandleMouseDrag(23, 15, LeftButton());
  EXPECT_EQ(knob->drags, 1);
  EXPECT_EQ(knob->lastDX, 3);
  EXPECT_EQ(knob->lastDY, -5);
  editor.HandleMouseDrag(23, 15, LeftButton());
  EXPECT_EQ(knob->drags, 1) << "no movement since the last drag";
  editor.HandleMouseDrag(100, 90, LeftButton());
  EXPECT_EQ(knob->drags, 2) << "drags follow the press even outside the control";
  EXPECT_EQ(knob->lastDX, 77);
}

TEST_F(EditorEvents, WheelGoesToTheCapturedControlFirst) {
  ProbeControl* left = Add({10, 10, 50, 50}, -1);
  ProbeControl* right = Add({60, 10, 100, 50}, -1);
  editor.HandleMouseDown(20, 20, LeftButton());
  editor.HandleWheel(70, 20, IMouseState(), -2);
  EXPECT_EQ(left->wheelClicks, -2);
  EXPECT_EQ(right->wheelClicks, 0);
}

TEST_F(EditorEvents, DoubleClickAsClickPressesWithoutGesture) {
  ProbeControl* toggle = Add({10, 10, 50, 50}, 0);
  toggle->SetDoubleClickAsClick(true);
  editor.HandleDoubleClick(20, 20, LeftButton());
  EXPECT_EQ(toggle->downs, 1);
  EXPECT_EQ(toggle->doubleClicks, 0);
  EXPECT_EQ(editor.CaptureIndex(), 1);
  EXPECT_TRUE(core.calls.empty());
}

TEST_F(EditorEvents, KeysOverTheBackgroundGoToTheKeyCatcher) {
  ProbeControl* knob = Add({10, 10, 50, 50}, -1);
  EXPECT_FALSE(editor.HandleKeyDown(150, 80, KeySpace)) << "no key catcher: not handled";
  EXPECT_EQ(background->lastKey, -1);
  EXPECT_TRUE(editor.HandleKeyDown(20, 20, KeyArrowUp));
  EXPECT_EQ(knob->lastKey, KeyArrowUp);

  auto* catcher = new ProbeControl(&core, {}, -1);
  editor.SetKeyCatcher(catcher);
  EXPECT_TRUE(editor.HandleKeyDown(150, 80, KeyA));
  EXPECT_EQ(catcher->lastKey, KeyA);
  EXPECT_TRUE(editor.HandleKeyDown(500, 500, KeyZ));
  EXPECT_EQ(catcher->lastKey, KeyZ);
}

TEST_F(EditorEvents, MouseOverIsOffUnlessEnabled) {
  EXPECT_FALSE(editor.HandleMouseOver(20, 20, IMouseState()));
  EXPECT_EQ(editor.MouseOverIndex(), -1);
  editor.SetHandleMouseOver(true);
  Add({10, 10, 50, 50}, -1);
  EXPECT_TRUE(editor.HandleMouseOver(20, 20, IMouseState()));
  EXPECT_EQ(editor.MouseOverIndex(), 1);
  editor.HandleMouseOut();
  EXPECT_EQ(editor.MouseOverIndex(), -1);
}

TEST(PortableEditor, AnswersNoWindow) {
  MenuRecordingCore<kApiVST3> core(TwoParamIdentity());
  IGraphicsPortable editor(&core, 796, 472, 25);
  EXPECT_EQ(editor.OpenEditorWindow(nullptr), nullptr);
  EXPECT_EQ(editor.GetNativeWindow(), nullptr);
  EXPECT_FALSE(editor.IsWindowOpen());
  std::string text = "left over";
  EXPECT_FALSE(editor.ReadClipboardText(&text));
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(editor.Width(), 796);
  EXPECT_EQ(editor.Height(), 472);
  EXPECT_EQ(editor.FrameRate(), 25);
}

}  // namespace
