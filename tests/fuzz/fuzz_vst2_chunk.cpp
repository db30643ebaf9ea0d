// Fuzz target: VST 2 effSetChunk with program and bank chunks of any content and any announced
// size (negative, larger than any chunk, a null pointer), then effGetChunk. Properties: nothing
// reads outside the host's bytes; every parameter stays a finite normalized value; a chunk the
// plug-in hands out loads back and hands out the same bytes again; audio stays finite.

#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst2Host.h"

namespace {

// The announced size: the true one, or one a broken host might send.
VstIntPtr AnnouncedSize(uint8_t mode, size_t trueSize) {
  switch (mode % 6) {
    case 0:
      return -1;
    case 1:
      return -VstIntPtr(trueSize) - 1;
    case 2:
      return VstIntPtr(INT64_MIN);
    case 3:
      return VstIntPtr(0x100000000LL) + VstIntPtr(trueSize);  // wraps to the true size as int32
    case 4:
      return VstIntPtr(trueSize / 2);
    default:
      return VstIntPtr(trueSize);
  }
}

void CheckParameters(FuzzVst2Effect& effect) {
  for (int i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect.Get(), i);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0f && value <= 1.0f);
  }
}

std::vector<uint8_t> GetChunk(FuzzVst2Effect& effect, VstInt32 index) {
  void* data = nullptr;
  const VstIntPtr size = effect.Dispatch(effGetChunk, index, 0, &data);
  FUZZ_CHECK(size >= 0);
  if (size == 0) return {};
  FUZZ_CHECK(data != nullptr);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

void CheckRoundTrip(FuzzVst2Effect& effect, VstInt32 index) {
  std::vector<uint8_t> saved = GetChunk(effect, index);
  if (saved.empty()) return;
  FUZZ_CHECK(effect.Dispatch(effSetChunk, index, VstIntPtr(saved.size()), saved.data()) == 1);
  FUZZ_CHECK(GetChunk(effect, index) == saved);
}

void CheckAudio(FuzzVst2Effect& effect) {
  constexpr int kFrames = 64;
  std::vector<double> in[4], out[2];
  double* inputs[4];
  double* outputs[2];
  for (int c = 0; c < 4; ++c) {
    in[c].assign(kFrames, 0.0);
    for (int s = 0; s < kFrames; ++s) in[c][size_t(s)] = 0.9 * std::sin(0.1 * (s + c));
    inputs[c] = in[c].data();
  }
  for (int c = 0; c < 2; ++c) {
    out[c].assign(kFrames, 0.0);
    outputs[c] = out[c].data();
  }
  effect->processDoubleReplacing(effect.Get(), inputs, outputs, kFrames);
  for (int c = 0; c < 2; ++c) FUZZ_CHECK(AllFinite(outputs[c], kFrames));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzVst2Effect effect;
  FUZZ_CHECK(effect.Get() != nullptr);
  const int calls = in.Range(1, 3);
  for (int call = 0; call < calls; ++call) {
    const VstInt32 index = in.Bool() ? 0 : (in.Bool() ? 1 : VstInt32(in.Raw<int32_t>()));
    const bool nullData = in.Byte() == 0xFF;
    const uint8_t sizeMode = in.Byte();
    const size_t length = call + 1 == calls ? in.Remaining() : size_t(in.Range(0, 1024));
    std::vector<uint8_t> chunk = in.Bytes(length);
    const VstIntPtr announced = AnnouncedSize(sizeMode, chunk.size());
    // An exact-size heap copy, so any read past the host's bytes is caught.
    auto* bytes = new uint8_t[chunk.size()];
    if (!chunk.empty()) std::memcpy(bytes, chunk.data(), chunk.size());
    const VstIntPtr answer =
        effect.Dispatch(effSetChunk, index, announced, nullData ? nullptr : bytes);
    delete[] bytes;
    FUZZ_CHECK(answer == 0 || answer == 1);
    CheckParameters(effect);
  }
  CheckRoundTrip(effect, 1);
  CheckRoundTrip(effect, 0);
  CheckParameters(effect);
  CheckAudio(effect);
  return 0;
}
