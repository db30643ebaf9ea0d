// The value prompt a right click opens when a control enables prompts, the loose draw-pass
// variant, and resizing the editor.

#include <gtest/gtest.h>

#include <string>

#include "GuiTestCore.h"

namespace {

// Records the text entries and menus the editor asks the window layer for.
class EntryRecordingEditor : public IGraphicsPortable {
 public:
  using IGraphicsPortable::IGraphicsPortable;
  void OpenTextEntry(IControl* control, const ITextStyle&, const IRectangle& area, const char* text,
                     int paramIdx) override {
    entries.push_back({control, area, text, paramIdx});
  }
  struct Entry {
    IControl* control;
    IRectangle area;
    std::string text;
    int paramIdx;
  };
  std::vector<Entry> entries;
};

class Prompts : public ::testing::Test {
 protected:
  Prompts() : core(TwoParamIdentity()) {
    DefineTwoParams(&core);
    editor = new EntryRecordingEditor(&core, 200, 100, 25);
    knob = new ProbeControl(&core, {11, 20, 50, 41}, 1);
    editor->AddControl(knob);
    core.AttachEditor(editor);  // the core owns the editor from here
  }

  IMouseState RightButton() {
    IMouseState mods;
    mods.right = true;
    return mods;
  }

  MenuRecordingCore<kApiVST2> core;
  EntryRecordingEditor* editor = nullptr;
  ProbeControl* knob = nullptr;
};

TEST_F(Prompts, RightClickOpensNothingWhilePromptsAreDisabled) {
  EXPECT_TRUE(knob->PromptDisabled());
  knob->MouseDown(20, 30, RightButton());
  EXPECT_TRUE(editor->entries.empty());
}

TEST_F(Prompts, EnabledPromptOpensATextEntryCentredOnTheControl) {
  knob->SetPromptDisabled(false);
  knob->MarkClean();
  knob->MouseDown(20, 30, RightButton());
  ASSERT_EQ(editor->entries.size(), 1u);
  const EntryRecordingEditor::Entry& entry = editor->entries[0];
  EXPECT_EQ(entry.control, knob);
  EXPECT_EQ(entry.paramIdx, 1);
  // Centre (30, 30): (11 + 50) / 2 = 30.5 and (20 + 41) / 2 = 30.5, truncated.
  EXPECT_EQ(entry.area, (IRectangle{10, 22, 50, 38}));
  EXPECT_EQ(entry.text, "25.00") << "\"Drive\" at its default, two decimals for a 0.01 step";
  EXPECT_TRUE(knob->RedrawRequested());
}

TEST_F(Prompts, PromptWithoutAnAreaOrParameterDoesNothing) {
  editor->PromptForParameter(knob, 1, IRectangle());
  editor->PromptForParameter(knob, 5, IRectangle{0, 0, 10, 10});
  editor->PromptForParameter(nullptr, 1, IRectangle{0, 0, 10, 10});
  EXPECT_TRUE(editor->entries.empty());
}

class LooseDrawing : public ::testing::Test {
 protected:
  LooseDrawing() : core(TwoParamIdentity()), editor(&core, 100, 100, 25) {
    editor.SetStrictDrawing(false);
    background = Add({0, 0, 100, 100});
    left = Add({10, 10, 30, 30});
    overlapping = Add({20, 20, 40, 40});
    far = Add({70, 70, 90, 90});
  }
  ProbeControl* Add(const IRectangle& rect) {
    auto* control = new ProbeControl(&core, rect, -1);
    editor.AddControl(control);
    return control;
  }

  MenuRecordingCore<kApiVST3> core;
  IGraphicsPortable editor;
  ProbeControl *background, *left, *overlapping, *far;
};

TEST_F(LooseDrawing, DirtyBackgroundRedrawsEveryVisibleControl) {
  far->SetHidden(true);
  editor.PaintRegion({0, 0, 100, 100});
  EXPECT_EQ(background->draws, 1);
  EXPECT_EQ(left->draws, 1);
  EXPECT_EQ(overlapping->draws, 1);
  EXPECT_EQ(far->draws, 0);
  EXPECT_FALSE(left->NeedsRedraw());
  EXPECT_TRUE(far->NeedsRedraw()) << "hidden controls are not marked clean here";
}

TEST_F(LooseDrawing, DirtyControlRedrawsWhatOverlapsIt) {
  editor.PaintRegion({0, 0, 100, 100});
  const int before[] = {background->draws, left->draws, overlapping->draws, far->draws};
  left->SetValueFromCore(0.5);  // first value: no new paint
  left->SetValueFromCore(0.7);
  editor.PaintRegion({10, 10, 30, 30});
  EXPECT_EQ(background->draws - before[0], 1);
  EXPECT_EQ(left->draws - before[1], 1);
  EXPECT_EQ(overlapping->draws - before[2], 1);
  EXPECT_EQ(far->draws - before[3], 0);
}

TEST(EditorResize, DropsTheControlsAndTellsTheCore) {
  MenuRecordingCore<kApiVST3> core(TwoParamIdentity());
  IGraphicsPortable editor(&core, 100, 100, 25);
  editor.AddControl(new ProbeControl(&core, {0, 0, 10, 10}, -1));
  editor.HandleMouseDown(5, 5, LeftButton());
  editor.Resize(300, 200);
  EXPECT_EQ(editor.NControls(), 0);
  EXPECT_EQ(editor.CaptureIndex(), -1);
  EXPECT_EQ(editor.Width(), 300);
  ASSERT_NE(editor.DrawSurface(), nullptr);
  EXPECT_EQ(editor.DrawSurface()->GetWidth(), 300);
  EXPECT_EQ(editor.DrawSurface()->GetHeight(), 200);
  const std::vector<AdaptorCall> resizes = core.CallsOf(AdaptorCall::Resize);
  ASSERT_EQ(resizes.size(), 1u);
  EXPECT_EQ(resizes[0].index, 300);
  EXPECT_DOUBLE_EQ(resizes[0].value, 200.0);
}

}  // namespace
