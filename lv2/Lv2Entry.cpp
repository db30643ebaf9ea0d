// The LV2 plug-in binary's entry point: the descriptor of the one plug-in it holds. Each call
// finds its instance in the handle; the host never passes a handle it did not get from
// instantiate, but a null one is ignored.

#include <lv2/core/lv2.h>

#include <mutex>

#include "Brask.h"
#include "lv2/Lv2Layout.h"

namespace {

Brask* FromHandle(LV2_Handle handle) { return static_cast<Brask*>(handle); }

//---LV2_Descriptor---

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const*) {
  // Nothing may be thrown into a C host.
  try {
    Brask* plug = new Brask(nullptr);
    plug->Instantiated(sampleRate);
    return plug;
  } catch (...) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) {
  if (Brask* plug = FromHandle(handle)) plug->ConnectPort(port, data);
}

void Activate(LV2_Handle handle) {
  if (Brask* plug = FromHandle(handle)) plug->Activate();
}

// The meter's value leaves after the block that moved it, under the same lock.
void Run(LV2_Handle handle, uint32_t frames) {
  Brask* plug = FromHandle(handle);
  if (!plug) return;
  std::lock_guard<std::recursive_mutex> lock(plug->Mutex());
  plug->Run(frames);
  plug->PublishGainReduction(plug->MeterLevel());
}

void Deactivate(LV2_Handle handle) {
  if (Brask* plug = FromHandle(handle)) plug->Deactivate();
}

void Cleanup(LV2_Handle handle) { delete FromHandle(handle); }

const void* ExtensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {kBraskLv2Uri, Instantiate, ConnectPort, Activate,
                                    Run,          Deactivate,  Cleanup,     ExtensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
