#include "gui/EmbeddedPictures.h"

#include "gui/LICE_DecodePng.h"
#include "gui/LazyPngSurface.h"

#ifdef _WIN32
#include "gui/win/ResourcePictures.h"
#endif

bool FindEmbeddedPicture(int resourceId, const unsigned char** bytes, size_t* length) {
#ifdef _WIN32
  return FindResourcePicture(ModuleContainingCode(), resourceId, bytes, length);
#else
  for (const EmbeddedPicture* picture = gEmbeddedPictures; picture->bytes; ++picture) {
    if (picture->resourceId == resourceId) {
      *bytes = picture->bytes;
      *length = picture->length;
      return true;
    }
  }
  return false;
#endif
}

LICE_IBitmap* LoadEmbeddedPicture(int resourceId, const char* name) {
  if (!LICE_IsPngFileName(name)) return nullptr;
  const unsigned char* bytes = nullptr;
  size_t length = 0;
  if (!FindEmbeddedPicture(resourceId, &bytes, &length)) return nullptr;
  return LazyPngSurface::Open(bytes, length);
}

int DoubleResolutionPictureId(int resourceId) {
  // A 2x picture has no 2x picture of its own: its id + offset must not be taken for one.
  const unsigned char* bytes = nullptr;
  size_t length = 0;
  if (resourceId < 1 || resourceId > 0xffff - 2 * kDoubleResolutionIdOffset) return 0;
  if (!FindEmbeddedPicture(resourceId, &bytes, &length)) return 0;
  if (resourceId > kDoubleResolutionIdOffset &&
      FindEmbeddedPicture(resourceId - kDoubleResolutionIdOffset, &bytes, &length)) {
    return 0;
  }
  const int doubled = resourceId + kDoubleResolutionIdOffset;
  return FindEmbeddedPicture(doubled, &bytes, &length) ? doubled : 0;
}

LICE_IBitmap* LoadDoubleResolutionPicture(int resourceId, const char* name) {
  const int doubled = DoubleResolutionPictureId(resourceId);
  return doubled ? LoadEmbeddedPicture(doubled, name) : nullptr;
}
