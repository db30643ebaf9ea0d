// The audio callback must never allocate: a global operator new that counts the allocations
// made while a block is processed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "BraskRig.h"

namespace {
thread_local bool gCounting = false;
thread_local int gAllocations = 0;
}  // namespace

// The replacement pairs malloc with free on purpose; GCC cannot see that both halves are ours.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
void* CountedAllocation(std::size_t size) {
  if (gCounting) ++gAllocations;
  return std::malloc(size ? size : 1);
}
}  // namespace

// Every plain form is replaced, so that no allocation escapes the count and every release
// matches its allocation (sanitizers check that too).
void* operator new(std::size_t size) {
  if (void* p = CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = CountedAllocation(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

TEST(BraskRealTime, ProcessBlockAllocatesNothing) {
  for (int sidechain = 0; sidechain <= 1; ++sidechain) {
    BraskRig rig;
    rig.Set(kParamInput, 30.0);
    rig.Set(kParamSidechain, sidechain);
    Signal signal = MusicLike(4096, 48000.0, 0.9, sidechain == 1);
    Output out;
    out.left.resize(4096);
    out.right.resize(4096);
    double* inputs[4] = {signal[0].data(), signal[1].data(), signal[2].data(), signal[3].data()};
    double* outputs[2] = {out.left.data(), out.right.data()};
    gAllocations = 0;
    gCounting = true;
    rig.plug.ProcessBlock(inputs, outputs, 4096);
    gCounting = false;
    EXPECT_EQ(gAllocations, 0) << "sidechain " << sidechain;
    EXPECT_LT(rig.plug.GainState(), 1.0);  // the block did real work
  }
}

TEST(BraskRealTime, AllocationCounterSeesAllocations) {
  gAllocations = 0;
  gCounting = true;
  void* p = ::operator new(64);
  gCounting = false;
  ::operator delete(p);
  EXPECT_EQ(gAllocations, 1);
}

}  // namespace
