#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "BraskRig.h"
#include "plugin/DenormalGuard.h"

namespace {

bool AllFiniteAndBounded(const Output& out, double bound) {
  for (size_t n = 0; n < out.left.size(); ++n) {
    if (!(std::fabs(out.left[n]) <= bound) || !(std::fabs(out.right[n]) <= bound)) return false;
  }
  return true;
}

void Configure(BraskRig& rig) {
  rig.Set(kParamInput, 24.0);
  rig.Set(kParamAttack, 2.0);
  rig.Set(kParamHpf, 120.0);
}

TEST(BraskNonFiniteInput, BurstCountsAsSilence) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (int sidechain = 0; sidechain <= 1; ++sidechain) {
    Signal clean = MusicLike(4096, 48000.0, 0.7);
    for (size_t n = 0; n < 4096; ++n) {
      clean[2][n] = 0.8 * clean[1][n];
      clean[3][n] = 0.8 * clean[0][n];
    }
    Signal dirty = clean;
    for (size_t n = 1000; n < 1100; ++n) {
      for (int c = 0; c < 4; ++c) {
        const double bad[] = {nan, inf, -inf, -nan, 1e300};
        if ((n + size_t(c)) % 3 == 0) {
          dirty[c][n] = bad[(n / 3 + size_t(c)) % 5];
          clean[c][n] = 0.0;
        }
      }
    }
    BraskRig a, b;
    for (BraskRig* rig : {&a, &b}) {
      Configure(*rig);
      rig->Set(kParamSidechain, sidechain);
    }
    const Output expected = a.Process(clean);
    const Output got = b.Process(dirty);
    EXPECT_EQ(got.left, expected.left) << "sidechain " << sidechain;
    EXPECT_EQ(got.right, expected.right) << "sidechain " << sidechain;
    EXPECT_TRUE(AllFiniteAndBounded(got, 10.0));
  }
}

TEST(BraskNonFiniteInput, HugeFiniteInputNeverPoisonsLaterBlocks) {
  // Near the top of the float range the filters themselves overflow (a held value does; one
  // alternating at the Nyquist rate is what the audio low-pass removes); the states are brought
  // back to rest at the end of the block, and the ringing of huge values then dies away.
  for (bool alternating : {true, false}) {
    SCOPED_TRACE(alternating ? "alternating" : "held");
    BraskRig rig;
    Configure(rig);
    Signal spike(512);
    for (size_t n = 0; n < 512; ++n) {
      spike[0][n] = spike[1][n] = (alternating && n % 2 ? -3.4e38 : 3.4e38);
    }
    rig.Process(spike);
    Signal after = MusicLike(3 * 48000);
    const Output out = rig.Process(after);
    EXPECT_TRUE(AllFiniteAndBounded(out, std::numeric_limits<double>::max()));
    const Output tail{std::vector<double>(out.left.begin() + 2 * 48000, out.left.end()),
                      std::vector<double>(out.right.begin() + 2 * 48000, out.right.end())};
    EXPECT_TRUE(AllFiniteAndBounded(tail, 10.0));
  }
}

class BraskSampleRates : public ::testing::TestWithParam<double> {};

TEST_P(BraskSampleRates, OutputStaysFiniteAndBounded) {
  const double rate = GetParam();
  for (double hpf : {20.0, 500.0}) {
    BraskRig rig(rate);
    Configure(rig);
    rig.Set(kParamHpf, hpf);
    rig.Set(kParamOutput, 6.0);
    Signal signal = MusicLike(40000, rate, 1.0);
    const Output out = rig.Process(signal);
    EXPECT_TRUE(AllFiniteAndBounded(out, 8.0)) << rate << " Hz, HPF " << hpf;
    EXPECT_TRUE(std::isfinite(rig.plug.GainState()));
  }
}

INSTANTIATE_TEST_SUITE_P(LowAndUsualRates, BraskSampleRates,
                         ::testing::Values(800.0, 1234.5678, 12345.68, 22050.0, 32000.0, 40000.0,
                                           44100.0, 48000.0, 96000.0, 192000.0));

TEST(BraskSampleRateChange, BadRateNeverPoisonsAGoodOne) {
  Signal warmUp = MusicLike(8192, 1234.5678, 1.0);
  Signal program = MusicLike(144000, 48000.0, 0.8);
  BraskRig recovered(1234.5678), fresh(48000.0);
  for (BraskRig* rig : {&recovered, &fresh}) Configure(*rig);
  recovered.Process(warmUp);
  recovered.plug.SetSampleRate(48000.0);
  recovered.plug.OnReset();
  const Output a = recovered.Process(program);
  const Output b = fresh.Process(program);
  EXPECT_TRUE(AllFiniteAndBounded(a, 8.0));
  // Once the carried filter and gain states have died away, both instances agree.
  double worst = 0.0;
  for (size_t n = 120000; n < 144000; ++n) {
    worst = std::fmax(worst, std::fabs(a.left[n] - b.left[n]));
  }
  EXPECT_LT(worst, 1e-9);
}

TEST(BraskSampleRateChange, RateThatIsNotAPositiveNumberPassesInputThrough) {
  for (double rate : {0.0, -48000.0, std::nan(""), HUGE_VAL}) {
    BraskRig rig(rate);
    Configure(rig);
    Signal signal = MusicLike(512, 48000.0, 0.9);
    const Output out = rig.Process(signal);
    EXPECT_EQ(out.left, signal[0]) << rate;
    EXPECT_EQ(out.right, signal[1]) << rate;
    EXPECT_EQ(rig.plug.GainState(), 1.0) << rate;
  }
}

#if defined(__aarch64__)
// The FPCR holds control bits only (the exception flags live in the FPSR), and FZ is one bit.
uint64_t ControlMode() { return DenormalGuard::ReadMode(); }
// What a host may have set of the flush bits, short of all of them.
constexpr uint64_t kPartialFlushModes[] = {0};
#else
// The control bits of the mode; the sticky exception flags below them record what any
// arithmetic raised, the test's own included.
uint64_t ControlMode() { return DenormalGuard::ReadMode() & ~uint64_t(_MM_EXCEPT_MASK); }
// What a host may have set of the flush bits, short of all of them.
constexpr uint64_t kPartialFlushModes[] = {0, _MM_FLUSH_ZERO_ON, _MM_DENORMALS_ZERO_ON};
#endif

TEST(BraskFloatingPointMode, HostModeRestoredAfterBlock) {
  const uint64_t hostMode = ControlMode() & ~DenormalGuard::kFlushToZeroBits;
  DenormalGuard::WriteMode(hostMode);
  BraskRig rig;
  Signal signal = MusicLike(256);
  rig.Process(signal);
  EXPECT_EQ(ControlMode(), hostMode);
  {
    const DenormalGuard guard;
    EXPECT_EQ(ControlMode(), hostMode | DenormalGuard::kFlushToZeroBits);
  }
  EXPECT_EQ(ControlMode(), hostMode);
}

TEST(BraskFloatingPointMode, EveryHostModeFlushesInsideAndComesBack) {
  // Hosts that flush already keep their mode untouched; any other gets the bits meanwhile.
  const uint64_t bits = DenormalGuard::kFlushToZeroBits;
  const uint64_t plain = ControlMode() & ~bits;
  std::vector<uint64_t> hostModes = {plain | bits};
  for (uint64_t partial : kPartialFlushModes) hostModes.push_back(plain | partial);
  for (uint64_t hostMode : hostModes) {
    DenormalGuard::WriteMode(hostMode);
    {
      const DenormalGuard guard;
      EXPECT_EQ(ControlMode(), hostMode | bits) << std::hex << hostMode;
    }
    EXPECT_EQ(ControlMode(), hostMode) << std::hex << hostMode;
  }
  DenormalGuard::WriteMode(plain);
}

TEST(BraskFloatingPointMode, GuardFlushesSubnormalResultsAndOperands) {
  // volatile: computed at run time, in the mode of the moment.
  volatile double smallest = DBL_MIN, half = 0.5, one = 1.0;
  volatile double subnormal = smallest * half;
  ASSERT_GT(subnormal, 0.0) << "the host's mode already flushes";
  volatile float smallestFloat = FLT_MIN, halfFloat = 0.5f;
  const DenormalGuard guard;
  EXPECT_EQ(smallest * half, 0.0);             // a result
  EXPECT_EQ(subnormal * one, 0.0);             // an operand
  EXPECT_EQ(smallestFloat * halfFloat, 0.0f);  // single precision too
}

TEST(BraskFloatingPointMode, LongSilenceSettlesToExactZeros) {
  BraskRig rig;
  Signal loud = MusicLike(4800, 48000.0, 1.0);
  rig.Process(loud);
  Signal silence(48000 * 20);
  const Output out = rig.Process(silence);
  EXPECT_EQ(out.left.back(), 0.0);
  EXPECT_EQ(out.right.back(), 0.0);
}

}  // namespace

namespace {

TEST(BraskParameterValues, OutOfRangeAndNaNValuesKeepOutputFinite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (int param = kParamInput; param <= kParamHpf; ++param) {
    for (double bad : {nan, inf, -inf, -1e300}) {
      BraskRig rig;
      Configure(rig);
      rig.plug.ParamAt(param)->SetValueClamped(bad);
      if (bad == -inf || bad == -1e300) rig.plug.ParamAt(param)->SetValueFromNormalized(bad);
      rig.plug.OnParamChanged(param);
      Signal signal = MusicLike(2048, 48000.0, 0.9);
      const Output out = rig.Process(signal);
      EXPECT_TRUE(AllFiniteAndBounded(out, 100.0)) << "parameter " << param << " at " << bad;
    }
  }
}

}  // namespace
