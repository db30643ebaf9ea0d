#include <gtest/gtest.h>

#include <cmath>

#include "plugin/Saturate.h"

namespace {

const double kAmount = std::pow(10.0, -2.25);

TEST(Saturate, AmountIsTenToTheMinus2_25) { EXPECT_EQ(kSaturationAmount, kAmount); }

TEST(Saturate, CurveValues) {
  EXPECT_EQ(Saturate(0.0, kAmount), 0.0);
  EXPECT_NEAR(Saturate(0.1, kAmount), 0.0999955, 5e-8);
  EXPECT_NEAR(Saturate(0.5, kAmount), 0.5000030, 5e-8);
  EXPECT_NEAR(Saturate(-0.5, kAmount), -0.4985985, 5e-8);
  EXPECT_NEAR(Saturate(1.0, kAmount), 1.0047319, 5e-8);
  EXPECT_NEAR(Saturate(-1.0, kAmount), -0.9867025, 5e-8);
  EXPECT_NEAR(Saturate(2.0, kAmount), 1.9983810, 5e-8);
}

TEST(Saturate, SmallSignalsAlmostUntouchedMostOnNegativeSide) {
  double worst = 0.0, worstAt = 0.0;
  for (int i = -1000; i <= 1000; ++i) {
    const double x = i * 1e-4;
    const double deviation = std::fabs(Saturate(x, kAmount) - x);
    if (deviation > worst) {
      worst = deviation;
      worstAt = x;
    }
  }
  EXPECT_LT(worst, 7e-6);
  EXPECT_GT(worst, 1e-6);
  EXPECT_LT(worstAt, 0.0);
}

TEST(Saturate, BendsPositiveAndNegativePeaksUnevenly) {
  EXPECT_GT(Saturate(1.0, kAmount) - 1.0, 0.0);
  EXPECT_GT(Saturate(-1.0, kAmount) + 1.0, 0.0);
  EXPECT_NE(Saturate(0.8, kAmount), -Saturate(-0.8, kAmount));
}

}  // namespace
