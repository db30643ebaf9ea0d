// Fuzz target: the VST 3 parameter text paths. getParamValueByString with arbitrary UTF-16
// text, getParamStringByValue with arbitrary values (NaN, infinities, 1e300, -1e300, any bit
// pattern) for any ID, and setParamNormalized with the same values. Properties: every text
// stays inside its String128 (canary units after it come back untouched) and is terminated
// there; a value parsed from text is a finite normalized value; parameters stay finite
// normalized values; audio stays finite.

#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst3Host.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A String128 followed by canary bytes.
struct GuardedString {
  GuardedString() {
    std::memset(text, 0x3C, sizeof(text));
    std::memset(canary, kCanaryByte, sizeof(canary));
  }
  // A text answered with success is terminated inside the String128; no answer writes past it.
  void CheckWrittenInside(tresult answer) const {
    FUZZ_CHECK(CanaryIntact(canary));
    if (answer != kResultOk) return;
    bool terminated = false;
    for (TChar unit : text) terminated = terminated || unit == 0;
    FUZZ_CHECK(terminated);
  }
  String128 text;
  unsigned char canary[kCanaryBytes];
};

ParamID AnyId(FuzzInput& in) {
  const uint8_t pick = in.Byte();
  if (pick < 200) return ParamID(pick % 10) - 1;  // wraps to 0xFFFFFFFF for one below 0
  if (pick < 220) return IPlugVST3::kBypassParamId;
  if (pick < 240) return IPlugVST3::kPresetParamId;
  return in.Raw<ParamID>();
}

void CheckParameters(FuzzVst3Instance& plug) {
  const int32 count = plug.controller->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    FUZZ_CHECK(plug.controller->getParameterInfo(i, info) == kResultOk);
    const ParamValue value = plug.controller->getParamNormalized(info.id);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0 && value <= 1.0);
    GuardedString text;
    text.CheckWrittenInside(plug.controller->getParamStringByValue(info.id, value, text.text));
  }
}

void CheckAudio(FuzzVst3Instance& plug) {
  constexpr int kFrames = 32;
  std::vector<double> channels[6];
  double* pointers[6];
  for (int c = 0; c < 6; ++c) {
    channels[c].assign(kFrames, 0.0);
    for (int s = 0; s < kFrames; ++s) channels[c][size_t(s)] = 0.5 * std::sin(0.2 * (s + c));
    pointers[c] = channels[c].data();
  }
  AudioBusBuffers inputs[2] = {};
  inputs[0].numChannels = 2;
  inputs[0].channelBuffers64 = pointers;
  inputs[1].numChannels = 2;
  inputs[1].channelBuffers64 = pointers + 2;
  AudioBusBuffers output = {};
  output.numChannels = 2;
  output.channelBuffers64 = pointers + 4;
  ProcessData data{};
  data.symbolicSampleSize = kSample64;
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
  plug.SetUp(kSample64, 64);
  while (!in.Empty()) {
    const ParamID id = AnyId(in);
    switch (in.Byte() % 4) {
      case 0: {
        // Any units, terminated; longer than a String128 too.
        std::vector<TChar> text;
        const int units = in.Range(0, 200);
        for (int i = 0; i < units; ++i) {
          const uint8_t low = in.Byte();
          text.push_back(TChar(low < 0xF0 ? low : in.Raw<uint16_t>()));
        }
        text.push_back(0);
        ParamValue value = -12345.0;
        if (plug.controller->getParamValueByString(id, text.data(), value) == kResultOk) {
          FUZZ_CHECK(std::isfinite(value) && value >= 0.0 && value <= 1.0);
          plug.controller->setParamNormalized(id, value);
        }
        break;
      }
      case 1: {
        GuardedString text;
        text.CheckWrittenInside(plug.controller->getParamStringByValue(id, in.Number(), text.text));
        break;
      }
      case 2:
        plug.controller->setParamNormalized(id, in.Number());
        break;
      default:
        CheckAudio(plug);
        break;
    }
    CheckParameters(plug);
  }
  CheckAudio(plug);
  return 0;
}
