// The two-lane filters against the scalar ones: every output and the final state bit for bit,
// with the two lanes designed differently, near-subnormal results and non-finite input.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "DenormalGuardScope.h"
#include "ProgramMaterial.h"
#include "plugin/StereoFilters.h"

namespace {

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

void ExpectSameLowpass(const NyquistLowpass& a, const NyquistLowpass& b) {
  EXPECT_TRUE(SameBits(a.x1, b.x1) && SameBits(a.x2, b.x2));
  EXPECT_TRUE(SameBits(a.y1, b.y1) && SameBits(a.y2, b.y2));
}

class StereoFilters : public ::testing::TestWithParam<bool> {};

TEST_P(StereoFilters, LowpassLanesAreTheScalarFilters) {
  const DenormalGuardScope flushing(GetParam());
  NyquistLowpass scalar[2];
  scalar[0].DesignLowpass(19000.0f, 0.7f, 48000.0f);
  scalar[1].DesignLowpass(19000.0f, 0.7f, 96000.0f);
  NyquistLowpass pair[2] = {scalar[0], scalar[1]};
  const std::vector<double> left = TrickyInput(1u), right = TrickyInput(2u);
  StereoNyquistLowpass stereo(pair);
  for (size_t n = 0; n < left.size(); ++n) {
    const float l = scalar[0].ProcessSample(float(left[n]));
    const float r = scalar[1].ProcessSample(float(right[n]));
    const StereoFloats lanes = stereo.ProcessSample(StereoFloat(float(left[n]), float(right[n])));
    ASSERT_TRUE(SameBits(lanes[0], l)) << n << ": " << lanes[0] << " against " << l;
    ASSERT_TRUE(SameBits(lanes[1], r)) << n << ": " << lanes[1] << " against " << r;
  }
  stereo.StoreTo(pair);
  ExpectSameLowpass(pair[0], scalar[0]);
  ExpectSameLowpass(pair[1], scalar[1]);
}

TEST_P(StereoFilters, BiquadLanesAreTheScalarFilters) {
  const DenormalGuardScope flushing(GetParam());
  Biquad scalar[2];
  for (int c = 0; c < 2; ++c) {
    scalar[c].type = kBiquadHighpass;
    scalar[c].q = c ? 0.82 : 0.7;
    scalar[c].fc = c ? 15.0 / 44100.0 : 300.0 / 48000.0;
    scalar[c].ComputeCoefficients();
  }
  Biquad pair[2] = {scalar[0], scalar[1]};
  const std::vector<double> left = TrickyInput(3u), right = TrickyInput(4u);
  StereoBiquad stereo(pair);
  for (size_t n = 0; n < left.size(); ++n) {
    const double l = scalar[0].ProcessSample(left[n]);
    const double r = scalar[1].ProcessSample(right[n]);
    const StereoDoubles out = stereo.ProcessSample(StereoDouble(left[n], right[n]));
    ASSERT_TRUE(SameBits(LeftOf(out), l)) << n;
    ASSERT_TRUE(SameBits(RightOf(out), r)) << n;
  }
  stereo.StoreTo(pair);
  for (int c = 0; c < 2; ++c) {
    EXPECT_TRUE(SameBits(pair[c].z1, scalar[c].z1) && SameBits(pair[c].z2, scalar[c].z2));
  }
}

TEST_P(StereoFilters, LowpassFlushesExactlyWhereTheScalarFilterDoes) {
  // A pass-through design hands every input straight to the flush test.
  const DenormalGuardScope flushing(GetParam());
  NyquistLowpass scalar[2];
  for (NyquistLowpass& f : scalar) {
    f.b0 = 1.0f;
    f.b1 = f.b2 = f.a1 = f.a2 = 0.0f;
  }
  NyquistLowpass pair[2] = {scalar[0], scalar[1]};
  StereoNyquistLowpass stereo(pair);
  const float above = std::nextafter(FLT_MIN, 1.0f);
  for (float x : {FLT_MIN, -FLT_MIN, above, -above, -0.0f, 1e-30f, 1.5e-38f}) {
    const float l = scalar[0].ProcessSample(x);
    const float r = scalar[1].ProcessSample(-x);
    const StereoFloats lanes = stereo.ProcessSample(StereoFloat(x, -x));
    EXPECT_TRUE(SameBits(lanes[0], l)) << x << ": " << lanes[0] << " against " << l;
    EXPECT_TRUE(SameBits(lanes[1], r)) << -x << ": " << lanes[1] << " against " << r;
  }
  EXPECT_EQ(scalar[0].ProcessSample(FLT_MIN), 0.0f);  // the boundary value itself is flushed
}

// Brask runs its filters with subnormal flushing on; both modes must agree.
INSTANTIATE_TEST_SUITE_P(FlushingOffAndOn, StereoFilters, ::testing::Bool());

}  // namespace
