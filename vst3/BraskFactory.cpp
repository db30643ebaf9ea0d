#include "BraskFactory.h"

#include <mutex>

#include "plugin/Brask.h"
#include "plugin/BraskIdentity.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "vst3/sdk/CPluginFactory.h"

using namespace Steinberg;

namespace {

constexpr char8 kVendorUrl[] = "https://wyrdworks.example";
constexpr char8 kVendorEmail[] = "mailto:support@wyrdworks.example";
constexpr char8 kClassCategory[] = "Audio Module Class";
constexpr char8 kSdkVersion[] = "VST 3.6.12";

// Serialises instance construction across host threads.
std::mutex& InstanceCreationLock() {
  static std::mutex gInstanceCreationLock;
  return gInstanceCreationLock;
}

constexpr int8 CodeByte(int32_t code, int shift) { return int8((uint32_t(code) >> shift) & 0xFF); }

const PClassInfo2& BraskClassInfo() {
  static const PClassInfo2 info(BraskComponentUID, PClassInfo::kManyInstances, kClassCategory,
                                kBraskEffectName, Vst::kSimpleModeSupported, kBraskCategory, "",
                                kBraskVersionText, kSdkVersion);
  return info;
}

}  // namespace

const TUID BraskComponentUID = {
    int8(0x0D),
    int8(0xE7),
    int8(0xAE),
    int8(0xF2),
    int8(0xDE),
    int8(0x00),
    int8(0x4E),
    int8(0x4F),
    CodeByte(kBraskMakerId, 24),
    CodeByte(kBraskMakerId, 16),
    CodeByte(kBraskMakerId, 8),
    CodeByte(kBraskMakerId, 0),
    CodeByte(kBraskUniqueId, 24),
    CodeByte(kBraskUniqueId, 16),
    CodeByte(kBraskUniqueId, 8),
    CodeByte(kBraskUniqueId, 0),
};

FUnknown* CreateBraskInstance(void* /*context*/) {
  std::lock_guard<std::mutex> lock(InstanceCreationLock());
  try {
    auto* plug = new Brask(nullptr);
    return static_cast<Vst::IAudioProcessor*>(plug);
  } catch (...) {
    return nullptr;
  }
}

SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory() {
  // A release on another thread must not end the factory between the test and the addRef.
  std::lock_guard<std::recursive_mutex> lock(CPluginFactory::LifetimeLock());
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  static const PFactoryInfo factoryInfo(kBraskMakerName, kVendorUrl, kVendorEmail,
                                        PFactoryInfo::kUnicode);
  try {
    gPluginFactory = new CPluginFactory(factoryInfo);
    gPluginFactory->registerClass(&BraskClassInfo(), CreateBraskInstance);
  } catch (...) {
    if (gPluginFactory) gPluginFactory->release();
    return nullptr;
  }
  return gPluginFactory;
}
