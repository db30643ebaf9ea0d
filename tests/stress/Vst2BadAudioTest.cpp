// The VST 2 process calls fed audio no host should send, in both precisions: NaN, infinities,
// 1e30 and subnormals, and a minute of silence after a loud signal. Every output sample stays
// finite and the plug-in keeps working afterwards.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <limits>

#include "Vst2Rig.h"

namespace {

constexpr int kBlock = 512;

void Process(Vst2Rig& rig, bool is64, int frames) {
  if (is64) {
    rig.ProcessDouble(frames);
  } else {
    rig.ProcessFloat(frames);
  }
}

TEST(Vst2BadAudio, NonFiniteHugeAndSubnormalInputGiveFiniteOutput) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double tiny = std::numeric_limits<double>::denorm_min();
  const double kinds[][4] = {{nan, nan, nan, nan},
                             {inf, -inf, inf, -inf},
                             {1e30, -1e30, 1e30, 1e30},
                             {tiny, -tiny, tiny * 7, tiny},
                             {nan, 0.5, inf, 1e-310}};
  for (bool is64 : {false, true}) {
    Vst2Rig rig(kBlock);
    ASSERT_TRUE(rig.Valid());
    for (const auto& kind : kinds) {
      for (int s = 0; s < kBlock; ++s) {
        for (int c = 0; c < 4; ++c) rig.SetInput(c, s, s % 3 == 0 ? kind[c] : 0.5);
      }
      for (int block = 0; block < 4; ++block) {
        Process(rig, is64, kBlock);
        EXPECT_TRUE(rig.OutputsFinite(kBlock, is64)) << "input " << kind[0] << ", block " << block;
      }
      for (int s = 0; s < kBlock; ++s) {
        for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.5 * std::sin(0.03 * s));
      }
      Process(rig, is64, kBlock);
      EXPECT_TRUE(rig.OutputsFinite(kBlock, is64));
      double peak = 0.0;
      for (int s = 0; s < kBlock; ++s) peak = std::max(peak, std::fabs(rig.Output(0, s, is64)));
      EXPECT_GT(peak, 0.0) << "the plug-in went silent after input " << kind[0];
    }
  }
}

TEST(Vst2BadAudio, MinuteOfSilenceAfterLoudSignalStaysFiniteAndSettles) {
  for (bool is64 : {false, true}) {
    Vst2Rig rig(kBlock);
    ASSERT_TRUE(rig.Valid());
    for (int s = 0; s < kBlock; ++s) {
      for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 4.0 * std::sin(0.05 * s));
    }
    const int blocks = 60 * 44100 / kBlock;
    auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < blocks; ++block) Process(rig, is64, kBlock);
    const double loudSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (int s = 0; s < kBlock; ++s) {
      for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.0);
    }
    start = std::chrono::steady_clock::now();
    for (int block = 0; block < blocks; ++block) {
      Process(rig, is64, kBlock);
      ASSERT_TRUE(rig.OutputsFinite(kBlock, is64)) << "block " << block;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Reported, not asserted: a subnormal tail would make the silent minute the slower one.
    std::printf(
        "[ figure ] VST 2 %d-bit: a minute of loud input took %.3f s, the silent minute "
        "after it %.3f s\n",
        is64 ? 64 : 32, loudSeconds, seconds);
    for (int s = 0; s < kBlock; ++s) {
      const double out = std::fabs(rig.Output(0, s, is64));
      EXPECT_TRUE(out == 0.0 || out >= std::numeric_limits<double>::min()) << out;
      EXPECT_LT(out, 1e-6);
    }
  }
}

}  // namespace

namespace {

// Values a host should never send for a normalized parameter. setParameter with -inf once
// left "Mix" at -inf and every output sample NaN.
TEST(Vst2BadAutomation, ValuesOutsideZeroToOneKeepOutputFinite) {
  const float values[] = {-std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(),
                          -std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::max(),
                          -1.0f,
                          2.0f};
  for (float value : values) {
    for (int param = 0; param < 8; ++param) {
      Vst2Rig rig(kBlock);
      ASSERT_TRUE(rig.Valid());
      for (int s = 0; s < kBlock; ++s) {
        for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.5 * std::sin(0.03 * s));
      }
      rig.effect->setParameter(rig.effect.Get(), param, value);
      const float normalized = rig.effect->getParameter(rig.effect.Get(), param);
      EXPECT_TRUE(normalized >= 0.0f && normalized <= 1.0f) << "parameter " << param;
      for (bool is64 : {false, true}) {
        Process(rig, is64, kBlock);
        EXPECT_TRUE(rig.OutputsFinite(kBlock, is64))
            << "parameter " << param << " set to " << value << (is64 ? ", 64" : ", 32") << "-bit";
      }
    }
  }
}

}  // namespace

namespace {

// With the power switch off the input passes straight through, unchanged: NaN and infinities
// included, by design.
TEST(Vst2BadAudio, SwitchedOffPassesInputUnchanged) {
  for (bool is64 : {false, true}) {
    Vst2Rig rig(kBlock);
    ASSERT_TRUE(rig.Valid());
    rig.effect->setParameter(rig.effect.Get(), 6, 0.0f);  // "Bypass": 0 passes the input
    for (int s = 0; s < kBlock; ++s) {
      const double bad = s % 2 ? std::numeric_limits<double>::quiet_NaN()
                               : std::numeric_limits<double>::infinity();
      for (int c = 0; c < 4; ++c) rig.SetInput(c, s, s % 3 == 0 ? bad : 0.25);
    }
    Process(rig, is64, kBlock);
    for (int s = 0; s < kBlock; ++s) {
      const double out = rig.Output(0, s, is64);
      if (s % 3 != 0) {
        EXPECT_EQ(out, 0.25) << s;
      } else if (s % 2) {
        EXPECT_TRUE(std::isnan(out)) << s;
      } else {
        EXPECT_EQ(out, std::numeric_limits<double>::infinity()) << s;
      }
    }
  }
}

}  // namespace
