#include <gtest/gtest.h>

#include <cmath>

#include "plugin/NyquistLowpass.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

NyquistLowpass Designed(float sampleRate) {
  NyquistLowpass f;
  f.DesignLowpass(19000.0f, 0.7f, sampleRate);
  return f;
}

// Magnitude of 1 / (s^2/w0^2 + s/(w0 q) + 1) at s = j pi, straight from the complex value.
double AnalogGainAtNyquist(double w0, double q) {
  return 1.0 / std::hypot(1.0 - (kPi / w0) * (kPi / w0), kPi / (w0 * q));
}

double DigitalGainAtNyquist(const NyquistLowpass& f) {
  return (double(f.b0) - f.b1 + f.b2) / (1.0 - f.a1 + f.a2);
}

TEST(NyquistLowpass, CoefficientsAt44100) {
  const NyquistLowpass f = Designed(44100.0f);
  EXPECT_FALSE(f.IsBypassed());
  EXPECT_NEAR(f.b0, 0.864756, 2e-6);
  EXPECT_NEAR(f.b1, 0.437669, 2e-6);
  EXPECT_NEAR(f.b2, -0.010862, 2e-6);
  EXPECT_NEAR(f.a1, 0.293284, 2e-6);
  EXPECT_NEAR(f.a2, -0.001722, 2e-6);
  EXPECT_NEAR(DigitalGainAtNyquist(f), 0.590394, 2e-6);
  EXPECT_EQ((f.b0 + f.b1) + f.b2, (1.0f + f.a1) + f.a2);  // unity gain at DC
}

TEST(NyquistLowpass, CoefficientsAt48000) {
  const NyquistLowpass f = Designed(48000.0f);
  EXPECT_NEAR(f.b0, 0.832199, 2e-6);
  EXPECT_NEAR(f.b1, 0.400389, 2e-6);
  EXPECT_NEAR(f.b2, -0.018733, 2e-6);
  EXPECT_NEAR(f.a1, 0.214452, 2e-6);
  EXPECT_NEAR(f.a2, -0.000597, 2e-6);
  EXPECT_NEAR(DigitalGainAtNyquist(f), 0.526246, 2e-6);
}

TEST(NyquistLowpass, UnityAtDcAndPrototypeGainAtNyquist) {
  for (float rate : {44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f}) {
    const NyquistLowpass f = Designed(rate);
    const double dcGain = (double(f.b0) + f.b1 + f.b2) / (1.0 + f.a1 + f.a2);
    EXPECT_NEAR(dcGain, 1.0, 1e-6) << rate;
    const double w0 = 2.0 * kPi * 19000.0 / rate;
    EXPECT_NEAR(DigitalGainAtNyquist(f), AnalogGainAtNyquist(w0, 0.7), 1e-5) << rate;
  }
}

TEST(NyquistLowpass, FlushesResultsBelowSmallestNormalFloat) {
  NyquistLowpass f = Designed(44100.0f);
  EXPECT_EQ(f.ProcessSample(1.2e-38f), 0.0f);  // b0 * x lies just below the threshold
  f.ClearState();
  EXPECT_EQ(f.ProcessSample(-1.2e-38f), 0.0f);
  f.ClearState();
  EXPECT_EQ(f.ProcessSample(1e-40f), 0.0f);
  f.ClearState();
  const float small = f.ProcessSample(2e-38f);
  EXPECT_GT(small, 0.0f);
  EXPECT_GE(double(small), NyquistLowpass::kDenormalThreshold);
}

TEST(NyquistLowpass, ImpulseTailEndsInExactZeros) {
  NyquistLowpass f = Designed(48000.0f);
  f.ProcessSample(1.0f);
  float y = 1.0f;
  for (int n = 0; n < 1000; ++n) y = f.ProcessSample(0.0f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_EQ(f.y1, 0.0f);
  EXPECT_EQ(f.y2, 0.0f);
}

TEST(NyquistLowpass, LeftOutWhereTheDesignDoesNotExist) {
  for (float rate :
       {1234.5678f, 12345.68f, 22050.0f, 32000.0f, 40000.0f, 43000.0f, 0.0f, -44100.0f}) {
    NyquistLowpass f = Designed(rate);
    EXPECT_TRUE(f.IsBypassed()) << rate;
    for (float x : {0.5f, -1.0f, 0.25f, 3.0f}) EXPECT_EQ(f.ProcessSample(x), x) << rate;
  }
  for (float rate : {44100.0f, 48000.0f, 96000.0f, 192000.0f}) {
    EXPECT_FALSE(Designed(rate).IsBypassed()) << rate;
  }
}

TEST(NyquistLowpass, StableAndBoundedAtEveryTestedRate) {
  for (float rate : {1234.5678f, 22050.0f, 32000.0f, 40000.0f, 43339.0f, 43341.0f, 44100.0f,
                     48000.0f, 96000.0f, 192000.0f}) {
    NyquistLowpass f = Designed(rate);
    float peak = 0.0f;
    for (int n = 0; n < 200000; ++n) {
      const float x = (n / 37) % 2 == 0 ? 1.0f : -1.0f;
      peak = std::fmax(peak, std::fabs(f.ProcessSample(x)));
    }
    EXPECT_TRUE(f.StateIsFinite()) << rate;
    EXPECT_LT(peak, 4.0f) << rate;
  }
}

TEST(NyquistLowpass, BadRateDoesNotPoisonALaterGoodOne) {
  NyquistLowpass recovered = Designed(40000.0f);
  for (int n = 0; n < 1000; ++n) recovered.ProcessSample(n % 2 == 0 ? 0.9f : -0.9f);
  recovered.DesignLowpass(19000.0f, 0.7f, 48000.0f);
  recovered.ClearState();
  NyquistLowpass fresh = Designed(48000.0f);
  for (int n = 0; n < 1000; ++n) {
    const float x = float(std::sin(n * 0.1));
    ASSERT_EQ(recovered.ProcessSample(x), fresh.ProcessSample(x)) << n;
  }
}

}  // namespace
