#pragma once
// CPluginFactory: the module's class factory, as a VST 3 host sees it through
// IPluginFactory, IPluginFactory2 and IPluginFactory3.
//
// A module registers its classes (class record plus creation function) once, when the host
// first asks for the factory. The factory is reference counted; the process keeps one
// pointer to it in gPluginFactory, which the destructor clears, so a host that releases the
// factory and asks again gets a fresh one.

#include <mutex>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

namespace Steinberg {

class CPluginFactory : public IPluginFactory3 {
 public:
  using CreateFunction = FUnknown* (*)(void* context);

  explicit CPluginFactory(const PFactoryInfo& info);
  virtual ~CPluginFactory();

  // Adds a class; the 8-bit record is also offered widened through IPluginFactory3.
  bool registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);

  // Held while gPluginFactory is read, set or cleared and while a release may end the factory:
  // hosts may ask for and release the factory from several threads at once.
  static std::recursive_mutex& LifetimeLock();

  //---from FUnknown---
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  //---from IPluginFactory---
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
  int32 PLUGIN_API countClasses() override;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
  tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) override;

  //---from IPluginFactory2---
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;

  //---from IPluginFactory3---
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
  tresult PLUGIN_API setHostContext(FUnknown* context) override;

 private:
  struct ClassEntry {
    PClassInfo2 info8;          ///< record as registered
    PClassInfoW info16;         ///< the same record widened to UTF-16
    CreateFunction createFunc;  ///< makes one instance with a reference count of 1
    void* context;              ///< handed to createFunc unchanged
  };

  const ClassEntry* EntryAt(int32 index) const;

  int32 refCount = 1;
  PFactoryInfo factoryInfo;
  std::vector<ClassEntry> classes;
};

// The factory of this process, or null while none exists.
extern CPluginFactory* gPluginFactory;

}  // namespace Steinberg
