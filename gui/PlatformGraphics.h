#pragma once
// PlatformGraphics: names the concrete editor class of this build. Code that creates the
// editor (the plug-in's layout) uses IGraphicsPlatform and stays free of platform choices.

#ifdef _WIN32
#include "gui/win/IGraphicsWin.h"
using IGraphicsPlatform = IGraphicsWin;
#elif defined(BRASK_X11)
#include "gui/x11/IGraphicsX11.h"
using IGraphicsPlatform = IGraphicsX11;
#else
#include "gui/IGraphicsPortable.h"
using IGraphicsPlatform = IGraphicsPortable;
#endif
