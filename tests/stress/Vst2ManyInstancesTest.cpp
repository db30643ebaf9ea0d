// 64 VST 2 effects made through VSTPluginMain from four threads at once, each set up, run for
// a block and closed: no crash, finite output, and (in the asan build) no leak.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Vst2Rig.h"

namespace {

constexpr int kThreads = 4;
constexpr int kPerThread = 16;

TEST(Vst2ManyInstances, SixtyFourEffectsFromFourThreadsAtOnce) {
  std::atomic<int> ready{0};
  std::atomic<int> finite{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ++ready;
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int i = 0; i < kPerThread; ++i) {
        Vst2Rig rig(128);
        if (!rig.Valid()) continue;
        for (int s = 0; s < 128; ++s) {
          for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.7 * std::sin(0.02 * s * (t + 1)));
        }
        const bool is64 = (t + i) % 2 == 1;
        if (is64) {
          rig.ProcessDouble(128);
        } else {
          rig.ProcessFloat(128);
        }
        if (rig.OutputsFinite(128, is64)) ++finite;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(finite.load(), kThreads * kPerThread);
}

}  // namespace
