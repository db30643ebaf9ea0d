// Fuzz target: the VST 2 process calls, driven by a sequence of host calls decoded from the
// input: block sizes (zero, negative, huge), sample rates (zero, negative, NaN, infinite),
// speaker arrangements with any channel count, suspend and resume, setParameter with any value,
// and the three process calls with blocks up to the block size and beyond, missing channel
// buffers, and input from silence and subnormals to 1e30, NaN and infinities. Properties:
// nothing outside the host's buffers is touched, and every output sample is finite.

#include <climits>
#include <cstdint>
#include <limits>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst2Host.h"
#include "vst2/VstRecords.h"

namespace {

// Longest block a process call gets: past every slicing case of the block sizes used (and of
// the 64-frame chunks inside), yet short enough that an input runs in about a millisecond
// under the sanitizers, so the fuzzer explores inputs rather than long renders.
constexpr int kMostFrames = 2048;

void SetArrangement(FuzzInput& in, FuzzVst2Effect& effect) {
  VstSpeakerArrangement inputs{}, outputs{};
  inputs.numChannels = in.Range(-2, 10);
  outputs.numChannels = in.Range(-2, 10);
  const uint8_t which = in.Byte();
  effect.Dispatch(effSetSpeakerArrangement, 0, (which & 1) ? VstIntPtr(&inputs) : 0,
                  (which & 2) ? &outputs : nullptr);
}

double AnySample(FuzzInput& in, int s, double amplitude) {
  static const double kBad[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                1e30,
                                -1e30,
                                std::numeric_limits<double>::denorm_min()};
  if (amplitude < 0.0) return in.Pick(kBad);
  return amplitude * std::sin(0.05 * s + 0.3);
}

template <typename Sample>
struct Channels {
  std::vector<std::vector<Sample>> samples;
  std::vector<Sample*> pointers;

  void Build(FuzzInput& in, int count, int frames, double amplitude) {
    for (int c = 0; c < count; ++c) {
      if (in.Byte() == 0xFF) {  // a channel the host left without a buffer
        pointers.push_back(nullptr);
        continue;
      }
      samples.emplace_back(size_t(frames));
      for (int s = 0; s < frames; ++s)
        samples.back()[size_t(s)] = Sample(AnySample(in, s, amplitude));
      pointers.push_back(samples.back().data());
    }
  }
  bool Finite(int frames) const {
    for (const Sample* channel : pointers) {
      if (channel && !AllFinite(channel, frames)) return false;
    }
    return true;
  }
};

template <typename Sample, typename Call>
void Process(FuzzInput& in, FuzzVst2Effect& effect, int frames, Call call) {
  static const double kAmplitudes[] = {0.5, 1.0, 0.0, 1e-310, 1e3, 1e30, -1.0};
  const int length = std::max(frames, 0);
  Channels<Sample> inputs, outputs;
  inputs.Build(in, effect->numInputs, length, in.Pick(kAmplitudes));
  outputs.Build(in, effect->numOutputs, length, 0.0);
  call(effect.Get(), inputs.pointers.data(), outputs.pointers.data(), VstInt32(frames));
  // The power switch off ("Bypass" at 0) copies the input bit for bit, non-finite samples too.
  if (effect->getParameter(effect.Get(), 6) >= 0.5f) FUZZ_CHECK(outputs.Finite(length));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const VstIntPtr kBlocks[] = {512, 64, 1, 0, -1, 4096, INT_MAX, 1 << 20, INT64_MIN};
  static const float kRates[] = {44100.0f,
                                 48000.0f,
                                 8000.0f,
                                 192000.0f,
                                 0.0f,
                                 -1.0f,
                                 std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(),
                                 1e9f};
  FuzzInput in(data, size);
  FuzzVst2Effect effect;
  FUZZ_CHECK(effect.Get() != nullptr);
  int blockSize = 512;
  for (int call = 0; call < 16 && !in.Empty(); ++call) {
    const int frames = [&] {
      switch (in.Byte() % 6) {
        case 0:
          return blockSize;
        case 1:
          return blockSize + 1;
        case 2:
          return 2 * blockSize + 3;
        case 3:
          return -int(in.Byte());
        default:
          return in.Range(0, kMostFrames);
      }
    }();
    switch (in.Byte() % 8) {
      case 0: {
        const VstIntPtr block = in.Pick(kBlocks);
        effect.Dispatch(effSetBlockSize, 0, block);
        blockSize = int(std::min<VstIntPtr>(std::max<VstIntPtr>(block, 1), kMostFrames / 3));
        break;
      }
      case 1:
        effect.Dispatch(effSetSampleRate, 0, 0, nullptr, in.Pick(kRates));
        break;
      case 2:
        SetArrangement(in, effect);
        break;
      case 3:
        effect.Dispatch(effMainsChanged, 0, in.Bool() ? 1 : 0);
        break;
      case 4:
        effect->setParameter(effect.Get(), in.Range(-1, 8), float(in.Number()));
        break;
      case 5:
        Process<double>(in, effect, std::min(frames, kMostFrames), effect->processDoubleReplacing);
        break;
      case 6:
        Process<float>(in, effect, std::min(frames, kMostFrames), effect->processReplacing);
        break;
      default:
        Process<float>(in, effect, std::min(frames, kMostFrames), effect->process);
        break;
    }
  }
  return 0;
}
