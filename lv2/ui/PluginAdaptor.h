#pragma once
// The adaptor the plug-in class derives from in the LV2 UI binary.

#include "lv2/ui/IPlugLV2UI.h"

using PluginAdaptor = IPlugLV2UI;
