#pragma once
// HostedEffect: one plug-in instance as a host holds it: the effect record and the calls a host
// makes through it, closed (effClose) when the object goes away. It also keeps the host-side
// audio buffers a test feeds through the process callbacks.

#include <string>
#include <vector>

#include "vst2/AEffect.h"

class HostedEffect {
 public:
  explicit HostedEffect(AEffect* effect) : mEffect(effect) {}
  ~HostedEffect() { Close(); }
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  AEffect* Effect() const { return mEffect; }
  explicit operator bool() const { return mEffect != nullptr; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }
  // A text request answered into a fresh buffer.
  std::string Text(VstInt32 opcode, VstInt32 index = 0) const {
    char text[256] = {};
    Dispatch(opcode, index, 0, text);
    return text;
  }
  float GetParam(VstInt32 index) const { return mEffect->getParameter(mEffect, index); }
  void SetParam(VstInt32 index, float value) const { mEffect->setParameter(mEffect, index, value); }
  // Usual start-up of a host: rate, block size, open, activate.
  void Start(float sampleRate, int blockSize) const {
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effOpen);
    Dispatch(effMainsChanged, 0, 1);
  }
  void Close() {
    if (mEffect) Dispatch(effClose);
    mEffect = nullptr;
  }

 private:
  AEffect* mEffect;
};
