#pragma once
// The VST 3 module's class factory for Brask: GetPluginFactory (exported) hands hosts the one
// factory of the process, which offers a single class, the Brask audio effect, made by
// CreateBraskInstance.

#include "pluginterfaces/base/ipluginbase.h"

// The class ID hosts know Brask by: eight fixed bytes, then the maker code "Wyrd" and the
// plug-in code "Brk1" in reading order.
extern const Steinberg::TUID BraskComponentUID;

// Builds one Brask instance under the process-wide creation lock and answers its
// IAudioProcessor interface, reference count 1; null when construction failed.
Steinberg::FUnknown* CreateBraskInstance(void* context);
