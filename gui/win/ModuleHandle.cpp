// The module handle for programs and modules whose entry point does not record one (test
// programs, the VST 3 module): the module that holds this code. Kept alone in its object file
// so that the linker takes it from the library only when nothing else defines the function.
#include "gui/win/ModuleHandle.h"

#include "gui/win/ResourcePictures.h"

HINSTANCE BraskModuleHandle() { return ModuleContainingCode(); }
