// The VST 2 audio and parameter callbacks under the allocation hook: the three process calls
// (double, float, accumulating float) with setParameter for every parameter between blocks,
// as hosts automate from the audio thread, and blocks longer than the block size, must not
// touch the heap.

#include <gtest/gtest.h>

#include "AllocationHook.h"
#include "Vst2Rig.h"

namespace {

TEST(Vst2Realtime, AudioAndParameterCallbacksTouchNoHeap) {
  if (!AllocationHook::Available()) GTEST_SKIP() << "the sanitizer owns the allocator";
  Vst2Rig rig(256);
  ASSERT_TRUE(rig.Valid());
  for (int s = 0; s < 1024; ++s) {
    for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.8 * std::sin(0.01 * s * (c + 1)));
  }
  const int lengths[] = {256, 1, 100, 1024, 0, 257, 255};
  for (int block = 0; block < 60; ++block) {
    const int length = lengths[block % 7];
    const int kind = block % 3;
    size_t heapCalls;
    {
      AllocationHook::ArmedRegion armed;
      AllocationHook::Reset();
      for (int i = 0; i < rig.effect->numParams; ++i) {
        rig.effect->setParameter(rig.effect.Get(), i, float((block + i) % 10) / 9.0f);
        rig.effect->getParameter(rig.effect.Get(), i);
      }
      if (kind == 0) rig.ProcessDouble(length);
      if (kind == 1) rig.ProcessFloat(length);
      if (kind == 2) rig.ProcessAccumulate(length);
      heapCalls = AllocationHook::Count();
    }
    EXPECT_EQ(heapCalls, 0u) << "block " << block << " of " << length << " frames, call " << kind;
    EXPECT_TRUE(rig.OutputsFinite(length, kind == 0));
  }
}

}  // namespace
