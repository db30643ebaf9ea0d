#include "Lv2Module.h"

#include <dlfcn.h>

Lv2Module::Lv2Module(const std::string& path) {
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return;
  using DescriptorFunction = const LV2_Descriptor* (*)(uint32_t);
  auto entry = reinterpret_cast<DescriptorFunction>(dlsym(handle, "lv2_descriptor"));
  descriptor = entry ? entry(0) : nullptr;
}

Lv2Module::~Lv2Module() {
  if (handle) dlclose(handle);
}

const LV2_Descriptor* BraskDescriptor() {
  static Lv2Module module(std::string(BRASK_LV2_BUNDLE_PATH) + "/Brask.so");
  return module.Descriptor();
}

HostedLv2::HostedLv2(double sampleRate) : descriptor(BraskDescriptor()) {
  if (!descriptor) return;
  handle = descriptor->instantiate(descriptor, sampleRate, BRASK_LV2_BUNDLE_PATH, nullptr);
  if (!handle) return;
  for (uint32_t i = 0; i < kLv2ParamPortCount; ++i) {
    descriptor->connect_port(handle, i, &control[i]);
  }
  descriptor->connect_port(handle, kLv2GainReductionPort, &gainReduction);
  for (uint32_t c = 0; c < kLv2AudioInCount; ++c) {
    in[c].assign(kMaxFrames, 0.0f);
    descriptor->connect_port(handle, kLv2FirstAudioInPort + c, in[c].data());
  }
  for (uint32_t c = 0; c < kLv2AudioOutCount; ++c) {
    out[c].assign(kMaxFrames, 0.0f);
    descriptor->connect_port(handle, kLv2FirstAudioOutPort + c, out[c].data());
  }
  SetDefaults();
  descriptor->activate(handle);
}

HostedLv2::~HostedLv2() {
  if (!handle) return;
  descriptor->deactivate(handle);
  descriptor->cleanup(handle);
}

void HostedLv2::SetDefaults() {
  const float defaults[kLv2ParamPortCount] = {0, 0, 10, 400, 100, 20, 1, 0};
  for (uint32_t i = 0; i < kLv2ParamPortCount; ++i) control[i] = defaults[i];
}

void HostedLv2::Run(int frames) {
  if (handle) descriptor->run(handle, uint32_t(frames));
}

void HostedLv2::Connect(uint32_t port, void* data) {
  if (handle) descriptor->connect_port(handle, port, data);
}
