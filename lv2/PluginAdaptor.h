#pragma once
// The adaptor the plug-in class derives from in the LV2 plug-in binary.

#include "lv2/IPlugLV2.h"

using PluginAdaptor = IPlugLV2;
