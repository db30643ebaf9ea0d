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

const PClassInfo2& BraskClassInfo() {
  static const PClassInfo2 info(BraskComponentUID, PClassInfo::kManyInstances, kClassCategory,
                                kBraskEffectName, Vst::kSimpleModeSupported, kBraskCategory, "",
                                kBraskVersionText, kSdkVersion);
  return info;
}

}  // namespace

const TUID BraskComponentUID = {
    int8(kBraskVst3ClassId[0]),  int8(kBraskVst3ClassId[1]),  int8(kBraskVst3ClassId[2]),
    int8(kBraskVst3ClassId[3]),  int8(kBraskVst3ClassId[4]),  int8(kBraskVst3ClassId[5]),
    int8(kBraskVst3ClassId[6]),  int8(kBraskVst3ClassId[7]),  int8(kBraskVst3ClassId[8]),
    int8(kBraskVst3ClassId[9]),  int8(kBraskVst3ClassId[10]), int8(kBraskVst3ClassId[11]),
    int8(kBraskVst3ClassId[12]), int8(kBraskVst3ClassId[13]), int8(kBraskVst3ClassId[14]),
    int8(kBraskVst3ClassId[15]),
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
