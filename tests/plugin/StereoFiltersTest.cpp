// The two-lane filters against the scalar ones, on every vector path this processor can run:
// every output and the final state bit for bit, with the two lanes designed differently,
// near-subnormal results and non-finite input.

#include "plugin/VectorTargets.h"
// Highway compiles the lane runners below once per vector path.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "tests/plugin/StereoFiltersTest.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Must follow foreach_target.h.
#include <hwy/highway.h>

#include "plugin/StereoFilters.h"

HWY_BEFORE_NAMESPACE();
namespace brask {
namespace HWY_NAMESPACE {

// Runs left[n] and right[n] through the pair, lanes out, and stores the final state back.
void RunLowpassPair(NyquistLowpass* pair, const float* left, const float* right, int frames,
                    float* outLeft, float* outRight) {
  StereoNyquistLowpass stereo(pair);
  for (int n = 0; n < frames; ++n) {
    const StereoFloat y = stereo.ProcessSample(MakeStereo(left[n], right[n]));
    outLeft[n] = LeftOf(y);
    outRight[n] = RightOf(y);
  }
  stereo.StoreTo(pair);
}

void RunBiquadPair(Biquad* pair, const double* left, const double* right, int frames,
                   double* outLeft, double* outRight) {
  StereoBiquad stereo(pair);
  for (int n = 0; n < frames; ++n) {
    const StereoDouble y = stereo.ProcessSample(MakeStereo(left[n], right[n]));
    outLeft[n] = LeftOf(y);
    outRight[n] = RightOf(y);
  }
  stereo.StoreTo(pair);
}

// NOLINTNEXTLINE(google-readability-namespace-comments)
}  // namespace HWY_NAMESPACE
}  // namespace brask
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "DenormalGuardScope.h"
#include "ProgramMaterial.h"
#include "VectorPathScope.h"

namespace {

struct PairRunners {
  void (*lowpass)(NyquistLowpass*, const float*, const float*, int, float*, float*);
  void (*biquad)(Biquad*, const double*, const double*, int, double*, double*);
};

const PairRunners& RunnersFor(VectorPath path) {
  static const PairRunners kRunners[kVectorPathCount] = {
      {brask::HWY_NAMESPACE::RunLowpassPair, brask::HWY_NAMESPACE::RunBiquadPair},  // baseline
      {brask::N_SSE4::RunLowpassPair, brask::N_SSE4::RunBiquadPair},
      {brask::N_AVX2::RunLowpassPair, brask::N_AVX2::RunBiquadPair},
      {brask::N_AVX3::RunLowpassPair, brask::N_AVX3::RunBiquadPair},
  };
  return kRunners[int(path)];
}

template <typename T>
bool SameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Inputs that drive a filter through ordinary values, results near FLT_MIN, signed zeros and,
// once, a NaN.
std::vector<double> TrickyInput(uint32_t seed) {
  std::vector<double> in;
  NoiseSource noise(seed);
  for (int n = 0; n < 3000; ++n) in.push_back(noise.Next());
  for (int n = 0; n < 300; ++n) in.push_back(noise.Next() * 3e-38);
  for (double v : {double(FLT_MIN), -double(FLT_MIN), 1.17549e-38, -0.0, 0.0, 1e-45, 2e-38}) {
    in.push_back(v);
  }
  for (int n = 0; n < 200; ++n) in.push_back(0.0);  // the tails decay towards the flush
  in.push_back(std::nan(""));
  for (int n = 0; n < 50; ++n) in.push_back(noise.Next());
  return in;
}

std::vector<float> Floats(const std::vector<double>& in) { return {in.begin(), in.end()}; }

// Both lanes of a path against two scalar filters fed the same samples.
void ExpectLowpassLanes(VectorPath path, const NyquistLowpass (&design)[2],
                        const std::vector<float>& left, const std::vector<float>& right) {
  SCOPED_TRACE(VectorPathName(path));
  NyquistLowpass scalar[2] = {design[0], design[1]};
  NyquistLowpass pair[2] = {design[0], design[1]};
  const int frames = int(left.size());
  std::vector<float> outLeft(left.size()), outRight(left.size());
  RunnersFor(path).lowpass(pair, left.data(), right.data(), frames, outLeft.data(),
                           outRight.data());
  for (int n = 0; n < frames; ++n) {
    const float l = scalar[0].ProcessSample(left[size_t(n)]);
    const float r = scalar[1].ProcessSample(right[size_t(n)]);
    ASSERT_TRUE(SameBits(outLeft[size_t(n)], l))
        << n << ": " << outLeft[size_t(n)] << " against " << l;
    ASSERT_TRUE(SameBits(outRight[size_t(n)], r))
        << n << ": " << outRight[size_t(n)] << " against " << r;
  }
  for (int c = 0; c < 2; ++c) {
    EXPECT_TRUE(SameBits(pair[c].x1, scalar[c].x1) && SameBits(pair[c].x2, scalar[c].x2));
    EXPECT_TRUE(SameBits(pair[c].y1, scalar[c].y1) && SameBits(pair[c].y2, scalar[c].y2));
  }
}

class StereoFilters : public ::testing::TestWithParam<bool> {};

TEST_P(StereoFilters, LowpassLanesAreTheScalarFilters) {
  const DenormalGuardScope flushing(GetParam());
  NyquistLowpass design[2];
  design[0].DesignLowpass(19000.0f, 0.7f, 48000.0f);
  design[1].DesignLowpass(19000.0f, 0.7f, 96000.0f);
  for (VectorPath path : SupportedPaths()) {
    ExpectLowpassLanes(path, design, Floats(TrickyInput(1u)), Floats(TrickyInput(2u)));
  }
}

TEST_P(StereoFilters, BiquadLanesAreTheScalarFilters) {
  const DenormalGuardScope flushing(GetParam());
  Biquad design[2];
  for (int c = 0; c < 2; ++c) {
    design[c].type = kBiquadHighpass;
    design[c].q = c ? 0.82 : 0.7;
    design[c].fc = c ? 15.0 / 44100.0 : 300.0 / 48000.0;
    design[c].ComputeCoefficients();
  }
  const std::vector<double> left = TrickyInput(3u), right = TrickyInput(4u);
  for (VectorPath path : SupportedPaths()) {
    SCOPED_TRACE(VectorPathName(path));
    Biquad scalar[2] = {design[0], design[1]};
    Biquad pair[2] = {design[0], design[1]};
    std::vector<double> outLeft(left.size()), outRight(left.size());
    RunnersFor(path).biquad(pair, left.data(), right.data(), int(left.size()), outLeft.data(),
                            outRight.data());
    for (size_t n = 0; n < left.size(); ++n) {
      ASSERT_TRUE(SameBits(outLeft[n], scalar[0].ProcessSample(left[n]))) << n;
      ASSERT_TRUE(SameBits(outRight[n], scalar[1].ProcessSample(right[n]))) << n;
    }
    for (int c = 0; c < 2; ++c) {
      EXPECT_TRUE(SameBits(pair[c].z1, scalar[c].z1) && SameBits(pair[c].z2, scalar[c].z2));
    }
  }
}

TEST_P(StereoFilters, LowpassFlushesExactlyWhereTheScalarFilterDoes) {
  // A pass-through design hands every input straight to the flush test.
  const DenormalGuardScope flushing(GetParam());
  NyquistLowpass design[2];
  for (NyquistLowpass& f : design) {
    f.b0 = 1.0f;
    f.b1 = f.b2 = f.a1 = f.a2 = 0.0f;
  }
  const float above = std::nextafter(FLT_MIN, 1.0f);
  const std::vector<float> left = {FLT_MIN, -FLT_MIN, above, -above, -0.0f, 1e-30f, 1.5e-38f};
  std::vector<float> right;
  for (float x : left) right.push_back(-x);
  for (VectorPath path : SupportedPaths()) ExpectLowpassLanes(path, design, left, right);
  EXPECT_EQ(design[0].ProcessSample(FLT_MIN), 0.0f);  // the boundary value itself is flushed
}

// Brask runs its filters with subnormal flushing on; both modes must agree.
INSTANTIATE_TEST_SUITE_P(FlushingOffAndOn, StereoFilters, ::testing::Bool());

}  // namespace

#endif  // HWY_ONCE
