#pragma once
// IPlugLV2: the LV2 adaptor. It stands where IPlugVST3 and IPlugVST stand in the other
// modules and translates the calls of an LV2 host into core operations.
//
// Every parameter is a control input port in plain units, so the host saves, restores and
// automates them itself: the adaptor needs no state interface and no host feature. Once per
// run, under the instance lock, it applies the control ports whose value changed, then runs the
// 32-bit audio in slices of at most kRunSliceFrames through the core's scratch buffers (LV2
// announces no block size, and the slices keep the audio path free of allocation). Ports the
// host leaves unconnected read silence and are not written.
//
// The host talks back only through ports, so every request toward the host does nothing.

#include <cstdint>

#include "lv2/IPlugLV2Base.h"
#include "lv2/Lv2Layout.h"

class IPlugLV2 : public IPlugLV2Base {
 public:
  using HostCallback = void*;  // LV2 hands a plug-in nothing to call back
  // Costs nothing in sound (slices sound like one long block) and keeps each instance's
  // scratch buffers small: 48 KB, made and zeroed with every instance.
  static constexpr int kRunSliceFrames = 1024;

  IPlugLV2(HostCallback, const IPlugIdentity& identity);

  //---from LV2_Descriptor---
  // After construction: the host's sample rate, buffers, and every parameter announced.
  void Instantiated(double sampleRate);
  void ConnectPort(uint32_t port, void* data);
  void Activate();
  void Run(uint32_t frames);
  void Deactivate();
  // The control output port's value; nothing when the host did not connect it.
  void PublishGainReduction(double value);

  //---from IPlugBase: toward a host that only reads ports---
  void BeginParamGesture(int) override {}
  void InformHostParamValue(int, double) override {}
  void EndParamGesture(int) override {}

 private:
  void ApplyControlPorts();
  // Connects the channels whose ports have buffers; one that loses its buffer reads silence.
  void FollowAudioConnections();
  void ProcessSlice(uint32_t offset, int frames);

  const float* mControls[kLv2ParamPortCount] = {};  ///< host buffers of the parameter ports
  uint32_t mAppliedBits[kLv2ParamPortCount] = {};   ///< last value applied, as float bits
  bool mApplied[kLv2ParamPortCount] = {};           ///< false until a value was applied
  float* mGainReduction = nullptr;                  ///< control output port
  const float* mAudioIn[kLv2AudioInCount] = {};     ///< main L, R, side chain L, R
  float* mAudioOut[kLv2AudioOutCount] = {};
};
