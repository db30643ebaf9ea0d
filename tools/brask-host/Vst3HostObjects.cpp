#include "Vst3HostObjects.h"

#include <cstring>
#include <new>

#include "Vst3HostMessages.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Answers the interface when iid names it or FUnknown.
template <typename Interface>
tresult Answer(Interface* self, const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, Interface::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
    self->addRef();
    *obj = self;
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace

//---HostApplication---

tresult PLUGIN_API HostApplication::getName(String128 name) {
  static const char kName[] = "brask-host";
  if (!name) return kInvalidArgument;
  std::memset(name, 0, sizeof(String128));
  for (size_t i = 0; i + 1 < sizeof(kName); ++i) name[i] = char16(kName[i]);
  return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID cid, TUID iid, void** obj) {
  return CreateHostObject(cid, iid, obj);
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj) {
  return Answer<IHostApplication>(this, iid, obj);
}

//---ComponentHandler---

tresult PLUGIN_API ComponentHandler::beginEdit(ParamID) { return kResultOk; }

tresult PLUGIN_API ComponentHandler::performEdit(ParamID, ParamValue) { return kResultOk; }

tresult PLUGIN_API ComponentHandler::endEdit(ParamID) { return kResultOk; }

tresult PLUGIN_API ComponentHandler::restartComponent(int32) { return kResultOk; }

tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj) {
  return Answer<IComponentHandler>(this, iid, obj);
}

//---ParamValueQueue---

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (index < 0 || index >= count) return kResultFalse;
  sampleOffset = offsets[index];
  value = values[index];
  return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  // Points arrive in time order; one at the same offset replaces the earlier one.
  if (count > 0 && offsets[count - 1] == sampleOffset) {
    values[count - 1] = value;
    index = count - 1;
    return kResultOk;
  }
  if (count >= kMaxPoints) return kResultFalse;
  offsets[count] = sampleOffset;
  values[count] = value;
  index = count++;
  return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj) {
  return Answer<IParamValueQueue>(this, iid, obj);
}

//---ParameterChanges---

void ParameterChanges::Set(ParamID id, ParamValue value) {
  int32 index = 0;
  IParamValueQueue* queue = addParameterData(id, index);
  if (queue) queue->addPoint(0, value, index);
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
  if (index < 0 || index >= int32(used)) return nullptr;
  return &queues[size_t(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
  for (size_t i = 0; i < used; ++i) {
    if (queues[i].getParameterId() == id) {
      index = int32(i);
      return &queues[i];
    }
  }
  if (used < queues.size()) {
    queues[used].Reset(id);
  } else {
    // The plug-in calls this: no exception may reach it.
    try {
      queues.emplace_back(id);
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }
  index = int32(used++);
  return &queues[size_t(index)];
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj) {
  return Answer<IParameterChanges>(this, iid, obj);
}
