// The built plug-in binary under hostile hosts: control values no UI would send, ports left
// without buffers, blocks longer than any slice, buffers shared between input and output, and
// runs that must not touch the heap.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>

#include "AllocationHook.h"
#include "Lv2Module.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kBadValues[] = {std::nanf(""), kInf, -kInf, 1e30f, -1e30f, FLT_MAX, -FLT_MAX, 1e-45f};

// A loud, busy programme on every input, different per channel.
void FillProgramme(HostedLv2& lv2, int frames, long start = 0) {
  for (uint32_t c = 0; c < kLv2AudioInCount; ++c) {
    for (int n = 0; n < frames; ++n) {
      const double t = double(start + n) / 48000.0;
      lv2.in[c][size_t(n)] = float(0.9 * std::sin(2 * M_PI * (110.0 + 70.0 * c) * t) *
                                   (1.0 + std::sin(2 * M_PI * 3.0 * t)) / 2.0);
    }
  }
}

// Every output sample and the meter's value are finite.
::testing::AssertionResult AllFinite(const HostedLv2& lv2, int frames) {
  if (!std::isfinite(lv2.gainReduction)) return ::testing::AssertionFailure() << "meter";
  for (uint32_t c = 0; c < kLv2AudioOutCount; ++c) {
    for (int n = 0; n < frames; ++n) {
      if (!std::isfinite(lv2.out[c][size_t(n)])) {
        return ::testing::AssertionFailure() << "output " << c << " frame " << n;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

void SetHeavy(HostedLv2& lv2) {
  lv2.control[0] = 40.0f;  // Input
  lv2.control[2] = 1.0f;   // Attack
  lv2.control[4] = 50.0f;  // Mix
}

}  // namespace

TEST(Lv2BadInput, ExtremeControlValuesKeepEveryOutputFinite) {
  for (uint32_t port = 0; port < kLv2ParamPortCount; ++port) {
    for (const float bad : kBadValues) {
      HostedLv2 lv2;
      ASSERT_TRUE(lv2.Valid());
      SetHeavy(lv2);
      lv2.control[port] = bad;
      for (int block = 0; block < 4; ++block) {
        FillProgramme(lv2, 512, block * 512L);
        lv2.Run(512);
        ASSERT_TRUE(AllFinite(lv2, 512)) << "port " << port << " = " << bad;
      }
    }
  }
}

TEST(Lv2BadInput, EveryPortBadAtOnceAndChangingEveryBlock) {
  HostedLv2 lv2;
  ASSERT_TRUE(lv2.Valid());
  for (int block = 0; block < 32; ++block) {
    for (uint32_t port = 0; port < kLv2ParamPortCount; ++port) {
      lv2.control[port] = kBadValues[(block + port) % std::size(kBadValues)];
    }
    FillProgramme(lv2, 256, block * 256L);
    lv2.Run(256);
    ASSERT_TRUE(AllFinite(lv2, 256)) << "block " << block;
  }
}

TEST(Lv2BadInput, PortsWithoutBuffersReadSilenceAndAreNotWritten) {
  HostedLv2 lv2;
  ASSERT_TRUE(lv2.Valid());
  SetHeavy(lv2);
  lv2.control[7] = 1.0f;  // the detector listens to a side chain that is not there
  lv2.Connect(kLv2FirstAudioInPort + 2, nullptr);
  lv2.Connect(kLv2FirstAudioInPort + 3, nullptr);
  lv2.Connect(kLv2GainReductionPort, nullptr);
  lv2.Connect(3, nullptr);  // Release keeps its value
  lv2.gainReduction = 0.25f;
  FillProgramme(lv2, 4800);
  lv2.Run(4800);
  EXPECT_TRUE(AllFinite(lv2, 4800));
  EXPECT_EQ(lv2.gainReduction, 0.25f) << "an unconnected output port was written";
  // With silence on the detector the gain stays at unity: only the colour stage acts.
  HostedLv2 open;
  open.control[7] = 1.0f;
  open.control[0] = 40.0f;
  open.control[2] = 1.0f;
  open.control[4] = 50.0f;
  FillProgramme(open, 4800);
  for (uint32_t c = 2; c < kLv2AudioInCount; ++c) open.in[c].assign(open.in[c].size(), 0.0f);
  open.Run(4800);
  EXPECT_EQ(lv2.out[0], open.out[0]);
  EXPECT_EQ(lv2.out[1], open.out[1]);
}

// One long run is sliced inside; the result must not depend on where the host cut its blocks.
TEST(Lv2BadInput, LongRunsEqualShortOnes) {
  HostedLv2 whole, pieces;
  ASSERT_TRUE(whole.Valid() && pieces.Valid());
  SetHeavy(whole);
  SetHeavy(pieces);
  FillProgramme(whole, HostedLv2::kMaxFrames);
  whole.Run(HostedLv2::kMaxFrames);
  std::vector<float> left;
  for (int start = 0; start < HostedLv2::kMaxFrames; start += 1000) {
    FillProgramme(pieces, 1000, start);
    pieces.Run(1000);
    left.insert(left.end(), pieces.out[0].begin(), pieces.out[0].begin() + 1000);
  }
  EXPECT_EQ(left, whole.out[0]);
}

TEST(Lv2BadInput, InPlaceBuffersGiveTheSameOutput) {
  HostedLv2 apart, inPlace;
  ASSERT_TRUE(apart.Valid() && inPlace.Valid());
  SetHeavy(apart);
  SetHeavy(inPlace);
  inPlace.Connect(kLv2FirstAudioOutPort, inPlace.in[0].data());
  inPlace.Connect(kLv2FirstAudioOutPort + 1, inPlace.in[1].data());
  for (int block = 0; block < 4; ++block) {
    FillProgramme(apart, 2048, block * 2048L);
    FillProgramme(inPlace, 2048, block * 2048L);
    apart.Run(2048);
    inPlace.Run(2048);
    ASSERT_TRUE(
        std::equal(apart.out[0].begin(), apart.out[0].begin() + 2048, inPlace.in[0].begin()));
    ASSERT_TRUE(
        std::equal(apart.out[1].begin(), apart.out[1].begin() + 2048, inPlace.in[1].begin()));
  }
}

TEST(Lv2RealTime, RunUsesNoHeapEvenWhenEveryControlChanges) {
  if (!AllocationHook::Available()) GTEST_SKIP() << "a sanitizer owns the allocator";
  AllocationHook::Reset();
  std::unique_ptr<HostedLv2> made;
  {
    AllocationHook::ArmedRegion armed;
    made = std::make_unique<HostedLv2>();
  }
  ASSERT_GT(AllocationHook::Count(), 0u) << "the hook does not see the module's heap calls";
  HostedLv2& lv2 = *made;
  ASSERT_TRUE(lv2.Valid());
  lv2.Run(64);  // first values applied
  size_t count = 0;
  for (int block = 0; block < 16; ++block) {
    for (uint32_t port = 0; port < kLv2ParamPortCount; ++port) {
      lv2.control[port] = float(block % 2) * 5.0f + float(port);
    }
    FillProgramme(lv2, HostedLv2::kMaxFrames, block * long(HostedLv2::kMaxFrames));
    AllocationHook::Reset();
    {
      AllocationHook::ArmedRegion armed;
      lv2.Run(HostedLv2::kMaxFrames);
    }
    count += AllocationHook::Count();
  }
  EXPECT_EQ(count, 0u);
}
