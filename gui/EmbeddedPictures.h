#pragma once
// EmbeddedPictures: finds the PNG pictures built into this module by their numeric resource
// id (101 to 110 for the panel). On Windows they are module resources of type "PNG" (see
// resources/Brask.rc); elsewhere they are byte arrays that cmake/EmbedResources.cmake
// generates from resources/img/*.png into the brask_pictures library.
//
// Each panel picture also comes drawn at twice the resolution (resources/img/2x: twice the
// width and height of every frame, the same frames in the same order), for editors shown on
// high-resolution screens. The 2x picture of id N has id N + kDoubleResolutionIdOffset
// (201 to 210); the 1x pictures are exactly what they would be without it.

#include <cstddef>

#include "gui/LICE_IBitmap.h"

#ifndef _WIN32
// One picture of the table that the build generates from resources/img/*.png; the table ends
// with an entry whose bytes are null.
struct EmbeddedPicture {
  int resourceId;
  const unsigned char* bytes;
  size_t length;
};
extern const EmbeddedPicture gEmbeddedPictures[];
#endif

// Points *bytes and *length at the embedded PNG data of resourceId; false when there is none.
bool FindEmbeddedPicture(int resourceId, const unsigned char** bytes, size_t* length);

// The embedded picture resourceId as a surface that decodes its pixels when they are first
// drawn (LazyPngSurface). Answers null (the caller owns any answer) when the name does not end
// in ".png" (any case), or the picture is missing or has no PNG header. This is the portable
// LoadPlatformBitmap.
LICE_IBitmap* LoadEmbeddedPicture(int resourceId, const char* name);

// Distance from a 1x picture's resource id to the id of its 2x picture.
constexpr int kDoubleResolutionIdOffset = 100;

// The resource id of the 2x picture of the 1x picture resourceId, or 0 when this module holds
// no such pair (resourceId unknown, or itself a 2x picture).
int DoubleResolutionPictureId(int resourceId);

// The 2x picture of the 1x picture resourceId, under the same rules as LoadEmbeddedPicture
// (name checked for ".png"); null when there is none.
LICE_IBitmap* LoadDoubleResolutionPicture(int resourceId, const char* name);
