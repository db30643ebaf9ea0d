// brask_paint_bench: what one editor tick costs at each window scale: the meter moving to a
// new frame (the steady 25-per-second redraw while audio plays), and the meter with a knob
// that automation turns, once every frame has been shown at that scale. Drawing only: the
// window's copy to the screen is left out, so the figures compare the editor's own work.

#include <benchmark/benchmark.h>

#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "plugin/Brask.h"

namespace {

// An editor at a scale, painted once whole so that ticks repaint only what changed.
struct ScaledEditor {
  explicit ScaledEditor(double scale) : plug(nullptr), editor(plug.Editor()) {
    editor->SetWindowScale(scale);
    editor->PaintRegion(IRectangle{0, 0, editor->Width(), editor->Height()});
  }

  void Tick() {
    for (const IRectangle& area : editor->DirtyAreas()) editor->PaintRegion(area);
  }

  Brask plug;
  IGraphics* editor;
};

// Scales in hundredths, as benchmark arguments are integers.
double ScaleOf(const benchmark::State& state) { return double(state.range(0)) / 100.0; }

void BM_TickMeter(benchmark::State& state) {
  ScaledEditor scaled(ScaleOf(state));
  IControl* meter = scaled.editor->GetControl(scaled.plug.MeterControlIndex());
  auto step = [&](int n) {
    // 101 frames: each step shows another one.
    meter->SetValueFromCore(double(n % 100) / 100.0);
    scaled.Tick();
  };
  // Every frame once first: the work done once per scale is not a tick's.
  for (int n = 0; n < 100; ++n) step(n);
  int n = 0;
  for (auto _ : state) step(n++);
  state.counters["window_px"] = double(scaled.editor->WindowWidth());
}

void BM_TickMeterAndKnob(benchmark::State& state) {
  ScaledEditor scaled(ScaleOf(state));
  IControl* meter = scaled.editor->GetControl(scaled.plug.MeterControlIndex());
  auto step = [&](int n) {
    meter->SetValueFromCore(double(n % 100) / 100.0);
    scaled.editor->ReflectParameter(kParamInput, double(n % 120) / 120.0, true);
    scaled.Tick();
  };
  for (int n = 0; n < 600; ++n) step(n);
  int n = 0;
  for (auto _ : state) step(n++);
}

}  // namespace

BENCHMARK(BM_TickMeter)->Arg(100)->Arg(150)->Arg(200);
BENCHMARK(BM_TickMeterAndKnob)->Arg(100)->Arg(150)->Arg(200);

BENCHMARK_MAIN();
