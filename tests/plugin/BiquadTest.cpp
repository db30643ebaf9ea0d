#include <gtest/gtest.h>

#include <cmath>

#include "plugin/Biquad.h"

namespace {

Biquad Highpass(double cutoffHz, double q, double sampleRate) {
  Biquad filter;
  filter.type = kBiquadHighpass;
  filter.q = q;
  filter.peakGain = 1.0;
  filter.fc = cutoffHz / sampleRate;
  filter.ComputeCoefficients();
  return filter;
}

bool IsTransparent(const Biquad& f) {
  return f.a0 == 1.0 && f.a1 == 0.0 && f.a2 == 0.0 && f.b1 == 0.0 && f.b2 == 0.0;
}

TEST(Biquad, InitialCoefficientsPassInputUnchanged) {
  Biquad filter;
  for (double x : {0.25, -1.5, 3e-7, 1e300, -0.0}) EXPECT_EQ(filter.ProcessSample(x), x);
}

TEST(Biquad, HighpassCoefficientsAt44100) {
  const Biquad f = Highpass(20.0, 0.7, 44100.0);
  EXPECT_NEAR(f.a0, 0.997966742, 5e-10);
  EXPECT_NEAR(f.a1, -1.995933484, 5e-10);
  EXPECT_NEAR(f.a2, 0.997966742, 5e-10);
  EXPECT_NEAR(f.b1, -1.995929432, 5e-10);
  EXPECT_NEAR(f.b2, 0.995937535, 5e-10);
  EXPECT_EQ(f.a1, -2.0 * f.a0);
  EXPECT_EQ(f.a2, f.a0);
}

TEST(Biquad, HighpassBlocksDcAndPassesNyquist) {
  Biquad dc = Highpass(100.0, 0.7, 48000.0);
  Biquad nyquist = Highpass(100.0, 0.7, 48000.0);
  double dcOut = 1.0, nyquistOut = 0.0;
  for (int n = 0; n < 48000; ++n) {
    dcOut = dc.ProcessSample(1.0);
    nyquistOut = nyquist.ProcessSample(n % 2 == 0 ? 1.0 : -1.0);
  }
  EXPECT_NEAR(dcOut, 0.0, 1e-12);
  EXPECT_NEAR(std::fabs(nyquistOut), 1.0, 1e-9);
}

TEST(Biquad, CutoffAtOrAboveNyquistLeavesFilterTransparent) {
  // "HPF" at 500 Hz with a host rate of 800 Hz, or a rate that is not a number at all.
  for (double rate : {800.0, 1000.0, 0.0, -48000.0, std::nan("")}) {
    const Biquad f = Highpass(500.0, 0.7, rate);
    EXPECT_TRUE(IsTransparent(f)) << "rate " << rate;
  }
}

TEST(Biquad, StaysFiniteAtOddRates) {
  for (double rate : {1234.5678, 1000.0001, 12345.68}) {
    for (double cutoff : {15.0, 20.0, 500.0}) {
      Biquad f = Highpass(cutoff, 0.7, rate);
      double peak = 0.0;
      for (int n = 0; n < 100000; ++n) {
        peak = std::fmax(peak, std::fabs(f.ProcessSample(std::sin(n * 0.37) + (n % 7 == 0))));
      }
      EXPECT_TRUE(std::isfinite(peak)) << rate << " Hz, cutoff " << cutoff;
      EXPECT_LT(peak, 100.0) << rate << " Hz, cutoff " << cutoff;
    }
  }
}

TEST(Biquad, TransparentFallbackKeepsStateRunning) {
  Biquad f = Highpass(500.0, 0.7, 48000.0);
  for (int n = 0; n < 100; ++n) f.ProcessSample(n % 3 == 0 ? 1.0 : -0.5);
  f.fc = 500.0 / 700.0;
  f.ComputeCoefficients();
  ASSERT_TRUE(IsTransparent(f));
  for (int n = 0; n < 100; ++n) f.ProcessSample(0.5);
  EXPECT_TRUE(f.StateIsFinite());
  // Back at a good rate the high-pass works again from the carried state.
  f.fc = 500.0 / 48000.0;
  f.ComputeCoefficients();
  double out = 0.0;
  for (int n = 0; n < 48000; ++n) out = f.ProcessSample(0.5);
  EXPECT_NEAR(out, 0.0, 1e-9);
}

}  // namespace
