// Fuzz target: the VST 2 dispatcher's other text and record requests, with arbitrary indices,
// values and texts: program names set and read back (by index too), program changes, pin
// properties, effect, vendor and product names, capability queries, MIDI key names, speaker
// arrangements, the editor rectangle and vendor-specific requests. Every buffer the plug-in
// writes into is the size the host must provide, followed by canary bytes that must come back
// untouched; every text written is terminated inside its buffer.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzVst2Host.h"
#include "vst2/VstRecords.h"
#include "vst2/VstTextBounds.h"

namespace {

// bytes of host memory followed by canary bytes; the plug-in may write the first part only.
class GuardedBlock {
 public:
  explicit GuardedBlock(size_t bytes) : mBytes(bytes), mData(bytes + kCanaryBytes, 0x5A) {
    std::memset(mData.data() + bytes, kCanaryByte, kCanaryBytes);
  }
  void* Data() { return mData.data(); }
  char* Text() { return reinterpret_cast<char*>(mData.data()); }
  void CheckInside() const { FUZZ_CHECK(CanaryIntact(mData.data() + mBytes)); }
  // A text the plug-in says it wrote is terminated within bound bytes from text.
  static void CheckTerminated(const char* text, size_t bound) {
    FUZZ_CHECK(std::memchr(text, '\0', bound) != nullptr);
  }

 private:
  size_t mBytes;
  std::vector<uint8_t> mData;
};

VstInt32 AnyIndex(FuzzInput& in) {
  const uint8_t pick = in.Byte();
  if (pick < 200) return VstInt32(pick % 12) - 2;
  return in.Raw<VstInt32>();
}

std::string AnyText(FuzzInput& in) {
  const std::vector<uint8_t> bytes = in.Bytes(size_t(in.Range(0, 300)));
  return std::string(bytes.begin(), bytes.end()).c_str();  // up to the first NUL, as C reads it
}

void ReadText(FuzzVst2Effect& effect, VstInt32 opcode, VstInt32 index, size_t bound) {
  GuardedBlock text(bound);
  effect.Dispatch(opcode, index, 0, text.Data());
  text.CheckInside();
  GuardedBlock::CheckTerminated(text.Text(), bound);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzVst2Effect effect;
  FUZZ_CHECK(effect.Get() != nullptr);
  for (int call = 0; call < 24 && !in.Empty(); ++call) {
    const VstInt32 index = AnyIndex(in);
    switch (in.Byte() % 10) {
      case 0: {
        const std::string name = AnyText(in);
        effect.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(name.c_str()));
        ReadText(effect, effGetProgramName, 0, kProgramNameBound);
        break;
      }
      case 1: {
        GuardedBlock text(kProgramNameBound);
        if (effect.Dispatch(effGetProgramNameIndexed, index, 0, text.Data()) != 0) {
          GuardedBlock::CheckTerminated(text.Text(), kProgramNameBound);
        }
        text.CheckInside();
        break;
      }
      case 2:
        effect.Dispatch(effSetProgram, 0, in.Bool() ? VstIntPtr(index) : in.Raw<VstIntPtr>());
        FUZZ_CHECK(effect.Dispatch(effGetProgram) >= 0);
        break;
      case 3: {
        const VstInt32 opcode = in.Bool() ? effGetInputProperties : effGetOutputProperties;
        GuardedBlock pin(sizeof(VstPinProperties));
        if (effect.Dispatch(opcode, index, 0, pin.Data()) != 0) {
          GuardedBlock::CheckTerminated(static_cast<VstPinProperties*>(pin.Data())->label,
                                        kPinLabelBound);
        }
        pin.CheckInside();
        break;
      }
      case 4:
        ReadText(effect, effGetEffectName, 0, kEffectNameBound);
        ReadText(effect, effGetVendorString, 0, kVendorStringBound);
        ReadText(effect, effGetProductString, 0, kProductStringBound);
        break;
      case 5: {
        const std::string capability = AnyText(in);
        effect.Dispatch(effCanDo, 0, 0, const_cast<char*>(capability.c_str()));
        break;
      }
      case 6: {
        GuardedBlock key(sizeof(MidiKeyName));
        auto* record = static_cast<MidiKeyName*>(key.Data());
        record->thisProgramIndex = index;
        record->thisKeyNumber = in.Raw<VstInt32>();
        if (effect.Dispatch(effGetMidiKeyName, 0, 0, record) != 0) {
          GuardedBlock::CheckTerminated(record->keyName, kMidiKeyNameBound);
        }
        key.CheckInside();
        break;
      }
      case 7: {
        VstSpeakerArrangement* inputs = nullptr;
        VstSpeakerArrangement* outputs = nullptr;
        effect.Dispatch(effGetSpeakerArrangement, 0, VstIntPtr(&inputs), &outputs);
        if (inputs) FUZZ_CHECK(inputs->numChannels >= 0 && inputs->numChannels <= 8);
        if (outputs) FUZZ_CHECK(outputs->numChannels >= 0 && outputs->numChannels <= 8);
        break;
      }
      case 8: {
        ERect* rect = nullptr;
        effect.Dispatch(effEditGetRect, 0, 0, &rect);
        if (rect) FUZZ_CHECK(rect->bottom >= rect->top && rect->right >= rect->left);
        break;
      }
      default: {
        GuardedBlock text(kParamDisplayBound);
        effect.Dispatch(effVendorSpecific, index, in.Raw<VstIntPtr>(), text.Data(),
                        in.Raw<float>());
        text.CheckInside();
        break;
      }
    }
  }
  return 0;
}
