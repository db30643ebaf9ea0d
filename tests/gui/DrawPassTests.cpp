// The editor's redraw cycle: which area a tick collects, which controls a paint draws and marks
// clean, how a value from the core reaches the controls, and the pixels a frame leaves on the
// draw surface.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "GuiTestCore.h"
#include "gui/IBitmapControl.h"
#include "gui/LICE_MemBitmap.h"

namespace {

class DrawPass : public ::testing::Test {
 protected:
  DrawPass() : core(TwoParamIdentity()), editor(&core, 100, 100, 25) {
    DefineTwoParams(&core);
    editor.CreateDrawSurfaces();
  }

  ProbeControl* Add(const IRectangle& rect, int paramIdx) {
    auto* control = new ProbeControl(&core, rect, paramIdx);
    editor.AddControl(control);
    return control;
  }

  // One timer tick: paints the dirty area when there is one; answers whether it painted.
  bool Tick() {
    bool anyDirty = false;
    const IRectangle area = editor.CollectDirtyArea(&anyDirty);
    if (anyDirty) editor.PaintRegion(area);
    return anyDirty;
  }

  void SettleAllPaints() {
    while (Tick()) {
    }
  }

  MenuRecordingCore<kApiVST3> core;
  IGraphicsPortable editor;
};

TEST_F(DrawPass, EveryControlIsPaintedOnceAfterConstruction) {
  ProbeControl* a = Add({0, 0, 10, 10}, -1);
  ProbeControl* b = Add({50, 50, 60, 60}, -1);
  EXPECT_TRUE(Tick());
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(b->draws, 1);
  EXPECT_FALSE(Tick());
}

TEST_F(DrawPass, ChangedControlIsPaintedOnExactlyTwoTicks) {
  ProbeControl* knob = Add({10, 10, 20, 20}, 0);
  knob->SetValueFromCore(0.5);
  SettleAllPaints();
  const int before = knob->draws;
  knob->SetValueFromCore(0.25);
  EXPECT_TRUE(Tick());
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Tick());
  EXPECT_EQ(knob->draws - before, 2);
  EXPECT_DOUBLE_EQ(knob->lastDrawnValue, 0.25);
}

TEST_F(DrawPass, DirtyAreaIsTheBoundingBoxOfDirtyControls) {
  Add({10, 20, 30, 40}, -1);
  Add({50, 5, 60, 25}, -1);
  ProbeControl* clean = Add({0, 0, 100, 100}, -1);
  clean->MarkClean();
  bool anyDirty = false;
  EXPECT_EQ(editor.CollectDirtyArea(&anyDirty), (IRectangle{10, 5, 60, 40}));
  EXPECT_TRUE(anyDirty);
}

TEST_F(DrawPass, OnlyVisibleOverlappingControlsAreDrawnButAllAreMarkedClean) {
  ProbeControl* inside = Add({10, 10, 20, 20}, -1);
  ProbeControl* outside = Add({60, 60, 70, 70}, -1);
  ProbeControl* hidden = Add({10, 10, 20, 20}, -1);
  hidden->SetHidden(true);
  editor.PaintRegion({0, 0, 30, 30});
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(outside->draws, 0);
  EXPECT_EQ(hidden->draws, 0);
  EXPECT_FALSE(outside->NeedsRedraw());
  EXPECT_TRUE(hidden->NeedsRedraw()) << "hiding asks for a second paint";
  editor.PaintRegion({0, 0, 30, 30});
  EXPECT_FALSE(hidden->NeedsRedraw());
  EXPECT_EQ(hidden->draws, 0);
}

TEST_F(DrawPass, EmptyRegionDrawsNothing) {
  ProbeControl* control = Add({0, 0, 10, 10}, -1);
  editor.PaintRegion({});
  EXPECT_EQ(control->draws, 0);
  EXPECT_FALSE(control->NeedsRedraw());
}

TEST_F(DrawPass, ReflectParameterConvertsPlainValuesAndReachesEveryBoundControl) {
  ProbeControl* gainA = Add({0, 0, 10, 10}, 0);
  ProbeControl* gainB = Add({20, 0, 30, 10}, 0);
  ProbeControl* drive = Add({40, 0, 50, 10}, 1);
  drive->AddAuxParam(0);
  editor.ReflectParameter(0, 5.0, false);  // +5 dB of -10..10
  EXPECT_DOUBLE_EQ(gainA->Value(), 0.75);
  EXPECT_DOUBLE_EQ(gainB->Value(), 0.75);
  EXPECT_DOUBLE_EQ(drive->Value(), 0.0);
  EXPECT_DOUBLE_EQ(drive->AuxParamAt(0)->value, 0.75);
  editor.ReflectParameter(0, 0.2, true);
  EXPECT_DOUBLE_EQ(gainA->Value(), 0.2);
  EXPECT_TRUE(core.calls.empty());
  editor.ReflectParameter(9, 0.5, false);  // no such parameter: ignored
  EXPECT_DOUBLE_EQ(gainA->Value(), 0.2);
}

TEST_F(DrawPass, ValueWrittenFromAnotherThreadShowsOnTheNextTick) {
  ProbeControl* meter = Add({0, 0, 10, 10}, -1);
  meter->SetValueFromCore(0.0);
  constexpr int kWrites = 20000;
  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int i = 1; i <= kWrites; ++i) meter->SetValueFromCore(double(i) / kWrites);
    done = true;
  });
  while (!done) Tick();
  audio.join();
  SettleAllPaints();
  EXPECT_DOUBLE_EQ(meter->lastDrawnValue, 1.0);
}

// A strip of three 4 x 4 frames, coloured red, green and blue, fully opaque.
class FramePixels : public DrawPass {
 protected:
  FramePixels() {
    strip.Resize(4, 12);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 4; ++x) strip.GetPixels()[y * strip.GetStride() + x] = kFrames[y / 4];
    }
    LICE_IBitmap* surface = editor.DrawSurface();
    for (int y = 0; y < surface->GetHeight(); ++y) {
      for (int x = 0; x < surface->GetWidth(); ++x) {
        surface->GetPixels()[y * surface->GetStride() + x] = kPaper;
      }
    }
  }

  LICE_pixel At(int x, int y) {
    LICE_IBitmap* surface = editor.DrawSurface();
    return surface->GetPixels()[y * surface->GetStride() + x];
  }

  static constexpr LICE_pixel kPaper = LICE_Argb(255, 9, 9, 9);
  static constexpr LICE_pixel kFrames[3] = {LICE_Argb(255, 255, 0, 0), LICE_Argb(255, 0, 255, 0),
                                            LICE_Argb(255, 0, 0, 255)};
  LICE_MemBitmap strip;
};

TEST_F(FramePixels, ValueChoosesTheFrameDrawn) {
  auto* control = new IBitmapControl(&core, 2, 2, -1, IBitmapStrip(&strip, 3), Over);
  editor.AddControl(control);
  const double values[] = {0.0, 0.5, 1.0};
  for (int i = 0; i < 3; ++i) {
    control->SetValueFromCore(values[i]);
    editor.PaintRegion({0, 0, 100, 100});
    EXPECT_EQ(At(2, 2), kFrames[i]) << "value " << values[i];
    EXPECT_EQ(At(5, 5), kFrames[i]) << "value " << values[i];
  }
  EXPECT_EQ(At(1, 1), kPaper);
  EXPECT_EQ(At(6, 6), kPaper);
}

TEST_F(FramePixels, DrawingStaysInsideThePaintedRegion) {
  auto* control = new IBitmapControl(&core, 2, 2, -1, IBitmapStrip(&strip, 3), Over);
  editor.AddControl(control);
  control->SetValueFromCore(1.0);
  editor.PaintRegion({0, 0, 4, 4});
  EXPECT_EQ(At(3, 3), kFrames[2]);
  EXPECT_EQ(At(4, 4), kPaper);
  EXPECT_EQ(At(5, 3), kPaper);
}

TEST_F(FramePixels, GreyedControlDrawsAtAQuarterWeight) {
  auto* control = new IBitmapControl(&core, 0, 0, -1, IBitmapStrip(&strip, 3), Over);
  editor.AddControl(control);
  control->SetGreyed(true);
  editor.PaintRegion({0, 0, 100, 100});
  // Red 255 over paper 9 at weight 64/256: 255 + trunc((9 - 255) * 192 / 256).
  EXPECT_EQ(LICE_GetR(At(0, 0)), 255u - 184u);
  EXPECT_EQ(LICE_GetG(At(0, 0)), 0u + 6u);
}

}  // namespace
