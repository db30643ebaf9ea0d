// Choosing the vector path: the best one the processor has, forcing for tests, and every
// compiled path reached by a real block.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "BraskRig.h"
#include "ProgramMaterial.h"
#include "VectorPathScope.h"

namespace {

TEST(VectorPath, TheBaselineRunsEverywhereAndTheBestIsSupported) {
  EXPECT_TRUE(CpuSupports(VectorPath::kSse2));
  EXPECT_TRUE(CpuSupports(BestVectorPath()));
  // The paths are nested: AVX-512 here implies AVX2 with FMA, which implies SSE4.
  EXPECT_TRUE(!CpuSupports(VectorPath::kAvx512) || CpuSupports(VectorPath::kAvx2));
  EXPECT_TRUE(!CpuSupports(VectorPath::kAvx2) || CpuSupports(VectorPath::kSse4));
  EXPECT_EQ(ActiveVectorPath(), BestVectorPath());
  EXPECT_EQ(std::string(VectorPathName(VectorPath::kSse2)), "SSE2");
  EXPECT_EQ(std::string(VectorPathName(VectorPath::kSse4)), "SSE4");
  EXPECT_EQ(std::string(VectorPathName(VectorPath::kAvx2)), "AVX2");
  EXPECT_EQ(std::string(VectorPathName(VectorPath::kAvx512)), "AVX-512");
  std::printf("vector path chosen on this machine: %s\n", VectorPathName(BestVectorPath()));
}

TEST(VectorPath, ForcingAnUnsupportedPathChangesNothing) {
  for (VectorPath path :
       {VectorPath::kSse2, VectorPath::kSse4, VectorPath::kAvx2, VectorPath::kAvx512}) {
    if (CpuSupports(path)) {
      EXPECT_TRUE(ForceVectorPath(path));
      EXPECT_EQ(ActiveVectorPath(), path);
    } else {
      const VectorPath before = ActiveVectorPath();
      EXPECT_FALSE(ForceVectorPath(path));
      EXPECT_EQ(ActiveVectorPath(), before);
    }
  }
  ClearForcedVectorPath();
  EXPECT_EQ(ActiveVectorPath(), BestVectorPath());
}

// The fastest of a few passes over the signal, in ns per frame: what a path costs on this
// machine, printed beside the path (a figure to read, never a condition of the test).
double NanosecondsPerFrame(BraskRig& rig, Signal& in) {
  double fastest = 1e300;
  for (int pass = 0; pass < 5; ++pass) {
    const auto begin = std::chrono::steady_clock::now();
    rig.Process(in, 512);
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - begin;
    fastest = std::min(fastest, took.count() / in.Frames());
  }
  return fastest;
}

TEST(VectorPath, EveryPathProcessesAlikeWithinRounding) {
  // The same block on each path: the audio through the shaped part is identical, the gain may
  // differ in the last digits only. A path that crashes (a misaligned AVX spill on Windows,
  // say) or computes garbage fails here.
  Signal in = MakeMaterial(Material::kDrums, 4800, 48000.0, 1.0);
  Output first;
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    BraskRig rig;
    rig.Set(kParamInput, 30.0);
    const Output out = rig.Process(in, 480);
    std::printf("%-8s %s%6.1f ns per frame (Input 30, blocks of 512, incl. the test's copies)\n",
                VectorPathName(path), path == BestVectorPath() ? "(picked) " : "         ",
                NanosecondsPerFrame(rig, in));
    if (first.left.empty()) {
      first = out;
      continue;
    }
    for (size_t n = 0; n < out.left.size(); ++n) {
      ASSERT_NEAR(out.left[n], first.left[n], 1e-12) << n;
      ASSERT_NEAR(out.right[n], first.right[n], 1e-12) << n;
    }
  }
}

}  // namespace
