// 64 VST 3 instances made through the module's factory from four threads at once, each set up,
// run for a block and released: no crash, finite output, and (in the asan build) no leak.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Vst3Rig.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kThreads = 4;
constexpr int kPerThread = 16;

TEST(Vst3ManyInstances, SixtyFourInstancesFromFourThreadsAtOnce) {
  std::atomic<int> ready{0};
  std::atomic<int> processed{0};
  std::atomic<int> finite{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ++ready;
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int i = 0; i < kPerThread; ++i) {
        Vst3Rig rig((t + i) % 2 ? kSample64 : kSample32, 128);
        if (!rig.Valid()) continue;
        for (int s = 0; s < 128; ++s) {
          for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.7 * std::sin(0.02 * s * (t + 1)));
        }
        if (rig.Process(128) == kResultOk) ++processed;
        if (rig.OutputsFinite(128)) ++finite;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(processed.load(), kThreads * kPerThread);
  EXPECT_EQ(finite.load(), kThreads * kPerThread);
}

}  // namespace
