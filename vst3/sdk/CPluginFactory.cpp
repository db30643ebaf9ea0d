#include "CPluginFactory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

CPluginFactory::~CPluginFactory() {
  if (gPluginFactory == this) gPluginFactory = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction createFunc,
                                   void* context) {
  if (!info || !createFunc) return false;
  ClassEntry entry{*info, PClassInfoW(), createFunc, context};
  entry.info16.fromAscii(*info);
  classes.push_back(entry);
  return true;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IPluginFactory)
  QUERY_INTERFACE(iid, obj, IPluginFactory::iid, IPluginFactory)
  QUERY_INTERFACE(iid, obj, IPluginFactory2::iid, IPluginFactory2)
  QUERY_INTERFACE(iid, obj, IPluginFactory3::iid, IPluginFactory3)
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() { return FUnknownPrivate::atomicAdd(refCount, 1); }

std::recursive_mutex& CPluginFactory::LifetimeLock() {
  static std::recursive_mutex lock;
  return lock;
}

uint32 PLUGIN_API CPluginFactory::release() {
  std::lock_guard<std::recursive_mutex> lock(LifetimeLock());
  if (FUnknownPrivate::atomicAdd(refCount, -1) == 0) {
    delete this;
    return 0;
  }
  return uint32(refCount);
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
  if (!info) return kInvalidArgument;
  std::memcpy(info, &factoryInfo, sizeof(PFactoryInfo));
  return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return int32(classes.size()); }

const CPluginFactory::ClassEntry* CPluginFactory::EntryAt(int32 index) const {
  if (index < 0 || index >= int32(classes.size())) return nullptr;
  return &classes[size_t(index)];
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
  const ClassEntry* entry = EntryAt(index);
  if (!info || !entry) return kInvalidArgument;
  std::memcpy(info->cid, entry->info8.cid, sizeof(TUID));
  info->cardinality = entry->info8.cardinality;
  std::memcpy(info->category, entry->info8.category, sizeof(info->category));
  std::memcpy(info->name, entry->info8.name, sizeof(info->name));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  const ClassEntry* entry = EntryAt(index);
  if (!info || !entry) return kInvalidArgument;
  std::memcpy(info, &entry->info8, sizeof(PClassInfo2));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  const ClassEntry* entry = EntryAt(index);
  if (!info || !entry) return kInvalidArgument;
  std::memcpy(info, &entry->info16, sizeof(PClassInfoW));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid) return kInvalidArgument;
  for (const ClassEntry& entry : classes) {
    if (std::memcmp(entry.info8.cid, cid, sizeof(TUID)) != 0) continue;
    FUnknown* instance = entry.createFunc(entry.context);
    if (!instance) break;
    // The host keeps the reference queryInterface adds; the creation reference goes.
    const tresult result = instance->queryInterface(iid, obj);
    instance->release();
    if (result == kResultOk) return kResultOk;
    break;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* /*context*/) { return kNotImplemented; }

}  // namespace Steinberg
