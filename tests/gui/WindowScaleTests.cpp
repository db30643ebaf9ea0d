// The editor at a window scale: the geometry between window and editor pixels, the scales
// accepted, and what a paint leaves on the draw surface at 1, 2 and in between.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "Brask.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/PanelAtScale.h"
#include "gui/WindowScale.h"

namespace {

const double kScales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 1.2999999523162842};

TEST(WindowScaleGeometry, EveryWindowPixelMapsBackToTheEditorPixelDrawnThere) {
  for (double scale : kScales) {
    SCOPED_TRACE(scale);
    for (int x = -3; x < 900; ++x) {
      const int first = WindowCoordinate(x, scale), next = WindowCoordinate(x + 1, scale);
      ASSERT_GE(next - first, 1) << "every editor pixel shows";
      for (int v = first; v < next; ++v) ASSERT_EQ(EditorCoordinate(v, scale), x) << v;
    }
  }
}

TEST(WindowScaleGeometry, CoveringRectanglesHoldEveryWindowPixelAndNoSpareColumn) {
  for (double scale : kScales) {
    SCOPED_TRACE(scale);
    for (int l = 0; l < 40; l += 3) {
      for (int r = l + 1; r < 60; r += 5) {
        const IRectangle window{l, l, r, r};
        const IRectangle editor = EditorRectangleCovering(window, scale);
        const IRectangle back = WindowRectangle(editor, scale);
        ASSERT_LE(back.L, l);
        ASSERT_GE(back.R, r);
        // One editor pixel less on either side would no longer cover.
        ASSERT_GT(WindowCoordinate(editor.L + 1, scale), l);
        ASSERT_LT(WindowCoordinate(editor.R - 1, scale), r);
      }
    }
  }
  EXPECT_TRUE(EditorRectangleCovering(IRectangle{}, 1.5).Empty());
}

TEST(WindowScaleGeometry, ScalesComeFromTheScreensDensityWithinOneToThree) {
  EXPECT_EQ(WindowScaleForDpi(96), 1.0);
  EXPECT_EQ(WindowScaleForDpi(120), 1.25);
  EXPECT_EQ(WindowScaleForDpi(144), 1.5);
  EXPECT_EQ(WindowScaleForDpi(192), 2.0);
  EXPECT_EQ(WindowScaleForDpi(288), 3.0);
  EXPECT_EQ(WindowScaleForDpi(480), 3.0);
  EXPECT_EQ(WindowScaleForDpi(72), 1.0);
  EXPECT_EQ(WindowScaleForDpi(0), 1.0);
  EXPECT_EQ(WindowScaleForDpi(-96), 1.0);
}

using Bitmap = std::unique_ptr<LICE_IBitmap>;

// Count of pixels that differ between the editor's draw surface and a picture of its size.
int DifferingPixels(IGraphics* editor, LICE_IBitmap* expected) {
  LICE_IBitmap* shown = editor->DrawSurface();
  if (shown->GetWidth() != expected->GetWidth() || shown->GetHeight() != expected->GetHeight()) {
    return -1;
  }
  int differences = 0;
  for (int y = 0; y < shown->GetHeight(); ++y) {
    for (int x = 0; x < shown->GetWidth(); ++x) {
      differences += shown->GetPixels()[y * shown->GetStride() + x] !=
                     expected->GetPixels()[y * expected->GetStride() + x];
    }
  }
  return differences;
}

class EditorAtScale : public ::testing::Test {
 protected:
  EditorAtScale() : plug(nullptr), editor(plug.Editor()) {
    const double values[] = {0.8, 0.15, 0.6, 0.33, 0.9, 0.05, 0.0, 1.0};
    for (int p = 0; p < 8; ++p) editor->ReflectParameter(p, values[p], true);
    editor->GetControl(plug.MeterControlIndex())->SetValueFromCore(0.37);
  }

  void PaintAll() { editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()}); }

  // Paints what needs it, as a tick does.
  void PaintDirty() {
    for (const IRectangle& area : editor->DirtyAreas()) editor->PaintRegion(area);
  }

  Brask plug;
  IGraphics* editor;
};

TEST_F(EditorAtScale, RefusesFactorsOutsideOneToThreeAndChangesNothing) {
  ASSERT_TRUE(editor->SetWindowScale(1.5));
  const double bad[] = {0.0,
                        -1.0,
                        -2.0,
                        0.999,
                        3.001,
                        100.0,
                        std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double scale : bad) {
    EXPECT_FALSE(editor->SetWindowScale(scale)) << scale;
    EXPECT_EQ(editor->WindowScale(), 1.5);
    EXPECT_EQ(editor->WindowWidth(), 1194);
    EXPECT_EQ(editor->WindowHeight(), 708);
    EXPECT_EQ(editor->DrawSurface()->GetWidth(), 1194);
  }
}

TEST_F(EditorAtScale, WindowAndSurfaceSizesAreTheRoundedScaledPanel) {
  const struct {
    double scale;
    int width, height;
  } cases[] = {
      {1.0, 796, 472}, {1.25, 995, 590}, {1.5, 1194, 708}, {2.0, 1592, 944}, {3.0, 2388, 1416}};
  for (const auto& c : cases) {
    ASSERT_TRUE(editor->SetWindowScale(c.scale));
    EXPECT_EQ(editor->WindowWidth(), c.width) << c.scale;
    EXPECT_EQ(editor->WindowHeight(), c.height) << c.scale;
    EXPECT_EQ(editor->DrawSurface()->GetWidth(), c.width) << c.scale;
    EXPECT_EQ(editor->DrawSurface()->GetHeight(), c.height) << c.scale;
    EXPECT_EQ(editor->Width(), 796) << "the panel stays in editor pixels";
  }
}

TEST_F(EditorAtScale, AtOneAndTwoAPaintIsTheOffScreenPanelPixelForPixel) {
  Bitmap once(DrawPanelAtScale(editor, 1.0));
  Bitmap twice(DrawPanelAtScale(editor, 2.0));
  ASSERT_TRUE(once && twice);
  ASSERT_TRUE(editor->SetWindowScale(2.0));
  PaintAll();
  EXPECT_EQ(DifferingPixels(editor, twice.get()), 0);
  EXPECT_EQ(editor->ResampledFrameCount(), 0u) << "2x pictures are drawn as they are";
  // Frames shown again come from their kept compositions, which must be what drawing gives.
  EXPECT_EQ(editor->ComposedFrameCount(), size_t(editor->NControls() - 1));
  IControl* meter = editor->GetControl(plug.MeterControlIndex());
  meter->SetValueFromCore(0.8);
  editor->ReflectParameter(kParamMix, 0.5, true);
  PaintDirty();
  meter->SetValueFromCore(0.37);
  editor->ReflectParameter(kParamMix, 0.9, true);
  PaintDirty();
  EXPECT_EQ(DifferingPixels(editor, twice.get()), 0);
  // Back at 1 after 2: today's pixels, drawn as always.
  ASSERT_TRUE(editor->SetWindowScale(1.0));
  PaintAll();
  EXPECT_EQ(DifferingPixels(editor, once.get()), 0);
  EXPECT_EQ(editor->ComposedFrameCount(), 0u);
}

// Repainting only what changed must leave what a full paint leaves, or seams and stale edges
// would show where window edges were rounded.
TEST_F(EditorAtScale, RepaintingWhatChangedEqualsAFullPaintAtEveryScale) {
  for (double scale : {1.0, 1.5, 2.0, 1.25, 2.5}) {
    SCOPED_TRACE(scale);
    ASSERT_TRUE(editor->SetWindowScale(scale));
    PaintAll();
    editor->ReflectParameter(kParamInput, 0.25, true);
    editor->ReflectParameter(kParamBypass, 1.0, true);
    editor->GetControl(plug.MeterControlIndex())->SetValueFromCore(0.9);
    PaintDirty();
    LICE_MemBitmap partial;
    partial.Resize(editor->WindowWidth(), editor->WindowHeight());
    LICE_IBitmap* shown = editor->DrawSurface();
    for (int y = 0; y < shown->GetHeight(); ++y) {
      for (int x = 0; x < shown->GetWidth(); ++x) {
        partial.GetPixels()[y * partial.GetStride() + x] =
            shown->GetPixels()[y * shown->GetStride() + x];
      }
    }
    PaintAll();
    EXPECT_EQ(DifferingPixels(editor, &partial), 0);
    editor->ReflectParameter(kParamInput, 0.8, true);
    editor->ReflectParameter(kParamBypass, 0.0, true);
    editor->GetControl(plug.MeterControlIndex())->SetValueFromCore(0.37);
    PaintAll();
  }
}

// Between 1 and 2 the window shows frames resampled from the 2x pictures: close to the whole
// 2x panel resampled at once, every pixel painted, and each frame resampled once per scale.
TEST_F(EditorAtScale, BetweenScalesFramesAreResampledOnceFromTheTwoTimesPictures) {
  Bitmap expected(DrawPanelAtScale(editor, 1.5));
  ASSERT_TRUE(expected);
  ASSERT_TRUE(editor->SetWindowScale(1.5));
  PaintAll();
  LICE_IBitmap* shown = editor->DrawSurface();
  ASSERT_EQ(shown->GetWidth(), expected->GetWidth());
  double totalError = 0.0;
  int opaque = 0;
  for (int y = 0; y < shown->GetHeight(); ++y) {
    for (int x = 0; x < shown->GetWidth(); ++x) {
      const LICE_pixel a = shown->GetPixels()[y * shown->GetStride() + x];
      const LICE_pixel b = expected->GetPixels()[y * expected->GetStride() + x];
      opaque += LICE_GetA(a) == 255;
      totalError += std::abs(int(LICE_GetR(a)) - int(LICE_GetR(b))) +
                    std::abs(int(LICE_GetG(a)) - int(LICE_GetG(b))) +
                    std::abs(int(LICE_GetB(a)) - int(LICE_GetB(b)));
    }
  }
  const double pixels = double(shown->GetWidth()) * double(shown->GetHeight());
  EXPECT_EQ(opaque, int(pixels)) << "the background covers the whole window";
  // Frames composed after resampling differ from resampling the composed panel only where
  // a control's alpha edge meets the background: well under a level per channel on average.
  EXPECT_LT(totalError / (3.0 * pixels), 0.5);

  const size_t frames = editor->ResampledFrameCount();
  EXPECT_EQ(frames, size_t(editor->NControls())) << "one frame of each control";
  PaintAll();
  EXPECT_EQ(editor->ResampledFrameCount(), frames) << "kept, not resampled again";
  editor->ReflectParameter(kParamInput, 0.3, true);
  PaintDirty();
  EXPECT_EQ(editor->ResampledFrameCount(), frames + 1) << "the knob's new frame only";
  ASSERT_TRUE(editor->SetWindowScale(2.0));
  EXPECT_EQ(editor->ResampledFrameCount(), 0u) << "a new scale forgets them";
}

TEST_F(EditorAtScale, AwayFromOneFarApartControlsRepaintOnTheirOwn) {
  PaintAll();
  IControl* meter = editor->GetControl(plug.MeterControlIndex());
  meter->SetValueFromCore(0.6);
  editor->ReflectParameter(kParamInput, 0.2, true);
  editor->ReflectParameter(kParamAttack, 0.1, true);
  ASSERT_EQ(editor->DirtyAreas().size(), 1u) << "at 1 the union, as always";
  PaintAll();
  ASSERT_TRUE(editor->SetWindowScale(2.0));
  PaintAll();
  meter->SetValueFromCore(0.37);
  editor->ReflectParameter(kParamInput, 0.8, true);
  editor->ReflectParameter(kParamAttack, 0.6, true);
  const std::vector<IRectangle> areas = editor->DirtyAreas();
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0], editor->GetControl(3)->Rect());
  EXPECT_EQ(areas[1], editor->GetControl(5)->Rect());
  EXPECT_EQ(areas[2], meter->Rect());
}

TEST_F(EditorAtScale, TheHostsChoiceOutlastsTheSystemsScale) {
  EXPECT_FALSE(editor->ScaleChosenByHost());
  editor->FollowSystemScale();
  EXPECT_EQ(editor->WindowScale(), 1.0);
  ASSERT_TRUE(editor->SetWindowScale(2.0));
  EXPECT_TRUE(editor->ScaleChosenByHost());
  editor->FollowSystemScale();
  EXPECT_EQ(editor->WindowScale(), 2.0);
}

TEST_F(EditorAtScale, EditorAreasMapToTheWindowPixelsTheyAreDrawnIn) {
  ASSERT_TRUE(editor->SetWindowScale(1.5));
  const IRectangle knob = editor->GetControl(3)->Rect();
  const IRectangle shown = editor->WindowArea(knob);
  EXPECT_EQ(shown, WindowRectangle(knob, 1.5));
  EXPECT_EQ(editor->EditorX(shown.L), knob.L);
  EXPECT_EQ(editor->EditorX(shown.R - 1), knob.R - 1);
  EXPECT_EQ(editor->EditorY(shown.B), knob.B);
}

}  // namespace
