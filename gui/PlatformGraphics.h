#pragma once
// PlatformGraphics: names the concrete editor class of this build. Code that creates the
// editor (the plug-in's layout) uses IGraphicsPlatform and stays free of platform choices.

#ifdef _WIN32
#include "gui/win/IGraphicsWin.h"
using IGraphicsPlatform = IGraphicsWin;
#else
#include "gui/IGraphicsPortable.h"
using IGraphicsPlatform = IGraphicsPortable;
#endif
