// Brask's panel drawn off-screen at a content scale: at 1 the pixels of a paint, at 2 the 2x
// pictures composed pixel for pixel, elsewhere the 2x panel area-averaged to size; the editor
// itself is left as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Brask.h"
#include "GuiTestCore.h"
#include "gui/EmbeddedPictures.h"
#include "gui/IBitmapControl.h"
#include "gui/IGraphics.h"
#include "gui/IKnobMultiControl.h"
#include "gui/LICE_AreaResample.h"
#include "gui/LICE_BlendBlit.h"
#include "gui/PanelAtScale.h"
#include "gui/WindowScale.h"

namespace {

using Bitmap = std::unique_ptr<LICE_IBitmap>;

// The 1x picture of each control, in list order.
const int kPictureOfControl[] = {103, 107, 110, 101, 106, 102, 104, 108, 109, 105};

int CurrentFrameOf(IControl* control) {
  if (auto* knob = dynamic_cast<IKnobMultiControl*>(control)) return knob->CurrentFrame();
  if (auto* bitmap = dynamic_cast<IBitmapControl*>(control)) return bitmap->CurrentFrame();
  return -1;
}

// Index of the first pixel where two surfaces of the same size differ, or -1.
long long FirstDifference(LICE_IBitmap* a, LICE_IBitmap* b, int width, int height) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (a->GetPixels()[y * a->GetStride() + x] != b->GetPixels()[y * b->GetStride() + x]) {
        return (long long)y * width + x;
      }
    }
  }
  return -1;
}

class PanelAtScale : public ::testing::Test {
 protected:
  PanelAtScale() : plug(nullptr) {
    // Away from the defaults, so that every knob, both lamps and the needle show a frame of
    // their own.
    IGraphics* editor = plug.Editor();
    const double values[] = {0.8, 0.15, 0.6, 0.33, 0.9, 0.05, 0.0, 1.0};
    for (int p = 0; p < 8; ++p) editor->ReflectParameter(p, values[p], true);
    editor->GetControl(plug.MeterControlIndex())->SetValueFromCore(0.37);
  }

  // The panel composed by hand from the 2x pictures: each control's current frame at twice
  // its position, the background copied, everything else by source alpha.
  Bitmap ComposeFromTwoTimesPictures() {
    IGraphics* editor = plug.Editor();
    Bitmap out(new LICE_MemBitmap);
    out->Resize(2 * editor->Width(), 2 * editor->Height());
    for (int i = 0; i < editor->NControls(); ++i) {
      IControl* control = editor->GetControl(i);
      Bitmap picture(LoadDoubleResolutionPicture(kPictureOfControl[i], "x.png"));
      if (!picture) return nullptr;
      const int frameHeight = 2 * control->Rect().H();
      const int top = frameHeight * (CurrentFrameOf(control) - 1);
      const IRectangle source{0, top, picture->GetWidth(), top + frameHeight};
      LICE_BlendBlit(out.get(), picture.get(), 2 * control->Rect().L, 2 * control->Rect().T,
                     &source, 1.0f, i == 0 ? 0 : kBlitUseSourceAlpha);
    }
    return out;
  }

  Brask plug;
};

TEST_F(PanelAtScale, AtOneItIsExactlyWhatAPaintOfTheWholeEditorLeaves) {
  IGraphics* editor = plug.Editor();
  ASSERT_NE(editor, nullptr);
  editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()});
  Bitmap panel(DrawPanelAtScale(editor, 1.0));
  ASSERT_TRUE(panel);
  ASSERT_EQ(panel->GetWidth(), 796);
  ASSERT_EQ(panel->GetHeight(), 472);
  EXPECT_EQ(FirstDifference(panel.get(), editor->DrawSurface(), 796, 472), -1);
}

TEST_F(PanelAtScale, AtTwoEveryControlIsItsTwoTimesPicturePixelForPixel) {
  Bitmap panel(DrawPanelAtScale(plug.Editor(), 2.0));
  Bitmap expected = ComposeFromTwoTimesPictures();
  ASSERT_TRUE(panel && expected);
  ASSERT_EQ(panel->GetWidth(), 1592);
  ASSERT_EQ(panel->GetHeight(), 944);
  EXPECT_EQ(FirstDifference(panel.get(), expected.get(), 1592, 944), -1);

  // A knob turned afterwards shows up turned, from its own 2x frame.
  plug.Editor()->ReflectParameter(kParamInput, 0.1, true);
  Bitmap turned(DrawPanelAtScale(plug.Editor(), 2.0));
  Bitmap expectedTurned = ComposeFromTwoTimesPictures();
  ASSERT_TRUE(turned && expectedTurned);
  EXPECT_EQ(FirstDifference(turned.get(), expectedTurned.get(), 1592, 944), -1);
  EXPECT_NE(FirstDifference(turned.get(), panel.get(), 1592, 944), -1);
}

TEST_F(PanelAtScale, OtherScalesAreTheTwoTimesPanelAreaAveragedToSize) {
  Bitmap twice(DrawPanelAtScale(plug.Editor(), 2.0));
  Bitmap once(DrawPanelAtScale(plug.Editor(), 1.0));
  ASSERT_TRUE(twice && once);
  const struct {
    double scale;
    int width, height;
  } cases[] = {{1.25, 995, 590}, {1.5, 1194, 708}, {3.0, 2388, 1416}, {0.5, 398, 236}};
  for (const auto& c : cases) {
    SCOPED_TRACE("scale " + std::to_string(c.scale));
    Bitmap panel(DrawPanelAtScale(plug.Editor(), c.scale));
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->GetWidth(), c.width);
    ASSERT_EQ(panel->GetHeight(), c.height);
    LICE_MemBitmap fromTwice, fromOnce;
    fromTwice.Resize(c.width, c.height);
    fromOnce.Resize(c.width, c.height);
    ASSERT_TRUE(LICE_AreaResample(&fromTwice, twice.get()));
    ASSERT_TRUE(LICE_AreaResample(&fromOnce, once.get()));
    EXPECT_EQ(FirstDifference(panel.get(), &fromTwice, c.width, c.height), -1);
    EXPECT_NE(FirstDifference(panel.get(), &fromOnce, c.width, c.height), -1)
        << "looks resampled from the 1x panel";
  }
}

TEST_F(PanelAtScale, LeavesTheEditorsSurfaceAndRedrawStateAlone) {
  IGraphics* editor = plug.Editor();
  editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()});
  LICE_MemBitmap before;
  before.Resize(796, 472);
  LICE_BlendBlit(&before, editor->DrawSurface(), 0, 0, nullptr, 1.0f, 0);
  editor->ReflectParameter(kParamOutput, 0.9, true);
  std::vector<bool> dirty;
  for (int i = 0; i < editor->NControls(); ++i) {
    dirty.push_back(editor->GetControl(i)->NeedsRedraw());
  }
  ASSERT_TRUE(dirty[4]);
  const double scales[] = {1.0, 2.0, 1.5};
  for (double scale : scales) {
    Bitmap panel(DrawPanelAtScale(editor, scale));
    ASSERT_TRUE(panel) << scale;
  }
  EXPECT_EQ(FirstDifference(&before, editor->DrawSurface(), 796, 472), -1);
  for (int i = 0; i < editor->NControls(); ++i) {
    EXPECT_EQ(editor->GetControl(i)->NeedsRedraw(), dirty[size_t(i)]) << "control " << i;
  }
}

TEST_F(PanelAtScale, RefusesScalesOutsideTheUsefulRange) {
  IGraphics* editor = plug.Editor();
  const double bad[] = {0.0, -1.0, kLargestPanelScale + 0.5,
                        std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()};
  for (double scale : bad) EXPECT_EQ(DrawPanelAtScale(editor, scale), nullptr) << scale;
  EXPECT_EQ(DrawPanelAtScale(nullptr, 1.0), nullptr);
  EXPECT_EQ(WindowCoordinate(796, 1.5), 1194);
  EXPECT_EQ(WindowCoordinate(1, 2.5), 3) << "halves round up";
}

// The framework's pass on its own: targets too small and scales other than 1 and 2 are
// refused, and a 2x pass over a picture that has no 2x picture reports it.
TEST(DrawControlsInto, RefusesWhatItCannotDrawAndReportsMissingTwoTimesPictures) {
  MenuRecordingCore<kApiVST3> core(TwoParamIdentity());
  DefineTwoParams(&core);
  IGraphicsPortable editor(&core, 20, 10, 25);
  editor.CreateDrawSurfaces();
  LICE_MemBitmap small, large;
  small.Resize(39, 20);
  large.Resize(40, 20);
  EXPECT_FALSE(editor.DrawControlsInto(&small, 2));
  EXPECT_FALSE(editor.DrawControlsInto(&large, 3));
  EXPECT_FALSE(editor.DrawControlsInto(nullptr, 1));
  EXPECT_TRUE(editor.DrawControlsInto(&large, 2)) << "nothing to draw is complete";

  LICE_MemBitmap handMade;  // not a loaded picture, so it has no 2x picture
  handMade.Resize(20, 10);
  editor.AddControl(new IBitmapControl(&core, 0, 0, -1, IBitmapStrip(&handMade, 1), Replace));
  EXPECT_TRUE(editor.DrawControlsInto(&large, 1));
  EXPECT_FALSE(editor.DrawControlsInto(&large, 2));
}

}  // namespace
