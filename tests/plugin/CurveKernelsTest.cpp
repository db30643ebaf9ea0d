// The vector kernels against the scalar C library computation, on every compiled path this
// processor can run: the audio curve bit for bit, the detector within a few ulp.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "ProgramMaterial.h"
#include "VectorPathScope.h"
#include "plugin/ChunkKernels.h"
#include "plugin/GainComputer.h"
#include "plugin/SampleGuards.h"
#include "plugin/Saturate.h"

namespace {

const double kK = std::pow(10.0, -2.25);

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<float> KernelAudio(VectorPath path, const std::vector<double>& in) {
  std::vector<float> out(in.size(), -1.0f);
  KernelsFor(path).saturateAudio(in.data(), out.data(), int(in.size()), kK);
  return out;
}

void ExpectAudioExact(VectorPath path, const std::vector<double>& in) {
  SCOPED_TRACE(VectorPathName(path));
  const std::vector<float> out = KernelAudio(path, in);
  int mismatches = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    const float expected = float(Saturate(Sanitized(in[i]), kK));
    if (!SameBits(out[i], expected) && ++mismatches <= 5) {
      ADD_FAILURE() << "x = " << in[i] << ": " << out[i] << " instead of " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// Inputs whose curve value lies within a double's rounding of halfway between two floats,
// where a last-ulp difference of the vector routines would choose the other float.
std::vector<double> HalfwayInputs(int count) {
  std::vector<double> inputs;
  NoiseSource noise(3u);
  for (int i = 0; i < count; ++i) {
    const float f = float(2.5 * noise.Next());
    const double halfway = (double(f) + double(std::nextafter(f, 10.0f))) / 2.0;
    double x = halfway;
    for (int step = 0; step < 8; ++step) {  // Newton: the curve is close to the identity
      const double h = 1e-7;
      const double slope = (Saturate(x + h, kK) - Saturate(x - h, kK)) / (2.0 * h);
      x -= (Saturate(x, kK) - halfway) / slope;
    }
    inputs.push_back(x);
  }
  return inputs;
}

TEST(CurveKernels, AudioCurveMatchesTheCLibraryBitForBit) {
  std::vector<double> sweep;
  for (int i = -40000; i <= 40000; ++i) sweep.push_back(i * 1e-4);  // -4..4
  std::vector<double> magnitudes;
  NoiseSource noise(11u);
  for (int i = 0; i < 20000; ++i) {
    magnitudes.push_back(noise.Next() * std::pow(10.0, -30.0 + 32.1 * (i % 1000) / 1000.0));
  }
  for (VectorPath path : SupportedPaths()) {
    ExpectAudioExact(path, sweep);
    ExpectAudioExact(path, magnitudes);  // up to 128, the vector range
  }
}

TEST(CurveKernels, AudioCurveFallsBackWhereTheFloatRoundingIsInDoubt) {
  const std::vector<double> halfway = HalfwayInputs(200000);
  for (VectorPath path : SupportedPaths()) ExpectAudioExact(path, halfway);
}

TEST(CurveKernels, AudioCurveOutsideTheVectorRangeIsTheScalarOne) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> odd = {0.0,    -0.0,         4.9e-324, -2.2e-308,       127.99, 128.0,
                                   128.01, -500.0,       1e6,      double(FLT_MAX), -1e39,  inf,
                                   -inf,   std::nan(""), 3e300,    -128.00001,      1.0,    -1.0};
  for (VectorPath path : SupportedPaths()) {
    ExpectAudioExact(path, odd);
    const std::vector<float> out = KernelAudio(path, {std::nan(""), inf, 1e39});
    for (float v : out) EXPECT_EQ(v, 0.0f);  // what cannot be held enters as silence
  }
}

TEST(CurveKernels, EverySampleIsIndependentOfItsPlaceInTheChunk) {
  const Signal s = MakeMaterial(Material::kNoise, 203, 48000.0, 2.0);
  const std::vector<double>& in = s.channels[0];
  DetectorLaw law = {std::pow(10.0, 1.5), kK, std::exp(-62.83185307 / 48000.0), 0.0, 300.0};
  law.T = std::exp(-law.I / kLogScale);
  for (VectorPath path : SupportedPaths()) {
    SCOPED_TRACE(VectorPathName(path));
    const ChunkKernels& kernels = KernelsFor(path);
    std::vector<float> whole(in.size());
    std::vector<double> gains(in.size());
    kernels.saturateAudio(in.data(), whole.data(), int(in.size()), kK);
    kernels.targetGains(in.data(), s.channels[1].data(), gains.data(), int(in.size()), law);
    for (size_t i = 0; i < in.size(); ++i) {
      float single;
      double gain;
      kernels.saturateAudio(&in[i], &single, 1, kK);
      kernels.targetGains(&in[i], &s.channels[1][i], &gain, 1, law);
      ASSERT_TRUE(SameBits(single, whole[i])) << i;
      ASSERT_EQ(gain, gains[i]) << i;
    }
  }
}

DetectorLaw LawFor(double I, double sampleRate) {
  DetectorLaw law;
  law.I = I;
  law.T = std::exp(-I / kLogScale);
  law.gin = std::pow(10.0, I / 10.0 / 20.0);
  law.k = kK;
  law.D = std::exp(-62.83185307 / sampleRate);
  return law;
}

std::vector<double> KernelGains(VectorPath path, const std::vector<double>& dL,
                                const std::vector<double>& dR, const DetectorLaw& law) {
  std::vector<double> out(dL.size(), -1.0);
  KernelsFor(path).targetGains(dL.data(), dR.data(), out.data(), int(dL.size()), law);
  return out;
}

TEST(CurveKernels, TargetGainsStayWithinAFewUlpOfTheCLibrary) {
  // Detector samples from near silence to beyond full scale; with "Input" at 40 the largest
  // reach the end of the vector range (x^4 near 2.7e8).
  std::vector<double> dL, dR;
  NoiseSource noise(5u);
  for (int i = 0; i < 40000; ++i) {
    const double level = std::pow(10.0, -6.0 + 6.1 * (i % 500) / 500.0);
    dL.push_back(float(level * noise.Next()));
    dR.push_back(float(level * (i % 3 ? noise.Next() : -dL.back() / level)));
  }
  for (VectorPath path : SupportedPaths()) {
    SCOPED_TRACE(VectorPathName(path));
    for (double I : {0.0, 10.0, 100.0, 200.0, 300.0, 400.0}) {
      for (double rate : {44100.0, 192000.0}) {
        const DetectorLaw law = LawFor(I, rate);
        const std::vector<double> gains = KernelGains(path, dL, dR, law);
        double worst = 0.0;
        for (size_t i = 0; i < dL.size(); ++i) {
          const double exact = DetectorTargetGain(dL[i], dR[i], law);
          worst = std::fmax(worst, std::fabs(gains[i] - exact) / exact);
        }
        EXPECT_LT(worst, 1e-13) << "I = " << I << ", rate " << rate;
      }
    }
  }
}

TEST(CurveKernels, TargetGainsOutsideTheVectorRangeAreTheScalarOnes) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  // With "Input" at 40 the curves' arguments leave the vector range; at 0 they stay within it,
  // and only the slope's sum dL + dR leaves the gain law's range.
  const struct {
    double I;
    std::vector<double> dL, dR;
  } cases[] = {
      {400.0,
       {2.0, -5.0, 1e30, inf, nan, 0.5, 30.0, -21.0, 3e38},
       {1.5, 0.1, -0.2, 0.0, 0.2, nan, 20.0, -20.0, 3e38}},
      {0.0, {30.0, 25.0, 41.0}, {20.0, 25.0, -0.5}},
  };
  for (VectorPath path : SupportedPaths()) {
    SCOPED_TRACE(VectorPathName(path));
    for (const auto& c : cases) {
      const DetectorLaw law = LawFor(c.I, 48000.0);
      const std::vector<double> gains = KernelGains(path, c.dL, c.dR, law);
      for (size_t i = 0; i < c.dL.size(); ++i) {
        const double exact = DetectorTargetGain(c.dL[i], c.dR[i], law);
        EXPECT_TRUE(std::memcmp(&gains[i], &exact, sizeof exact) == 0)
            << c.dL[i] << ", " << c.dR[i] << ": " << gains[i] << " instead of " << exact;
      }
    }
  }
}

TEST(CurveKernels, LevelsAtTheLevelLawsJumpAreTheScalarOnes) {
  // With unit drive and a silent right detector, N = Saturate(dL); dL is swept in steps of
  // one ulp across the level where the law switches branch (N = 1 - D). The threshold lies far
  // below that level, so the branch decides the gain.
  DetectorLaw law = LawFor(0.0, 48000.0);
  law.I = 100.0;
  law.T = std::exp(-law.I / kLogScale);
  double x = 1.0 - law.D;
  for (int step = 0; step < 6; ++step) x -= Saturate(x, law.k) - (1.0 - law.D);
  std::vector<double> dL, dR;
  double v = x;
  for (int i = 0; i < 100; ++i) v = std::nextafter(v, 0.0);
  for (int i = 0; i < 200; ++i, v = std::nextafter(v, 1.0)) {
    dL.push_back(v);
    dR.push_back(0.0);
  }
  for (VectorPath path : SupportedPaths()) {
    SCOPED_TRACE(VectorPathName(path));
    const std::vector<double> gains = KernelGains(path, dL, dR, law);
    for (size_t i = 0; i < dL.size(); ++i) {
      ASSERT_EQ(gains[i], DetectorTargetGain(dL[i], dR[i], law)) << i;
    }
  }
}

}  // namespace
