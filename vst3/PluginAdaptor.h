#pragma once
// The adaptor the plug-in class derives from in the VST 3 module.

#include "vst3/IPlugVST3.h"

using PluginAdaptor = IPlugVST3;
