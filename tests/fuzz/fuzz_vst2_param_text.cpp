// Fuzz target: the VST 2 parameter text paths. effString2Parameter with arbitrary text, and the
// display paths with arbitrary values: effGetParamDisplay after setParameter with any float
// (NaN, infinities, 1e300 and -1e300 as floats, any bit pattern), and the effVendorSpecific
// display request with any value. Properties: every text stays inside the adaptor's published
// bound (canary bytes after it come back untouched) and is terminated there; parameters stay
// finite normalized values; audio stays finite.

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst2Host.h"
#include "vst2/VstTextBounds.h"

namespace {

// A host text buffer of bound bytes followed by canary bytes.
class TextBuffer {
 public:
  explicit TextBuffer(int bound) : mBound(bound), mBytes(size_t(bound + kCanaryBytes), 0) {
    std::memset(mBytes.data() + bound, kCanaryByte, kCanaryBytes);
  }
  char* Text() { return mBytes.data(); }
  void CheckWrittenInside() {
    FUZZ_CHECK(CanaryIntact(mBytes.data() + mBound));
    FUZZ_CHECK(std::memchr(mBytes.data(), '\0', size_t(mBound)) != nullptr);
  }

 private:
  int mBound;
  std::vector<char> mBytes;
};

VstInt32 ParamIndex(FuzzInput& in) {
  const uint8_t pick = in.Byte();
  if (pick < 240) return VstInt32(pick % 10) - 1;  // -1..8: one below, each, one above
  return in.Raw<VstInt32>();
}

float HostValue(FuzzInput& in) {
  static const float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   float(1e300),
                                   float(-1e300),
                                   std::numeric_limits<float>::max(),
                                   -std::numeric_limits<float>::max(),
                                   std::numeric_limits<float>::denorm_min(),
                                   -0.0f,
                                   1.0f,
                                   0.0f,
                                   2.0f,
                                   -1.0f};
  const uint8_t mode = in.Byte();
  if (mode < 128) return in.Pick(kSpecial);
  return in.Raw<float>();
}

void CheckParameters(FuzzVst2Effect& effect) {
  for (int i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect.Get(), i);
    FUZZ_CHECK(std::isfinite(value) && value >= 0.0f && value <= 1.0f);
  }
}

void CheckDisplay(FuzzVst2Effect& effect, VstInt32 index) {
  for (VstInt32 opcode : {effGetParamDisplay, effGetParamLabel, effGetParamName}) {
    TextBuffer text(kParamDisplayBound);
    effect.Dispatch(opcode, index, 0, text.Text());
    text.CheckWrittenInside();
  }
}

void CheckAudio(FuzzVst2Effect& effect) {
  constexpr int kFrames = 32;
  std::vector<double> channels[6];
  double* pointers[6];
  for (int c = 0; c < 6; ++c) {
    channels[c].assign(kFrames, 0.0);
    for (int s = 0; s < kFrames; ++s) channels[c][size_t(s)] = 0.5 * std::sin(0.2 * (s + c));
    pointers[c] = channels[c].data();
  }
  effect->processDoubleReplacing(effect.Get(), pointers, pointers + 4, kFrames);
  FUZZ_CHECK(AllFinite(pointers[4], kFrames) && AllFinite(pointers[5], kFrames));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzVst2Effect effect(64);
  FUZZ_CHECK(effect.Get() != nullptr);
  while (!in.Empty()) {
    const VstInt32 index = ParamIndex(in);
    switch (in.Byte() % 4) {
      case 0: {
        const std::vector<uint8_t> bytes = in.Bytes(size_t(in.Range(0, 300)));
        const std::string text(bytes.begin(), bytes.end());  // ends at its first NUL for C
        effect.Dispatch(effString2Parameter, index, 0, const_cast<char*>(text.c_str()));
        break;
      }
      case 1:
        effect->setParameter(effect.Get(), index, HostValue(in));
        break;
      case 2: {
        TextBuffer text(kParamDisplayBound);
        effect.Dispatch(effVendorSpecific, effGetParamDisplay, VstIntPtr(index), text.Text(),
                        HostValue(in));
        text.CheckWrittenInside();
        break;
      }
      default:
        CheckAudio(effect);
        break;
    }
    CheckParameters(effect);
    CheckDisplay(effect, index);
  }
  CheckAudio(effect);
  return 0;
}
