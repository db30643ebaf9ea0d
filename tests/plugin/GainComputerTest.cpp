#include <gtest/gtest.h>

#include <cmath>

#include "plugin/GainComputer.h"

namespace {

TEST(GainComputer, WorkedTarget) {
  const double I = 100.0;  // "Input" 10
  const double T = std::exp(-I / kLogScale);
  EXPECT_NEAR(T, 9.61e-6, 0.01e-6);
  EXPECT_NEAR(Slope(1.0), 0.891251, 1e-6);  // dL + dR = 1
  EXPECT_NEAR(TargetGain(0.5, T, 1.0, I), 0.306990, 1e-6);
}

TEST(GainComputer, AtOrBelowThresholdTargetIsUnity) {
  EXPECT_EQ(TargetGain(1.0, 1.0, 6.0, 0.0), 1.0);
  EXPECT_EQ(TargetGain(0.2, 1.0, 6.0, 0.0), 1.0);
  EXPECT_EQ(TargetGain(std::nan(""), 1.0, 6.0, 0.0), 1.0);
}

TEST(GainComputer, SlopeOneLeavesLevelUnchanged) {
  EXPECT_EQ(Slope(0.0), 1.0);
  EXPECT_NEAR(TargetGain(0.5, 1e-5, 0.0, 100.0), 1.0, 1e-12);
}

TEST(GainComputer, NegativeDetectorSumSteepensBeyondOne) {
  // Above the threshold a slope over 1 raises the level: the gain law expands there.
  EXPECT_GT(TargetGain(0.5, 1e-5, -0.5, 100.0), 1.0);
  EXPECT_LT(TargetGain(0.5, 1e-5, 0.5, 100.0), 1.0);
}

TEST(GainComputer, NonPositiveDetectorSumIsNeverAboveThreshold) {
  const double D = std::exp(-62.83185307 / 48000.0);
  for (double N : {0.0, -0.5, -1e-9}) {
    const double L = DetectorLevel(N, D);
    EXPECT_EQ(TargetGain(L, 1e-9, 1.0, 100.0), 1.0) << N;
  }
}

TEST(GainComputer, LevelIsTheSumWhenItExceedsItsSmoothedRoot) {
  const double D = std::exp(-62.83185307 / 48000.0);
  EXPECT_EQ(DetectorLevel(0.5, D), 0.5);
  const double small = 1e-6;  // below sqrt(N (1 - D))
  const double O = small * (1.0 - D);
  EXPECT_EQ(DetectorLevel(small, D), std::sqrt(O + D * O));
}

TEST(GainComputer, SmoothingLimitsFallAndRise) {
  const double F = std::exp(-1.0 / 24.0), G = 0.999;
  EXPECT_EQ(SmoothedGain(1.0, 0.1, F, G), F);        // falls by F at most
  EXPECT_EQ(SmoothedGain(1.0, 0.99, F, G), 0.99);    // reaches a near target
  EXPECT_EQ(SmoothedGain(0.5, 1.0, F, G), 0.5 / G);  // rises by 1/G at most
  EXPECT_EQ(SmoothedGain(0.9995, 1.0, F, G), 1.0);   // reaches a near target
  EXPECT_EQ(SmoothedGain(0.7, 0.7, F, G), 0.7);
}

}  // namespace
