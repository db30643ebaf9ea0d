// Fuzz target: the VST 3 audio callback, driven by a sequence of host calls decoded from the
// input: bus arrangements, bus activation, processing setups (sample size, block size, sample
// rate), activation, and process calls with blocks up to the maximum and beyond, any bus and
// channel counts, missing channel buffers, and parameter queues with any IDs, values (NaN and
// out of range included) and point counts. Input audio ranges from silence and subnormals to
// 1e30, NaN and infinities. Properties: nothing outside the host's buffers is touched, and
// every output sample is finite.

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst3Host.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Longest block a process call gets: past every slicing case of the block sizes used (and of
// the 64-frame chunks inside), yet short enough that an input runs in about a millisecond
// under the sanitizers, so the fuzzer explores inputs rather than long renders.
constexpr int kMostFrames = 2048;

struct HostState {
  int32 sampleSize = kSample32;
  int32 maxBlock = 512;
};

SpeakerArrangement AnyArrangement(FuzzInput& in) {
  static const SpeakerArrangement kChoices[] = {SpeakerArr::kStereo,  SpeakerArr::kMono,
                                                SpeakerArr::kEmpty,   SpeakerArr::k30Music,
                                                SpeakerArr::k40Music, SpeakerArr::k51};
  return in.Byte() < 240 ? in.Pick(kChoices) : in.Raw<SpeakerArrangement>();
}

void SetArrangements(FuzzInput& in, FuzzVst3Instance& plug) {
  SpeakerArrangement inputs[3], outputs[3];
  const int32 numIns = in.Range(0, 3);
  const int32 numOuts = in.Range(0, 3);
  for (SpeakerArrangement& a : inputs) a = AnyArrangement(in);
  for (SpeakerArrangement& a : outputs) a = AnyArrangement(in);
  plug.processor->setBusArrangements(inputs, numIns, outputs, numOuts);
}

void SetUpProcessing(FuzzInput& in, FuzzVst3Instance& plug, HostState* host) {
  static const int32 kSampleSizes[] = {kSample32, kSample64, 2, -1};
  static const int32 kBlocks[] = {512, 64, 1, 0, 4096, 1000, 2, -5};
  static const double kRates[] = {44100.0,
                                  48000.0,
                                  96000.0,
                                  192000.0,
                                  8000.0,
                                  1.0,
                                  0.0,
                                  -44100.0,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  1e9};
  ProcessSetup setup{kRealtime, in.Pick(kSampleSizes), in.Pick(kBlocks), in.Pick(kRates)};
  plug.component->setActive(false);
  if (plug.processor->setupProcessing(setup) == kResultOk) {
    // The plug-in processes with the sample size it accepted; so does the host.
    if (setup.symbolicSampleSize == kSample32 || setup.symbolicSampleSize == kSample64) {
      host->sampleSize = setup.symbolicSampleSize;
    }
    host->maxBlock = setup.maxSamplesPerBlock;
  }
  plug.component->setActive(true);
  plug.processor->setProcessing(true);
}

int32 BlockLength(FuzzInput& in, const HostState& host) {
  const int32 max = std::max(host.maxBlock, 1);
  switch (in.Byte() % 7) {
    case 0:
      return max;
    case 1:
      return max - 1;
    case 2:
      return max + 1;
    case 3:
      return 2 * max + 3;
    case 4:
      return 0;
    case 5:
      return -int32(in.Byte());
    default:
      return in.Range(0, kMostFrames);
  }
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

// Owns the buffers of one process call: exact-size per channel, so any overrun is caught.
struct Buses {
  std::vector<std::vector<double>> samples64;
  std::vector<std::vector<float>> samples32;
  std::vector<std::unique_ptr<void*[]>> pointers;
  std::vector<AudioBusBuffers> buses;

  void Build(FuzzInput& in, int32 count, int32 frames, bool is64, bool isInput) {
    static const double kAmplitudes[] = {0.5, 1.0, 0.0, 1e-310, 1e3, 1e30, -1.0};
    buses.resize(size_t(count));
    const size_t length = size_t(std::max(frames, 0));
    for (AudioBusBuffers& bus : buses) {
      bus = AudioBusBuffers{};
      bus.numChannels = in.Range(0, 4);
      pointers.emplace_back(new void*[size_t(bus.numChannels) + 1]);
      void** list = pointers.back().get();
      const double amplitude = isInput ? in.Pick(kAmplitudes) : 0.0;
      for (int32 c = 0; c < bus.numChannels; ++c) {
        list[c] = nullptr;
        if (in.Byte() == 0xFF) continue;  // a channel the host left without a buffer
        if (is64) {
          samples64.emplace_back(length);
          for (size_t s = 0; s < length; ++s)
            samples64.back()[s] = AnySample(in, int(s), amplitude);
          list[c] = samples64.back().data();
        } else {
          samples32.emplace_back(length);
          for (size_t s = 0; s < length; ++s) {
            samples32.back()[s] = float(AnySample(in, int(s), amplitude));
          }
          list[c] = samples32.back().data();
        }
      }
      if (is64) {
        bus.channelBuffers64 = reinterpret_cast<double**>(list);
      } else {
        bus.channelBuffers32 = reinterpret_cast<float**>(list);
      }
    }
  }

  void CheckFinite(int32 frames, bool is64) const {
    for (const AudioBusBuffers& bus : buses) {
      for (int32 c = 0; c < bus.numChannels; ++c) {
        if (is64 && bus.channelBuffers64[c]) {
          FUZZ_CHECK(AllFinite(bus.channelBuffers64[c], frames));
        } else if (!is64 && bus.channelBuffers32[c]) {
          FUZZ_CHECK(AllFinite(bus.channelBuffers32[c], frames));
        }
      }
    }
  }
};

void FillChanges(FuzzInput& in, FuzzChanges* changes) {
  const int queues = in.Range(0, 12);
  for (int q = 0; q < queues; ++q) {
    FuzzQueue queue;
    const uint8_t pick = in.Byte();
    queue.id = pick < 200   ? ParamID(pick % 10)
               : pick < 220 ? IPlugVST3::kBypassParamId
               : pick < 240 ? IPlugVST3::kPresetParamId
                            : in.Raw<ParamID>();
    const int points = in.Range(0, 5);
    for (int p = 0; p < points; ++p) queue.points.emplace_back(in.Raw<int32>(), in.Number());
    if (in.Byte() > 240) queue.claimedCount = in.Range(0, 9);
    changes->queues.push_back(queue);
  }
  if (in.Byte() > 240) changes->claimedCount = in.Range(0, 20);
}

void Process(FuzzInput& in, FuzzVst3Instance& plug, const HostState& host) {
  const bool is64 = host.sampleSize == kSample64;
  const int32 frames = std::min(BlockLength(in, host), int32(kMostFrames));
  Buses inputs, outputs;
  inputs.Build(in, in.Range(0, 3), frames, is64, true);
  outputs.Build(in, in.Range(0, 2), frames, is64, false);
  FuzzChanges changes;
  FillChanges(in, &changes);
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = host.sampleSize;
  data.numSamples = frames;
  data.numInputs = int32(inputs.buses.size());
  data.numOutputs = int32(outputs.buses.size());
  data.inputs = inputs.buses.empty() ? nullptr : inputs.buses.data();
  data.outputs = outputs.buses.empty() ? nullptr : outputs.buses.data();
  data.inputParameterChanges = in.Byte() < 230 ? &changes : nullptr;
  plug.processor->process(data);
  // The power switch off ("Bypass" at 0) copies the input bit for bit, non-finite samples too.
  if (plug.controller->getParamNormalized(6) >= 0.5) outputs.CheckFinite(frames, is64);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzVst3Instance plug;
  FUZZ_CHECK(plug.Valid());
  HostState host;
  plug.SetUp(host.sampleSize, host.maxBlock);
  for (int call = 0; call < 16 && !in.Empty(); ++call) {
    switch (in.Byte() % 6) {
      case 0:
        SetArrangements(in, plug);
        break;
      case 1:
        plug.component->activateBus(kAudio, in.Bool() ? kInput : kOutput, in.Range(-1, 3),
                                    in.Bool());
        break;
      case 2:
        SetUpProcessing(in, plug, &host);
        break;
      case 3:
        plug.component->setActive(in.Bool());
        break;
      default:
        Process(in, plug, host);
        break;
    }
  }
  return 0;
}
