// The probe module's entry points and factory: the controller class first, then the two
// audio-effect classes that share it.

#include <mutex>

#include "ProbeLog.h"
#include "ProbeVst3.h"
#include "vst3/sdk/CPluginFactory.h"

using namespace Steinberg;

namespace probe {

const FUID kProcessorId(0x50726F62, 0x65476169, 0x6E333200, 0x00000001);
const FUID kProcessor64Id(0x50726F62, 0x65476169, 0x6E363400, 0x00000002);
const FUID kControllerId(0x50726F62, 0x65436F6E, 0x74726F6C, 0x00000003);

namespace {

constexpr char8 kSdkVersion[] = "VST 3.6.12";

FUnknown* CreateProcessor(void* offers64) {
  return static_cast<Vst::IAudioProcessor*>(new Processor(offers64 != nullptr));
}

FUnknown* CreateController(void*) { return static_cast<Vst::IEditController*>(new Controller()); }

void RegisterClasses(CPluginFactory* factory) {
  TUID id;
  kControllerId.toTUID(id);
  const PClassInfo2 controller(id, PClassInfo::kManyInstances, kVstComponentControllerClass,
                               "Probe Gain Controller", 0, "", "", "1.2.3", kSdkVersion);
  kProcessorId.toTUID(id);
  const PClassInfo2 gain(id, PClassInfo::kManyInstances, kVstAudioEffectClass, "Probe Gain",
                         Vst::kDistributable, "Fx|Tools", "", "1.2.3", kSdkVersion);
  kProcessor64Id.toTUID(id);
  const PClassInfo2 gain64(id, PClassInfo::kManyInstances, kVstAudioEffectClass, "Probe Gain 64",
                           Vst::kDistributable, "Fx|Tools", "", "1.2.3", kSdkVersion);
  // Any non-null context marks the 64-bit class.
  static int offers64 = 1;
  factory->registerClass(&controller, CreateController);
  factory->registerClass(&gain, CreateProcessor);
  factory->registerClass(&gain64, CreateProcessor, &offers64);
}

}  // namespace

}  // namespace probe

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void*) {
  ProbeLog("module entry");
  return true;
}

SMTG_EXPORT_SYMBOL bool ModuleExit() {
  ProbeLog("module exit");
  return true;
}

SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory() {
  std::lock_guard<std::recursive_mutex> lock(CPluginFactory::LifetimeLock());
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  static const PFactoryInfo info("Wyrdworks Tests", "", "", PFactoryInfo::kUnicode);
  gPluginFactory = new CPluginFactory(info);
  probe::RegisterClasses(gPluginFactory);
  return gPluginFactory;
}

}  // extern "C"
