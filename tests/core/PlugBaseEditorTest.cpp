#include <gtest/gtest.h>

#include <cmath>

#include "CoreTestPlug.h"
#include "gui/IControl.h"
#include "gui/IGraphicsPortable.h"

namespace {

class ValueProbe : public IControl {
 public:
  ValueProbe(IPlugBase* plug, int paramIdx)
      : IControl(plug, IRectangle{0, 0, 10, 10}, paramIdx, 0) {}
  bool Draw(IGraphics*) override { return false; }
};

}  // namespace

TEST(EditorAttachment, ControlsShowNormalizedValuesAndTheCoreOwnsTheEditor) {
  CoreTestPlug plug;
  auto* editor = new IGraphicsPortable(&plug, 100, 50, 25);
  auto* attack = new ValueProbe(&plug, 2);
  auto* output = new ValueProbe(&plug, 1);
  auto* follower = new ValueProbe(&plug, -1);
  follower->AddAuxParam(3);
  editor->AddControl(attack);
  editor->AddControl(output);
  editor->AddControl(follower);
  plug.AttachEditor(editor);
  EXPECT_EQ(plug.Editor(), editor);
  EXPECT_DOUBLE_EQ(attack->Value(), 3.0 / 7.0);
  EXPECT_EQ(output->Value(), 0.5);
  EXPECT_DOUBLE_EQ(follower->AuxParamAt(0)->value, std::sqrt(300.0 / 2900.0));
  EXPECT_NE(editor->DrawSurface(), nullptr);
}

TEST(EditorAttachment, LoadingAPresetRefreshesTheControls) {
  CoreTestPlug plug;
  auto* editor = new IGraphicsPortable(&plug, 100, 50, 25);
  auto* mix = new ValueProbe(&plug, 4);
  editor->AddControl(mix);
  plug.AttachEditor(editor);
  plug.ParamAt(4)->SetValueClamped(25);
  plug.RefreshEditorFromParams();
  EXPECT_EQ(mix->Value(), 0.25);
  plug.ParamAt(4)->SetValueClamped(50);
  ASSERT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(mix->Value(), 1.0) << "the preset's Mix of 100 reached the control";
}
