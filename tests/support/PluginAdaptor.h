#pragma once
// The adaptor the plug-in class derives from in test programs. Programs that need the VST 2
// flavour (its channel configurations) define BRASK_TEST_AS_VST2.

#include "TestAdaptor.h"

#ifdef BRASK_TEST_AS_VST2
using PluginAdaptor = TestAdaptorVst2;
#else
using PluginAdaptor = TestAdaptor;
#endif
