#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BraskRig.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

bool BitEqual(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The shaped signal (saturated, band-limited) that "Mix" 0 produces.
Output Shaped(Signal signal) {
  BraskRig rig;
  rig.Set(kParamMix, 0.0);
  return rig.Process(signal);
}

TEST(BraskProcessing, SilenceInGivesSilenceOut) {
  BraskRig rig;
  rig.Set(kParamInput, 30.0);
  Signal silence(4096);
  const Output out = rig.Process(silence);
  for (int n = 0; n < 4096; ++n) {
    ASSERT_EQ(out.left[size_t(n)], 0.0) << n;
    ASSERT_EQ(out.right[size_t(n)], 0.0) << n;
  }
  EXPECT_EQ(rig.plug.GainState(), 1.0);
}

TEST(BraskProcessing, BypassOffCopiesInputBitForBit) {
  Signal signal = MusicLike(2048, 48000.0, 3.0);
  signal[0][10] = std::nan("");
  signal[1][11] = -HUGE_VAL;
  signal[0][12] = -0.0;
  signal[1][13] = 4.9e-324;
  BraskRig rig;
  rig.Set(kParamInput, 25.0);
  rig.Set(kParamOutput, 12.0);
  rig.Set(kParamBypass, 0.0);
  const Output out = rig.Process(signal);
  for (size_t n = 0; n < 2048; ++n) {
    ASSERT_TRUE(BitEqual(out.left[n], signal[0][n])) << n;
    ASSERT_TRUE(BitEqual(out.right[n], signal[1][n])) << n;
  }
}

TEST(BraskProcessing, BypassOffKeepsDetectorGainAndFiltersRunning) {
  Signal first = MusicLike(3000, 48000.0, 0.8);
  Signal second = MusicLike(3000, 48000.0, 0.6);
  BraskRig bypassed, processing;
  for (BraskRig* rig : {&bypassed, &processing}) rig->Set(kParamInput, 20.0);
  bypassed.Set(kParamBypass, 0.0);
  bypassed.Process(first);
  processing.Process(first);
  EXPECT_EQ(bypassed.plug.GainState(), processing.plug.GainState());
  bypassed.Set(kParamBypass, 1.0);
  const Output a = bypassed.Process(second);
  const Output b = processing.Process(second);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
}

TEST(BraskProcessing, SwitchValueOutOfRangePassesInputThrough) {
  Signal signal = MusicLike(512, 48000.0, 0.7);
  BraskRig rig;
  rig.plug.ParamAt(kParamBypass)->SetValueFromNormalized(-0.8);  // rounds to -1
  ASSERT_EQ(rig.plug.ParamAt(kParamBypass)->Value(), -1.0);
  const Output out = rig.Process(signal);
  EXPECT_EQ(out.left, signal[0]);
  EXPECT_EQ(out.right, signal[1]);
}

TEST(BraskMix, MixZeroGivesShapedSignalAndIgnoresOutput) {
  Signal signal = MusicLike(4096, 48000.0, 0.9);
  BraskRig loud, quiet;
  for (BraskRig* rig : {&loud, &quiet}) {
    rig->Set(kParamMix, 0.0);
    rig->Set(kParamInput, 30.0);
  }
  loud.Set(kParamOutput, 20.0);
  quiet.Set(kParamOutput, -20.0);
  const Output a = loud.Process(signal);
  const Output b = quiet.Process(signal);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
  EXPECT_LT(loud.plug.GainState(), 0.9);  // compressing, yet none of it is heard
  double difference = 0.0;
  for (size_t n = 0; n < 4096; ++n) difference += std::fabs(a.left[n] - signal[0][n]);
  EXPECT_GT(difference, 1.0);  // shaped, not the raw input
}

TEST(BraskMix, OutputTwentyScalesTheShapedSignal) {
  Signal signal = MusicLike(4096, 48000.0, 0.3);
  const Output shaped = Shaped(signal);
  BraskRig full, half;
  full.Set(kParamOutput, 20.0);
  half.Set(kParamOutput, 20.0);
  half.Set(kParamMix, 50.0);
  const Output a = full.Process(signal);
  const Output b = half.Process(signal);
  EXPECT_EQ(full.plug.GainState(), 1.0);
  for (size_t n = 0; n < 4096; ++n) {
    ASSERT_EQ(a.left[n], 10.0 * shaped.left[n]) << n;
    ASSERT_EQ(a.right[n], 10.0 * shaped.right[n]) << n;
    ASSERT_DOUBLE_EQ(b.left[n], 5.5 * shaped.left[n]) << n;
    ASSERT_DOUBLE_EQ(b.right[n], 5.5 * shaped.right[n]) << n;
  }
}

TEST(BraskGain, InputZeroForcesGainBackToUnity) {
  BraskRig rig;
  rig.Set(kParamInput, 30.0);
  Signal loud = MusicLike(2048, 48000.0, 0.9);
  rig.Process(loud);
  ASSERT_LT(rig.plug.GainState(), 0.5);
  rig.Set(kParamInput, 0.0);
  Signal one(1);
  one[0][0] = 0.5;
  rig.Process(one);
  EXPECT_EQ(rig.plug.GainState(), 1.0);

  // Levels above 1 still compress within the sample, but the gain is back at 1 afterwards.
  Signal hot(64);
  for (int n = 0; n < 64; ++n) hot[0][size_t(n)] = hot[1][size_t(n)] = (n % 2 ? -3.0 : 3.0);
  const Output shaped = Shaped(hot);
  BraskRig fresh;
  const Output out = fresh.Process(hot);
  EXPECT_EQ(fresh.plug.GainState(), 1.0);
  bool compressedSomewhere = false;
  for (size_t n = 0; n < 64; ++n) {
    compressedSomewhere |= std::fabs(out.left[n]) < std::fabs(shaped.left[n]);
  }
  EXPECT_TRUE(compressedSomewhere);
}

TEST(BraskGain, AttackNeverFallsFasterThanF) {
  BraskRig rig;
  rig.Set(kParamInput, 40.0);
  rig.Set(kParamAttack, 1.0);
  Signal burst = MusicLike(600, 48000.0, 1.0);
  const std::vector<double> gains = rig.GainTrace(burst);
  const double F = std::exp(-1.0 / 24.0);
  double previous = 1.0;
  int limitedSteps = 0;
  for (double g : gains) {
    ASSERT_GE(g, previous * F * (1.0 - 1e-15));
    if (g < previous && g == previous * F) ++limitedSteps;
    previous = g;
  }
  EXPECT_GT(limitedSteps, 10);  // the slew limit is actually reached
  EXPECT_LT(gains.back(), 0.1);
}

TEST(BraskGain, ReleaseNeverRisesFasterThanOneOverG) {
  BraskRig rig;
  rig.Set(kParamInput, 40.0);
  rig.Set(kParamRelease, 100.0);
  Signal loud = MusicLike(4800, 48000.0, 1.0);
  rig.Process(loud);
  const double start = rig.plug.GainState();
  ASSERT_LT(start, 0.1);
  const double G = std::exp(-1.0 / (48000.0 * 0.4));
  Signal silence(int(std::log(1.0 / start) / -std::log(G)) + 100);
  const std::vector<double> gains = rig.GainTrace(silence);
  double previous = start;
  for (size_t n = 0; n < gains.size(); ++n) {
    const double expected = std::fmin(previous / G, 1.0);
    ASSERT_EQ(gains[n], expected) << n;  // silence: the target is 1, so the limit always applies
    previous = gains[n];
  }
  EXPECT_EQ(gains.back(), 1.0);
}

TEST(BraskSideChain, SilentSideChainLetsGainRecoverAtReleaseRate) {
  BraskRig rig;
  rig.Set(kParamInput, 30.0);
  Signal loud = MusicLike(4800, 48000.0, 0.9);
  rig.Process(loud);
  const double start = rig.plug.GainState();
  ASSERT_LT(start, 0.5);
  rig.Set(kParamSidechain, 1.0);
  Signal mainOnly = MusicLike(2000, 48000.0, 0.9);  // side-chain channels stay silent
  const std::vector<double> gains = rig.GainTrace(mainOnly);
  const double G = std::exp(-1.0 / (48000.0 * ((400.0 - 100.0) / 2900.0 * 0.6 + 0.4)));
  double previous = start;
  for (size_t n = 0; n < gains.size(); ++n) {
    ASSERT_EQ(gains[n], std::fmin(previous / G, 1.0)) << n;
    previous = gains[n];
  }
}

TEST(BraskSideChain, DetectorFollowsSideChainAudioPathFollowsMain) {
  Signal quietMain = MusicLike(4096, 48000.0, 0.9, true);  // loud material on the side chain
  for (size_t n = 0; n < 4096; ++n) quietMain[0][n] = quietMain[1][n] = 0.01 * std::sin(n * 0.05);
  BraskRig listening, ignoring;
  for (BraskRig* rig : {&listening, &ignoring}) rig->Set(kParamInput, 30.0);
  listening.Set(kParamSidechain, 1.0);
  const Output keyed = listening.Process(quietMain);
  const Output plain = ignoring.Process(quietMain);
  EXPECT_LT(listening.plug.GainState(), 0.5);
  EXPECT_GT(ignoring.plug.GainState(), 0.9);
  double keyedEnergy = 0.0, plainEnergy = 0.0;
  for (size_t n = 2048; n < 4096; ++n) {
    keyedEnergy += keyed.left[n] * keyed.left[n];
    plainEnergy += plain.left[n] * plain.left[n];
  }
  EXPECT_LT(keyedEnergy, 0.25 * plainEnergy);
}

TEST(BraskBlocks, BlockSizeDoesNotChangeTheOutput) {
  Signal signal = MusicLike(1024, 48000.0, 0.8);
  BraskRig whole;
  whole.Set(kParamInput, 18.0);
  whole.Set(kParamAttack, 3.0);
  whole.Set(kParamMix, 70.0);
  const Output a = whole.Process(signal, 1024);
  // 16 x 64 as hosts commonly slice, and sizes that do not divide the signal at all.
  for (int blockFrames : {64, 1, 37, 100, 700}) {
    BraskRig pieces;
    pieces.Set(kParamInput, 18.0);
    pieces.Set(kParamAttack, 3.0);
    pieces.Set(kParamMix, 70.0);
    const Output b = pieces.Process(signal, blockFrames);
    EXPECT_EQ(a.left, b.left) << blockFrames;
    EXPECT_EQ(a.right, b.right) << blockFrames;
    EXPECT_EQ(whole.plug.GainState(), pieces.plug.GainState()) << blockFrames;
    EXPECT_EQ(whole.plug.MeterLevel(), pieces.plug.MeterLevel()) << blockFrames;
  }
}

TEST(BraskBlocks, EmptyBlockWritesNothing) {
  BraskRig rig;
  double left = 5.0, right = 6.0, in = 1.0;
  double* inputs[4] = {&in, &in, &in, &in};
  double* outputs[2] = {&left, &right};
  rig.plug.ProcessBlock(inputs, outputs, 0);
  rig.plug.ProcessBlock(inputs, outputs, -3);
  rig.plug.ProcessBlock(nullptr, nullptr, 16);
  EXPECT_EQ(left, 5.0);
  EXPECT_EQ(right, 6.0);
  EXPECT_EQ(rig.plug.GainState(), 1.0);
}

TEST(BraskMeter, MeterControlFollowsTheGainReduction) {
  BraskRig rig;
  IGraphics* editor = rig.plug.Editor();
  ASSERT_NE(editor, nullptr);
  const int meterIdx = rig.plug.MeterControlIndex();
  ASSERT_GE(meterIdx, 0);
  ASSERT_LT(meterIdx, editor->NControls());
  IControl* meter = editor->GetControl(meterIdx);
  EXPECT_EQ(rig.plug.MeterLevel(), 1.0);

  // At unity gain the target is 0, so the first sample leaves exactly the smoothing factor.
  Signal one(1);
  rig.Process(one);
  const double smoothing = std::exp(-4.60517018599 / (48000.0 * 0.3));
  EXPECT_EQ(rig.plug.MeterLevel(), smoothing);
  EXPECT_EQ(meter->Value(), smoothing);

  // Under compression the meter rises towards |1 - S| and the control shows every step.
  rig.Set(kParamInput, 30.0);
  Signal loud = MusicLike(48000, 48000.0, 0.9);
  for (int n = 0; n < 48000; n += 480) {
    Signal piece(480);
    for (int c = 0; c < 2; ++c) {
      std::copy(loud[c].begin() + n, loud[c].begin() + n + 480, piece[c].begin());
    }
    rig.Process(piece);
    ASSERT_EQ(meter->Value(), rig.plug.MeterLevel()) << n;
  }
  const double reduction = std::fabs(1.0 - rig.plug.GainState());
  EXPECT_GT(reduction, 0.5);
  EXPECT_NEAR(rig.plug.MeterLevel(), reduction, 0.2);
}

}  // namespace
