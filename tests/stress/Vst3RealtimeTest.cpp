// The VST 3 audio callback under the allocation hook: blocks in both precisions, with a
// change for every parameter (the adaptor's bypass and preset change included) in every
// block, and blocks longer than the maximum, must not touch the heap.

#include <gtest/gtest.h>

#include "AllocationHook.h"
#include "Vst3Rig.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void QueueEveryParameter(Vst3Rig& rig, int block) {
  rig.changes.queues.clear();
  for (ParamID id = 0; id < 8; ++id) {
    FuzzQueue queue;
    queue.id = id;
    queue.points = {{0, 0.1 * ((block + int(id)) % 10)}, {7, 0.05 * ((block * 3 + int(id)) % 20)}};
    rig.changes.queues.push_back(queue);
  }
  for (ParamID id : {IPlugVST3::kBypassParamId, IPlugVST3::kPresetParamId}) {
    FuzzQueue queue;
    queue.id = id;
    queue.points = {{0, block % 3 == 0 ? 1.0 : 0.0}};
    rig.changes.queues.push_back(queue);
  }
}

TEST(Vst3Realtime, AudioCallbackTouchesNoHeapInEitherPrecision) {
  if (!AllocationHook::Available()) GTEST_SKIP() << "the sanitizer owns the allocator";
  for (int32 sampleSize : {kSample32, kSample64}) {
    Vst3Rig rig(sampleSize, 256);
    ASSERT_TRUE(rig.Valid());
    for (int s = 0; s < 1024; ++s) {
      for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.8 * std::sin(0.01 * s * (c + 1)));
    }
    const int lengths[] = {256, 1, 100, 1024, 0, 257, 255};
    for (int block = 0; block < 60; ++block) {
      QueueEveryParameter(rig, block);
      const int length = lengths[block % 7];
      size_t heapCalls;
      tresult answer;
      {
        AllocationHook::ArmedRegion armed;
        AllocationHook::Reset();
        answer = rig.Process(length);
        heapCalls = AllocationHook::Count();
      }
      ASSERT_EQ(answer, kResultOk);
      EXPECT_EQ(heapCalls, 0u) << "block " << block << " of " << length << " frames, "
                               << (rig.is64 ? "64" : "32") << "-bit";
      EXPECT_TRUE(rig.OutputsFinite(length));
    }
  }
}

// The hook itself must see what it is meant to catch, or the test above proves nothing.
TEST(Vst3Realtime, HookCountsHeapCalls) {
  if (!AllocationHook::Available()) GTEST_SKIP() << "the sanitizer owns the allocator";
  size_t heapCalls;
  {
    AllocationHook::ArmedRegion armed;
    AllocationHook::Reset();
    // Through volatile pointers, so the compiler cannot elide the pairs.
    int* volatile number = new int(3);
    delete number;
    void* volatile block = std::malloc(16);
    std::free(block);
    heapCalls = AllocationHook::Count();
  }
  EXPECT_EQ(heapCalls, 4u);
}

}  // namespace
