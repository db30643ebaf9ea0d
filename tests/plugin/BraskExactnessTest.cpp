// The vectorised processing against the scalar reference, sample by sample, on every path this
// processor can run: the audio path bit for bit, the output within 1e-12 (relative 1e-9 near
// silence), over program material, settings, automation and sample rates.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "BraskRig.h"
#include "ProgramMaterial.h"
#include "ScalarReference.h"
#include "VectorPathScope.h"

namespace {

struct Setting {
  const char* name;
  double input, output, attack, release, mix, hpf;
  int sidechain;
};

const Setting kSettings[] = {
    {"defaults", 0, 0, 10, 400, 100, 20, 0}, {"light", 8, 2, 20, 900, 100, 60, 0},
    {"heavy", 36, 8, 1, 100, 100, 20, 0},    {"parallel", 28, 12, 4, 600, 50, 150, 0},
    {"keyed", 24, 0, 2, 300, 100, 40, 1},    {"slammed", 40, 20, 1, 3000, 100, 500, 0},
};

// One instance of each, set alike.
struct Pair {
  explicit Pair(double rate) : rig(rate), reference(rate) {}
  void Apply(const Setting& s) {
    const double values[] = {s.input, s.output, s.attack, s.release, s.mix, s.hpf};
    for (int i = 0; i < 6; ++i) rig.Set(i, values[i]);
    rig.Set(kParamSidechain, s.sidechain);
    reference.input = s.input;
    reference.output = s.output;
    reference.attack = s.attack;
    reference.release = s.release;
    reference.mix = s.mix;
    reference.hpf = s.hpf;
    reference.sidechain = s.sidechain;
  }
  // Runs a block on both from the same input; outputs land at the same offset.
  void Block(Signal& in, int start, int frames, Output& product, Output& exact) {
    double* inputs[4];
    for (int c = 0; c < 4; ++c) inputs[c] = in[c].data() + start;
    double* out[2] = {product.left.data() + start, product.right.data() + start};
    double* ref[2] = {exact.left.data() + start, exact.right.data() + start};
    {
      std::lock_guard<std::recursive_mutex> lock(rig.plug.Mutex());
      rig.plug.ProcessBlock(inputs, out, frames);
    }
    reference.ProcessBlock(inputs, ref, frames);
  }
  BraskRig rig;
  ScalarReference reference;
};

Output Sized(int frames) {
  Output o;
  o.left.assign(size_t(frames), 0.0);
  o.right.assign(size_t(frames), 0.0);
  return o;
}

// Within 1e-12 of the reference; near silence within 1e-9 of its size.
::testing::AssertionResult Close(const Output& product, const Output& exact) {
  for (int c = 0; c < 2; ++c) {
    const std::vector<double>& p = c ? product.right : product.left;
    const std::vector<double>& e = c ? exact.right : exact.left;
    for (size_t n = 0; n < p.size(); ++n) {
      const double bound = std::fabs(e[n]) < 1e-3 ? 1e-9 * std::fabs(e[n]) : 1e-12;
      if (!(std::fabs(p[n] - e[n]) <= bound)) {
        return ::testing::AssertionFailure()
               << "channel " << c << ", frame " << n << ": " << p[n] << " against " << e[n];
      }
    }
  }
  return ::testing::AssertionSuccess();
}

bool BitEqual(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// A whole signal through both, in blocks of the given size.
void RunInBlocks(Pair& pair, Signal& in, int blockFrames, Output& product, Output& exact) {
  for (int start = 0; start < in.Frames(); start += blockFrames) {
    pair.Block(in, start, std::min(blockFrames, in.Frames() - start), product, exact);
  }
}

const Material kMaterials[] = {Material::kDrums, Material::kBass, Material::kNoise,
                               Material::kTones};

TEST(BraskExactness, OutputFollowsTheScalarComputation) {
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    for (const Setting& setting : kSettings) {
      for (Material m : kMaterials) {
        SCOPED_TRACE(std::string(setting.name) + ", " + MaterialName(m));
        Signal in = MakeMaterial(m, 24000, 48000.0, 0.8, setting.sidechain == 1);
        if (setting.sidechain) {  // the main input carries other material then
          const Signal main = MakeMaterial(Material::kTones, 24000, 48000.0, 0.5);
          in[0] = main.channels[0];
          in[1] = main.channels[1];
        }
        Pair pair(48000.0);
        pair.Apply(setting);
        Output product = Sized(in.Frames()), exact = Sized(in.Frames());
        RunInBlocks(pair, in, 512, product, exact);
        EXPECT_TRUE(Close(product, exact));
        EXPECT_NEAR(pair.rig.plug.GainState(), pair.reference.GainState(), 1e-12);
      }
    }
  }
}

TEST(BraskExactness, AudioPathIsBitExactOnEveryPath) {
  // With "Mix" at 0 the output is the shaped signal alone: saturation, low-pass, high-pass.
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    for (double rate : {44100.0, 48000.0, 96000.0, 192000.0}) {
      for (Material m : kMaterials) {
        Signal in = MakeMaterial(m, 12000, rate, 1.6);  // hot: peaks beyond full scale
        Pair pair(rate);
        pair.Apply({"shaped", 30, 0, 10, 400, 0, 20, 0});
        Output product = Sized(in.Frames()), exact = Sized(in.Frames());
        RunInBlocks(pair, in, 300, product, exact);
        EXPECT_TRUE(BitEqual(product.left, exact.left)) << rate << " Hz, " << MaterialName(m);
        EXPECT_TRUE(BitEqual(product.right, exact.right)) << rate << " Hz, " << MaterialName(m);
      }
    }
  }
}

TEST(BraskExactness, SampleRatesFrom44100To192000) {
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    for (double rate : {44100.0, 88200.0, 96000.0, 192000.0}) {
      for (const Setting& setting : {kSettings[2], kSettings[3], kSettings[4]}) {
        SCOPED_TRACE(std::to_string(int(rate)) + " Hz, " + setting.name);
        Signal in = MakeMaterial(Material::kDrums, int(rate / 4), rate, 0.9);
        if (setting.sidechain) in = MakeMaterial(Material::kDrums, int(rate / 4), rate, 0.9, true);
        Pair pair(rate);
        pair.Apply(setting);
        Output product = Sized(in.Frames()), exact = Sized(in.Frames());
        RunInBlocks(pair, in, 1024, product, exact);
        EXPECT_TRUE(Close(product, exact));
      }
    }
  }
}

TEST(BraskExactness, AutomationAtBlockBoundaries) {
  // Every parameter moves between blocks of uneven sizes, the switches included.
  const int sizes[] = {1, 17, 64, 65, 100, 333, 512, 2048};
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    Signal in = MakeMaterial(Material::kBass, 48000, 48000.0, 0.9);
    const Signal drums = MakeMaterial(Material::kDrums, 48000, 48000.0, 0.9);
    in[2] = drums.channels[0];
    in[3] = drums.channels[1];
    Pair pair(48000.0);
    Output product = Sized(in.Frames()), exact = Sized(in.Frames());
    int start = 0;
    for (int block = 0; start < in.Frames(); ++block) {
      const double t = block / 40.0;
      const Setting s = {"automated",
                         40.0 * std::fmod(t, 1.0),
                         -10.0 + 20.0 * std::fmod(t * 1.3, 1.0),
                         1.0 + 49.0 * std::fmod(t * 0.7, 1.0),
                         100.0 + 2900.0 * std::fmod(t * 0.9, 1.0),
                         100.0 * std::fmod(t * 1.7, 1.0),
                         20.0 + 480.0 * std::fmod(t * 0.4, 1.0),
                         block % 7 == 3};
      pair.Apply(s);
      const int frames = std::min(sizes[block % 8], in.Frames() - start);
      pair.Block(in, start, frames, product, exact);
      start += frames;
    }
    EXPECT_TRUE(Close(product, exact)) << VectorPathName(path);
  }
}

TEST(BraskExactness, OutputDoesNotDependOnTheBlockSize) {
  for (VectorPath path : SupportedPaths()) {
    const ForcedPath forced(path);
    Signal in = MakeMaterial(Material::kNoise, 9000, 48000.0, 1.2);
    Output first;
    for (int blockFrames : {4096, 1, 7, 64, 513}) {
      BraskRig rig;
      rig.Set(kParamInput, 33.0);
      rig.Set(kParamAttack, 2.0);
      const Output out = rig.Process(in, blockFrames);
      if (first.left.empty()) {
        first = out;
        continue;
      }
      EXPECT_TRUE(BitEqual(out.left, first.left)) << blockFrames << " frames";
      EXPECT_TRUE(BitEqual(out.right, first.right)) << blockFrames << " frames";
    }
  }
}

}  // namespace
