// Fuzz target: VST 3 setState with streams of any length and content, streams that fail from
// any read on, and streams that deliver fewer bytes than asked. Properties: every parameter
// stays a finite normalized value; getState then writes a state that loads back and saves the
// same bytes again; audio processed afterwards stays finite.

#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst3Host.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void CheckParameters(FuzzVst3Instance& plug) {
  const int32 count = plug.controller->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    FUZZ_CHECK(plug.controller->getParameterInfo(i, info) == kResultOk);
    const ParamValue value = plug.controller->getParamNormalized(info.id);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0 && value <= 1.0);
  }
}

std::vector<uint8_t> SaveState(FuzzVst3Instance& plug) {
  FuzzStream stream;
  FUZZ_CHECK(plug.controller->getState(&stream) == kResultOk);
  return stream.data;
}

void CheckAudio(FuzzVst3Instance& plug) {
  constexpr int kFrames = 64;
  std::vector<float> channels[6];
  float* pointers[6];
  for (int c = 0; c < 6; ++c) {
    channels[c].assign(kFrames, 0.0f);
    for (int s = 0; s < kFrames; ++s) channels[c][size_t(s)] = float(0.9 * std::sin(0.1 * (s + c)));
    pointers[c] = channels[c].data();
  }
  AudioBusBuffers inputs[2] = {};
  inputs[0].numChannels = 2;
  inputs[0].channelBuffers32 = pointers;
  inputs[1].numChannels = 2;
  inputs[1].channelBuffers32 = pointers + 2;
  AudioBusBuffers output = {};
  output.numChannels = 2;
  output.channelBuffers32 = pointers + 4;
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = kSample32;
  data.numSamples = kFrames;
  data.numInputs = 2;
  data.numOutputs = 1;
  data.inputs = inputs;
  data.outputs = &output;
  FUZZ_CHECK(plug.processor->process(data) == kResultOk);
  FUZZ_CHECK(AllFinite(pointers[4], kFrames) && AllFinite(pointers[5], kFrames));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzVst3Instance plug;
  FUZZ_CHECK(plug.Valid());
  plug.SetUp(kSample32, 256);

  FuzzStream stream;
  const uint8_t mode = in.Byte();
  stream.failFromRead = (mode & 0x80) ? int(mode & 0x07) : -1;
  stream.shortByBytes = (mode & 0x40) ? int(in.Byte() % 80) : 0;
  stream.shortReadsSucceed = (mode & 0x20) != 0;
  stream.data = in.Bytes(in.Remaining());
  plug.controller->setState(&stream);
  CheckParameters(plug);

  const std::vector<uint8_t> saved = SaveState(plug);
  FuzzStream again(saved);
  FUZZ_CHECK(plug.controller->setState(&again) == kResultOk);
  FUZZ_CHECK(SaveState(plug) == saved);
  CheckParameters(plug);
  CheckAudio(plug);
  return 0;
}
