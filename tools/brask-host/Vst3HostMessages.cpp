#include "Vst3HostMessages.h"

#include <new>

#include "pluginterfaces/vst/ivstattributes.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;

namespace {

// Plug-ins ask for the class's own interface or for FUnknown.
bool Wants(const TUID cid, const TUID iid, const TUID classIid) {
  return FUnknownPrivate::iidEqual(cid, classIid) &&
         (FUnknownPrivate::iidEqual(iid, classIid) ||
          FUnknownPrivate::iidEqual(iid, FUnknown::iid));
}

}  // namespace

tresult CreateHostObject(const TUID cid, const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid) return kInvalidArgument;
  if (Wants(cid, iid, Vst::IMessage::iid)) {
    *obj = static_cast<Vst::IMessage*>(new (std::nothrow) Vst::HostMessage());
  } else if (Wants(cid, iid, Vst::IAttributeList::iid)) {
    *obj = static_cast<Vst::IAttributeList*>(new (std::nothrow) Vst::HostAttributeList());
  } else {
    return kNoInterface;
  }
  return *obj ? kResultOk : kOutOfMemory;
}
