#pragma once
// The instance handle of this plug-in module, as recorded when the module was loaded. Each
// module (VST 3, VST 2) defines BraskModuleHandle from its own entry point; the editor window
// uses it for its window class and child windows.

#include <windows.h>

HINSTANCE BraskModuleHandle();
