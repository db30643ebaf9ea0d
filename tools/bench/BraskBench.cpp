// brask_bench: cost of Brask's ProcessBlock per stereo frame at 48 kHz in 512-frame blocks,
// for typical settings, heavy compression, side-chain keying and the silence after a signal.
// The "frame" counter is the time per stereo frame.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

#include "plugin/Biquad.h"
#include "plugin/Brask.h"
#include "plugin/DenormalGuard.h"

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 512;
constexpr int kSecondFrames = 48000;

// Ten seconds of deterministic program material: partials under a moving envelope plus noise.
struct Material {
  Material() : left(kFrames), right(kFrames) {
    uint32_t seed = 1u;
    const double twoPi = 6.283185307179586;
    for (int n = 0; n < kFrames; ++n) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = (double(seed >> 8) / double(1u << 24) - 0.5) * 0.05;
      const double t = n / kSampleRate;
      const double envelope = 0.5 + 0.4 * std::sin(twoPi * 1.7 * t);
      const double tone = 0.6 * std::sin(twoPi * 98.0 * t) + 0.3 * std::sin(twoPi * 1318.0 * t) +
                          0.1 * std::sin(twoPi * 6050.0 * t);
      left[size_t(n)] = envelope * tone + noise;
      right[size_t(n)] = envelope * (0.8 * tone + 0.2 * std::sin(twoPi * 441.0 * t)) - noise;
    }
  }
  static constexpr int kFrames = 10 * kSecondFrames;
  std::vector<double> left, right;
};

const Material& Music() {
  static const Material material;
  return material;
}

class Session {
 public:
  Session() : plug(nullptr), silence(kBlockFrames, 0.0), outL(kBlockFrames), outR(kBlockFrames) {
    plug.SetSampleRate(kSampleRate);
    for (int i = 0; i < plug.ParamCount(); ++i) plug.OnParamChanged(i);
    plug.OnReset();
  }

  void Set(int paramIdx, double value) {
    plug.ParamAt(paramIdx)->SetValueClamped(value);
    plug.OnParamChanged(paramIdx);
  }

  // One block of the material starting at frame start; the side chain carries the material
  // (swapped) when keyed, silence otherwise.
  void MusicBlock(int start, bool keyed) {
    const Material& m = Music();
    double* l = const_cast<double*>(m.left.data()) + start;
    double* r = const_cast<double*>(m.right.data()) + start;
    double* inputs[4] = {l, r, keyed ? r : silence.data(), keyed ? l : silence.data()};
    Run(inputs);
  }

  void SilentBlock() {
    double* inputs[4] = {silence.data(), silence.data(), silence.data(), silence.data()};
    Run(inputs);
  }

  Brask plug;

 private:
  void Run(double** inputs) {
    double* outputs[2] = {outL.data(), outR.data()};
    std::lock_guard<std::recursive_mutex> lock(plug.Mutex());
    plug.ProcessBlock(inputs, outputs, kBlockFrames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }

  std::vector<double> silence, outL, outR;
};

void ReportPerFrame(benchmark::State& state, int64_t framesPerIteration) {
  state.counters["frame"] =
      benchmark::Counter(double(state.iterations() * framesPerIteration),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RunMusic(benchmark::State& state, Session& session, bool keyed) {
  int start = 0;
  for (auto _ : state) {
    session.MusicBlock(start, keyed);
    start += kBlockFrames;
    if (start + kBlockFrames > Material::kFrames) start = 0;
  }
  ReportPerFrame(state, kBlockFrames);
}

void BM_Defaults(benchmark::State& state) {
  Session session;
  RunMusic(state, session, false);
}

void BM_HeavyCompression(benchmark::State& state) {
  Session session;
  session.Set(kParamInput, 30.0);
  session.Set(kParamAttack, 1.0);
  session.Set(kParamRelease, 100.0);
  RunMusic(state, session, false);
}

void BM_SideChain(benchmark::State& state) {
  Session session;
  session.Set(kParamInput, 20.0);
  session.Set(kParamSidechain, 1.0);
  RunMusic(state, session, true);
}

// One second of loud material, then 20 s of silence, over and over: the filter tails decay
// through the range where, without flushing, every operation would meet subnormal numbers.
// Only the silent blocks are timed.
void BM_SilenceAfterSignal(benchmark::State& state) {
  Session session;
  session.Set(kParamInput, 30.0);
  session.Set(kParamAttack, 1.0);
  session.Set(kParamRelease, 100.0);
  constexpr int kSilentBlocks = 20 * kSecondFrames / kBlockFrames;
  int silentLeft = 0;
  for (auto _ : state) {
    if (silentLeft == 0) {
      state.PauseTiming();
      for (int start = 0; start + kBlockFrames <= kSecondFrames; start += kBlockFrames) {
        session.MusicBlock(start, false);
      }
      silentLeft = kSilentBlocks;
      state.ResumeTiming();
    }
    session.SilentBlock();
    --silentLeft;
  }
  ReportPerFrame(state, kBlockFrames);
}

// What the flushing saves: the four high-pass filters of a session ringing out in the
// subnormal range, with and without the guard Brask holds around every block.
Biquad* TailFilters() {
  static Biquad filters[4];
  for (Biquad& f : filters) {
    f.type = kBiquadHighpass;
    f.q = 0.82;
    f.fc = 15.0 / kSampleRate;
    f.ComputeCoefficients();
    f.z1 = 1e-310;  // a tail well inside the subnormal range
    f.z2 = -0.7e-310;
  }
  return filters;
}

void RingOut(Biquad* filters) {
  for (int n = 0; n < kBlockFrames; ++n) {
    for (int i = 0; i < 4; ++i) benchmark::DoNotOptimize(filters[i].ProcessSample(0.0));
  }
}

void BM_HighpassTailSubnormal(benchmark::State& state) {
  for (auto _ : state) RingOut(TailFilters());
  ReportPerFrame(state, kBlockFrames);
}

void BM_HighpassTailFlushed(benchmark::State& state) {
  for (auto _ : state) {
    const DenormalGuard guard;
    RingOut(TailFilters());
  }
  ReportPerFrame(state, kBlockFrames);
}

}  // namespace

BENCHMARK(BM_Defaults);
BENCHMARK(BM_HeavyCompression);
BENCHMARK(BM_SideChain);
BENCHMARK(BM_SilenceAfterSignal);
BENCHMARK(BM_HighpassTailSubnormal);
BENCHMARK(BM_HighpassTailFlushed);

BENCHMARK_MAIN();
