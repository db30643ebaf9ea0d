#pragma once
// StressThreads: runs a set of host threads against one instance for a bounded time. Each
// thread repeats its step until told to stop; a watchdog ends the program if the threads do
// not all stop within a minute of that (a deadlock). Also the editor thread's step, which is
// the same for both modules: collect the dirty area, paint it, and play a knob gesture with
// the mouse.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "gui/IControl.h"
#include "gui/IGraphics.h"

#ifndef BRASK_STRESS_SECONDS
#define BRASK_STRESS_SECONDS 2
#endif

// Runs every step on a thread of its own for BRASK_STRESS_SECONDS; answers the number of
// times each step ran.
inline std::vector<long> RunConcurrently(const std::vector<std::function<void()>>& steps) {
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
  std::vector<long> counts(steps.size(), 0);
  std::thread watchdog([&] {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(BRASK_STRESS_SECONDS + 60);
    while (!finished.load()) {
      if (std::chrono::steady_clock::now() > deadline) {
        std::fprintf(stderr, "stress threads did not stop: deadlock\n");
        std::abort();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  std::vector<std::thread> threads;
  for (size_t i = 0; i < steps.size(); ++i) {
    threads.emplace_back([&, i] {
      while (!stop.load(std::memory_order_relaxed)) {
        steps[i]();
        ++counts[i];
      }
    });
  }
  std::this_thread::sleep_for(std::chrono::seconds(BRASK_STRESS_SECONDS));
  stop = true;
  for (std::thread& thread : threads) thread.join();
  finished = true;
  watchdog.join();
  return counts;
}

// One editor tick as the editor's timer runs it, then a drag on the next control that has a
// parameter (press, two moves, release).
class EditorDriver {
 public:
  explicit EditorDriver(IGraphics* editor) : mEditor(editor) {}

  void Step() {
    bool any = false;
    const IRectangle dirty = mEditor->CollectDirtyArea(&any);
    if (any) mEditor->PaintRegion(dirty);
    const int count = mEditor->NControls();
    for (int tries = 0; tries < count; ++tries) {
      mNext = (mNext + 1) % count;
      IControl* control = mEditor->GetControl(mNext);
      if (!control || control->ParamIdx() < 0) continue;
      const IRectangle& r = control->Rect();
      const int x = (r.L + r.R) / 2;
      const int y = (r.T + r.B) / 2;
      IMouseState mouse;
      mouse.left = true;
      mEditor->HandleMouseDown(x, y, mouse);
      mEditor->HandleMouseDrag(x, y - 3 - mStep % 7, mouse);
      mEditor->HandleMouseDrag(x, y + 2 + mStep % 5, mouse);
      mEditor->HandleMouseUp(x, y + 2, mouse);
      ++mStep;
      break;
    }
  }

 private:
  IGraphics* mEditor;
  int mNext = 0;
  int mStep = 0;
};
