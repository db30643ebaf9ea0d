#pragma once
// The host side of the VST 2 fuzz targets: a host callback that answers like a plain VST 2.4
// host, and an effect made through the module's own entry point and set up the way hosts do
// (open, sample rate, block size, resume). Closed again through the dispatcher.

#include "vst2/AEffect.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

inline VstIntPtr FuzzVst2HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                      float) {
  constexpr VstInt32 kAudioMasterVersion = 1;
  return opcode == kAudioMasterVersion ? 2400 : 0;
}

class FuzzVst2Effect {
 public:
  explicit FuzzVst2Effect(int blockSize = 512) : mEffect(VSTPluginMain(FuzzVst2HostCallback)) {
    if (!mEffect) return;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effMainsChanged, 0, 1);
  }
  ~FuzzVst2Effect() {
    if (mEffect) mEffect->dispatcher(mEffect, effClose, 0, 0, nullptr, 0.0f);
  }
  FuzzVst2Effect(const FuzzVst2Effect&) = delete;
  FuzzVst2Effect& operator=(const FuzzVst2Effect&) = delete;

  AEffect* operator->() const { return mEffect; }
  AEffect* Get() const { return mEffect; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

 private:
  AEffect* mEffect;
};
