#pragma once
// Lv2Module: the built plug-in binary of the bundle, loaded by path as a host loads it, and
// HostedLv2, one instance of it with every port wired to buffers the test owns.

#include <lv2/core/lv2.h>

#include <string>
#include <vector>

#include "lv2/Lv2Layout.h"

class Lv2Module {
 public:
  explicit Lv2Module(const std::string& path);
  ~Lv2Module();
  Lv2Module(const Lv2Module&) = delete;
  Lv2Module& operator=(const Lv2Module&) = delete;
  // The plug-in's descriptor, null when the binary does not load or holds none.
  const LV2_Descriptor* Descriptor() const { return descriptor; }

 private:
  void* handle = nullptr;
  const LV2_Descriptor* descriptor = nullptr;
};

// The bundle's plug-in binary, loaded once.
const LV2_Descriptor* BraskDescriptor();

class HostedLv2 {
 public:
  static constexpr int kMaxFrames = 10000;

  explicit HostedLv2(double sampleRate = 48000.0);
  ~HostedLv2();
  HostedLv2(const HostedLv2&) = delete;
  HostedLv2& operator=(const HostedLv2&) = delete;
  bool Valid() const { return handle != nullptr; }

  // Control ports at their defaults from the Turtle's point of view: what lv2apply sets.
  void SetDefaults();
  void Run(int frames);
  // Rewires a port: to another buffer (in-place processing), or to none, as a host may leave
  // the side chain.
  void Connect(uint32_t port, void* data);

  float control[kLv2ParamPortCount] = {};
  float gainReduction = -1.0f;
  std::vector<float> in[kLv2AudioInCount];
  std::vector<float> out[kLv2AudioOutCount];

 private:
  const LV2_Descriptor* descriptor;
  LV2_Handle handle = nullptr;
};
