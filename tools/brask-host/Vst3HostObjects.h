#pragma once
// The host-side VST 3 objects brask-host hands to a plug-in: the host application (its name,
// and the messages a component and its controller exchange), a component handler that accepts
// the plug-in's edits and restart requests, and the parameter-change lists that carry a
// block's automation into `process`.
//
// All of them live as members of their Vst3Plugin and outlive the plug-in instance, so their
// reference counts are kept for the plug-in's sake but never delete the object. (The messages
// the host application creates belong to whoever asked for them.)

#include <atomic>
#include <deque>

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

// Reference counting for host objects owned by their host.
class HostOwnedCount {
 public:
  Steinberg::uint32 Add() { return ++count; }
  Steinberg::uint32 Release() { return count > 1 ? --count : 1; }

 private:
  std::atomic<Steinberg::uint32> count{1};
};

class HostApplication : public Steinberg::Vst::IHostApplication {
 public:
  //---from IHostApplication---
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;
  //---from FUnknown---
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return refs.Add(); }
  Steinberg::uint32 PLUGIN_API release() override { return refs.Release(); }

 private:
  HostOwnedCount refs;
};

// Accepts edits from the plug-in's own editor; brask-host has no automation lane to write.
class ComponentHandler : public Steinberg::Vst::IComponentHandler {
 public:
  //---from IComponentHandler---
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID,
                                            Steinberg::Vst::ParamValue) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
  //---from FUnknown---
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return refs.Add(); }
  Steinberg::uint32 PLUGIN_API release() override { return refs.Release(); }

 private:
  HostOwnedCount refs;
};

// The points of one parameter within a block.
class ParamValueQueue : public Steinberg::Vst::IParamValueQueue {
 public:
  explicit ParamValueQueue(Steinberg::Vst::ParamID id) : paramId(id) {}
  // Empties the queue for another parameter, keeping its storage.
  void Reset(Steinberg::Vst::ParamID id) {
    paramId = id;
    count = 0;
  }

  //---from IParamValueQueue---
  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return paramId; }
  Steinberg::int32 PLUGIN_API getPointCount() override { return Steinberg::int32(count); }
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;
  //---from FUnknown---
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return refs.Add(); }
  Steinberg::uint32 PLUGIN_API release() override { return refs.Release(); }

 private:
  static constexpr int kMaxPoints = 16;  ///< a host-side block rarely needs more
  Steinberg::Vst::ParamID paramId;
  int count = 0;
  Steinberg::int32 offsets[kMaxPoints] = {};
  Steinberg::Vst::ParamValue values[kMaxPoints] = {};
  HostOwnedCount refs;
};

// The changes of one block, one queue per parameter. Queues are kept for reuse across
// blocks, so a plug-in reporting its meters every block costs no allocation once warm.
class ParameterChanges : public Steinberg::Vst::IParameterChanges {
 public:
  // Adds (or replaces) the value of a parameter at the start of the next block.
  void Set(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value);
  void Clear() { used = 0; }
  bool Empty() const { return used == 0; }

  //---from IParameterChanges---
  Steinberg::int32 PLUGIN_API getParameterCount() override { return Steinberg::int32(used); }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;
  //---from FUnknown---
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return refs.Add(); }
  Steinberg::uint32 PLUGIN_API release() override { return refs.Release(); }

 private:
  std::deque<ParamValueQueue> queues;  ///< a deque keeps handed-out queue pointers valid
  size_t used = 0;                     ///< queues of this block: the first `used`
  HostOwnedCount refs;
};
