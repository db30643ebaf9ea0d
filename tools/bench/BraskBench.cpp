// brask_bench: cost of Brask's ProcessBlock per stereo frame (the "frame" counter), over
// ten seconds of program material, for typical settings, heavy compression, side-chain keying
// and the silence after a signal; against block size, sample rate and vector path; and per
// instance when 64 instances take turns, as on a mix with one on every track.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "plugin/Biquad.h"
#include "plugin/Brask.h"
#include "plugin/DenormalGuard.h"
#include "plugin/VectorPath.h"

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 512;

// Ten seconds of deterministic program material: partials under a moving envelope plus noise.
struct Material {
  explicit Material(double rate) : frames(int(10 * rate)), left(size_t(frames)), right(left) {
    uint32_t seed = 1u;
    const double twoPi = 6.283185307179586;
    for (int n = 0; n < frames; ++n) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = (double(seed >> 8) / double(1u << 24) - 0.5) * 0.05;
      const double t = n / rate;
      const double envelope = 0.5 + 0.4 * std::sin(twoPi * 1.7 * t);
      const double tone = 0.6 * std::sin(twoPi * 98.0 * t) + 0.3 * std::sin(twoPi * 1318.0 * t) +
                          0.1 * std::sin(twoPi * 6050.0 * t);
      left[size_t(n)] = envelope * tone + noise;
      right[size_t(n)] = envelope * (0.8 * tone + 0.2 * std::sin(twoPi * 441.0 * t)) - noise;
    }
  }
  int frames;
  std::vector<double> left, right;
};

const Material& Music(double rate) {
  static std::map<double, std::unique_ptr<Material>> byRate;
  std::unique_ptr<Material>& m = byRate[rate];
  if (!m) m = std::make_unique<Material>(rate);
  return *m;
}

class Session {
 public:
  explicit Session(double rate = kSampleRate, int blockFrames = kBlockFrames)
      : plug(nullptr),
        rate(rate),
        block(blockFrames),
        silence(size_t(blockFrames), 0.0),
        outL(size_t(blockFrames)),
        outR(size_t(blockFrames)) {
    Music(rate);  // made before any timing starts
    plug.SetSampleRate(rate);
    for (int i = 0; i < plug.ParamCount(); ++i) plug.OnParamChanged(i);
    plug.OnReset();
  }

  void Set(int paramIdx, double value) {
    plug.ParamAt(paramIdx)->SetValueClamped(value);
    plug.OnParamChanged(paramIdx);
  }

  // The next block of the material, from the start again at its end; the side chain carries
  // the material (swapped) when keyed, silence otherwise.
  void MusicBlock(bool keyed = false) {
    const Material& m = Music(rate);
    if (position + block > m.frames) position = 0;
    double* l = const_cast<double*>(m.left.data()) + position;
    double* r = const_cast<double*>(m.right.data()) + position;
    double* inputs[4] = {l, r, keyed ? r : silence.data(), keyed ? l : silence.data()};
    Run(inputs);
    position += block;
  }

  void SilentBlock() {
    double* inputs[4] = {silence.data(), silence.data(), silence.data(), silence.data()};
    Run(inputs);
  }

  int BlockFrames() const { return block; }

 private:
  void Run(double** inputs) {
    double* outputs[2] = {outL.data(), outR.data()};
    std::lock_guard<std::recursive_mutex> lock(plug.Mutex());
    plug.ProcessBlock(inputs, outputs, block);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }

  Brask plug;
  double rate;
  int block;
  int position = 0;
  std::vector<double> silence, outL, outR;
};

void ReportPerFrame(benchmark::State& state, int64_t framesPerIteration) {
  state.counters["frame"] =
      benchmark::Counter(double(state.iterations() * framesPerIteration),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// DAW audio threads run with denormals flushed; so do the timed blocks of music.
void RunMusic(benchmark::State& state, Session& session, bool keyed = false) {
  const DenormalGuard flushDenormals;
  for (auto _ : state) session.MusicBlock(keyed);
  ReportPerFrame(state, session.BlockFrames());
}

void Heavy(Session& session) {
  session.Set(kParamInput, 30.0);
  session.Set(kParamAttack, 1.0);
  session.Set(kParamRelease, 100.0);
}

// The loud default case: every parameter at its default.
void BM_Defaults(benchmark::State& state) {
  Session session;
  RunMusic(state, session);
}

void BM_HeavyCompression(benchmark::State& state) {
  Session session;
  Heavy(session);
  RunMusic(state, session);
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
  Heavy(session);
  const int loudBlocks = int(kSampleRate) / kBlockFrames;
  const int silentBlocks = 20 * loudBlocks;
  int silentLeft = 0;
  for (auto _ : state) {
    if (silentLeft == 0) {
      state.PauseTiming();
      for (int b = 0; b < loudBlocks; ++b) session.MusicBlock();
      silentLeft = silentBlocks;
      state.ResumeTiming();
    }
    session.SilentBlock();
    --silentLeft;
  }
  ReportPerFrame(state, kBlockFrames);
}

// Heavy compression in blocks of 16 to 4096 frames.
void BM_BlockSize(benchmark::State& state) {
  Session session(kSampleRate, int(state.range(0)));
  Heavy(session);
  RunMusic(state, session);
}

// Heavy compression at 44.1, 96 and 192 kHz.
void BM_SampleRate(benchmark::State& state) {
  Session session(double(state.range(0)));
  Heavy(session);
  RunMusic(state, session);
}

// 1 or 64 instances, each processing its block in turn; the counter is per instance and frame,
// so it shows what the caches lose when many instances share them.
void BM_Instances(benchmark::State& state) {
  std::vector<std::unique_ptr<Session>> sessions;
  for (int i = 0; i < state.range(0); ++i) {
    sessions.push_back(std::make_unique<Session>());
    Heavy(*sessions.back());
  }
  for (auto _ : state) {
    for (auto& session : sessions) session->MusicBlock();
  }
  ReportPerFrame(state, kBlockFrames * state.range(0));
}

// Heavy compression on each vector path this processor supports.
void BM_VectorPath(benchmark::State& state) {
  const VectorPath path = VectorPath(state.range(0));
  if (!ForceVectorPath(path)) {
    state.SkipWithError("path not supported by this processor");
    return;
  }
  state.SetLabel(VectorPathName(path));
  Session session;
  Heavy(session);
  RunMusic(state, session);
  ClearForcedVectorPath();
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
BENCHMARK(BM_BlockSize)->RangeMultiplier(2)->Range(16, 4096);
BENCHMARK(BM_SampleRate)->Arg(44100)->Arg(96000)->Arg(192000);
BENCHMARK(BM_Instances)->Arg(1)->Arg(64);
BENCHMARK(BM_VectorPath)->DenseRange(0, kVectorPathCount - 1);
BENCHMARK(BM_HighpassTailSubnormal);
BENCHMARK(BM_HighpassTailFlushed);

BENCHMARK_MAIN();
