#pragma once
// The objects a VST 3 plug-in may ask its host to create through
// IHostApplication::createInstance: messages (IMessage) and attribute lists (IAttributeList),
// which a component and its separate edit controller send each other through their
// connection points. The VST 3 SDK's hosting classes implement both.

#include "pluginterfaces/base/funknown.h"

// Creates the object of class cid answering interface iid into *obj (owned by the caller);
// kNoInterface with *obj null for any other class.
Steinberg::tresult CreateHostObject(const Steinberg::TUID cid, const Steinberg::TUID iid,
                                    void** obj);
