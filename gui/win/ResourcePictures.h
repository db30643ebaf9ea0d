#pragma once
// ResourcePictures: the Windows way to fetch an embedded picture — a module resource of type
// "PNG" under a numeric id, decoded into a surface.

#include <windows.h>

#include <cstddef>

#include "gui/LICE_IBitmap.h"

// Points *bytes and *length at resource resourceId of type "PNG" in module; false when it is
// missing or cannot be locked.
bool FindResourcePicture(HINSTANCE module, int resourceId, const unsigned char** bytes,
                         size_t* length);

// Resource resourceId of type "PNG" in module as a surface that decodes its pixels when they
// are first drawn (LazyPngSurface). Answers null (the caller owns any answer) when the name
// does not end in ".png" (any case), or the resource is missing, cannot be locked or has no
// PNG header.
LICE_IBitmap* LoadResourcePicture(HINSTANCE module, int resourceId, const char* name);

// The module whose code is running this function: the plug-in DLL when linked into one, the
// program itself in a test executable.
HINSTANCE ModuleContainingCode();
