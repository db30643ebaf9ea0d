// Module exports, the class factory and the class it offers, and interface lookup on an
// instance.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "Vst3Plugin.h"
#include "base/source/fobject.h"
#include "pluginterfaces/base/ustring.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string Utf8Of(const char16* text) {
  std::string out;
  for (; *text; ++text) out += char(*text);
  return out;
}

template <size_t N>
bool AllZero(const char8 (&field)[N]) {
  for (char8 c : field) {
    if (c != 0) return false;
  }
  return true;
}

}  // namespace

TEST(ModuleExports, LoadsAndAnswersItsEntryPoints) {
  Vst3Module& module = BraskModule();
  ASSERT_TRUE(module.Loaded()) << module.Error();
  EXPECT_TRUE(module.EntryResult());
  EXPECT_NE(module.Export("GetPluginFactory"), nullptr);
#if defined(_WIN32)
  EXPECT_NE(module.Export("InitDll"), nullptr);
  EXPECT_NE(module.Export("ExitDll"), nullptr);
#else
  EXPECT_NE(module.Export("ModuleEntry"), nullptr);
  EXPECT_NE(module.Export("ModuleExit"), nullptr);
  EXPECT_EQ(module.Export("_Z19CreateBraskInstancePv"), nullptr) << "internal symbols stay hidden";
#endif
  EXPECT_TRUE(module.CallExit()) << "the exit entry succeeds even with no factory alive";
}

TEST(PluginFactory, TwoRequestsShareOneFactoryUntilTheLastReleaseGoes) {
  IPluginFactory* first = BraskModule().Factory();
  IPluginFactory* second = BraskModule().Factory();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->addRef(), 3u) << "two requests hold two references";
  EXPECT_EQ(first->release(), 2u);
  EXPECT_EQ(second->release(), 1u);
  EXPECT_EQ(first->release(), 0u);

  IPluginFactory* fresh = BraskModule().Factory();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->addRef(), 2u) << "a factory built anew starts with the caller's reference";
  fresh->release();
  fresh->release();
}

TEST(PluginFactory, ReportsTheVendorAndUnicodeFlag) {
  IPluginFactory* factory = BraskModule().Factory();
  ASSERT_NE(factory, nullptr);
  PFactoryInfo info;
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Wyrdworks");
  EXPECT_GT(std::strlen(info.url), 0u);
  EXPECT_GT(std::strlen(info.email), 0u);
  EXPECT_EQ(info.flags, 16);
  EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);
  factory->release();
}

TEST(PluginFactory, OffersOneClassWithTheBraskRecord) {
  IPluginFactory* factory = BraskModule().Factory();
  ASSERT_NE(factory, nullptr);
  ASSERT_EQ(factory->countClasses(), 1);

  PClassInfo info;
  ASSERT_EQ(factory->getClassInfo(0, &info), kResultOk);
  const uint8_t expectedId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                  'W',  'y',  'r',  'd',  'B',  'r',  'k',  '1'};
  EXPECT_EQ(std::memcmp(info.cid, expectedId, 16), 0);
  EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "Brask");
  EXPECT_EQ(factory->getClassInfo(1, &info), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfo(-1, &info), kInvalidArgument);

  FUnknownPtr<IPluginFactory2> factory2(factory);
  ASSERT_TRUE(factory2);
  PClassInfo2 info2;
  ASSERT_EQ(factory2->getClassInfo2(0, &info2), kResultOk);
  EXPECT_EQ(std::memcmp(info2.cid, expectedId, 16), 0);
  EXPECT_EQ(info2.classFlags, 2u);
  EXPECT_STREQ(info2.subCategories, "Fx|Dynamics");
  EXPECT_TRUE(AllZero(info2.vendor)) << "hosts fall back to the factory vendor";
  EXPECT_STREQ(info2.version, "4.0.0");
  EXPECT_STREQ(info2.sdkVersion, "VST 3.6.12");

  FUnknownPtr<IPluginFactory3> factory3(factory);
  ASSERT_TRUE(factory3);
  PClassInfoW infoW;
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &infoW), kResultOk);
  EXPECT_EQ(Utf8Of(infoW.name), "Brask");
  EXPECT_EQ(Utf8Of(infoW.version), "4.0.0");
  EXPECT_EQ(Utf8Of(infoW.sdkVersion), "VST 3.6.12");
  EXPECT_STREQ(infoW.subCategories, "Fx|Dynamics");
  EXPECT_EQ(infoW.classFlags, 2u);
  EXPECT_EQ(factory3->getClassInfoUnicode(1, &infoW), kInvalidArgument);
  factory->release();
}

TEST(PluginFactory, RefusesUnknownClassesAndInterfaces) {
  IPluginFactory* factory = BraskModule().Factory();
  ASSERT_NE(factory, nullptr);
  TUID otherId;
  std::memcpy(otherId, kBraskClassId, sizeof(TUID));
  otherId[15] = '2';
  void* object = &object;
  EXPECT_EQ(factory->createInstance(otherId, IComponent::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  object = &object;
  EXPECT_EQ(factory->createInstance(kBraskClassId, IPluginFactory::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory->createInstance(kBraskClassId, IComponent::iid, nullptr), kInvalidArgument);
  factory->release();
}

TEST(PluginFactory, InstancesMadeOnTwoThreadsAtOnceAreBothWhole) {
  std::unique_ptr<Vst3Plugin> a, b;
  std::thread first([&a] { a = std::make_unique<Vst3Plugin>(); });
  std::thread second([&b] { b = std::make_unique<Vst3Plugin>(); });
  first.join();
  second.join();
  ASSERT_TRUE(a->Valid());
  ASSERT_TRUE(b->Valid());
  EXPECT_EQ(a->component->initialize(&a->host), kResultOk);
  EXPECT_EQ(b->component->initialize(&b->host), kResultOk);
  EXPECT_EQ(a->controller->getParameterCount(), 10);
  EXPECT_EQ(b->controller->getParameterCount(), 10);
}

TEST(InterfaceLookup, AnswersTheSingleComponentInterfacesAndRefusesConnection) {
  Vst3Plugin plug;
  ASSERT_TRUE(plug.Valid());
  const FUID* answered[] = {&IComponent::iid,      &IAudioProcessor::iid,  &IUnitInfo::iid,
                            &IEditController::iid, &IEditController2::iid, &IPluginBase::iid,
                            &IDependent::iid,      &FUnknown::iid};
  for (const FUID* iid : answered) {
    void* object = nullptr;
    EXPECT_EQ(plug.component->queryInterface(*iid, &object), kResultOk);
    ASSERT_NE(object, nullptr);
    static_cast<FUnknown*>(object)->release();
  }
  void* object = &object;
  EXPECT_EQ(plug.component->queryInterface(IConnectionPoint::iid, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST(InterfaceLookup, ComponentAndControllerKeepTheirOwnStatePairs) {
  Vst3Plugin plug;
  ASSERT_TRUE(plug.Valid());
  plug.component->initialize(&plug.host);

  TestStream componentState;
  EXPECT_EQ(plug.component->getState(&componentState), kNotImplemented);
  EXPECT_TRUE(componentState.bytes.empty());
  TestStream controllerState;
  EXPECT_EQ(plug.controller->getState(&controllerState), kResultOk);
  EXPECT_EQ(controllerState.bytes.size(), 68u);

  // A component-side restore must not touch the instance.
  TestStream zeros(std::vector<uint8_t>(68, 0));
  EXPECT_EQ(plug.component->setState(&zeros), kNotImplemented);
  EXPECT_EQ(zeros.reads, 0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamMix), 1.0);
  EXPECT_EQ(plug.controller->setComponentState(&zeros), kNotImplemented);
}

TEST(InterfaceLookup, HostHoldsTheOnlyReferenceOfOneObject) {
  IPluginFactory* factory = BraskModule().Factory();
  ASSERT_NE(factory, nullptr);
  void* object = nullptr;
  ASSERT_EQ(factory->createInstance(kBraskClassId, IEditController::iid, &object), kResultOk);
  auto* controller = static_cast<IEditController*>(object);
  EXPECT_EQ(controller->addRef(), 2u) << "creation leaves exactly the host's reference";
  EXPECT_EQ(controller->release(), 1u);

  FUnknown* fromController = nullptr;
  FUnknown* fromProcessor = nullptr;
  IAudioProcessor* processor = nullptr;
  controller->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
  ASSERT_NE(processor, nullptr);
  controller->queryInterface(FUnknown::iid, reinterpret_cast<void**>(&fromController));
  processor->queryInterface(FUnknown::iid, reinterpret_cast<void**>(&fromProcessor));
  EXPECT_EQ(fromController, fromProcessor) << "processor and controller are one object";
  fromController->release();
  fromProcessor->release();
  processor->release();
  EXPECT_EQ(controller->release(), 0u);
  factory->release();
}
