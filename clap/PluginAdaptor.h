#pragma once
// The adaptor the plug-in class derives from in the CLAP module.

#include "clap/IPlugCLAP.h"

using PluginAdaptor = IPlugCLAP;
