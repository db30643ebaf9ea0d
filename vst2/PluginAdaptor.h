#pragma once
// The adaptor the plug-in class derives from in the VST 2 module.

#include "IPlugVST.h"

using PluginAdaptor = IPlugVST;
