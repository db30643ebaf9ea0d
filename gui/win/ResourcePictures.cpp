#include "gui/win/ResourcePictures.h"

#include "gui/LICE_DecodePng.h"
#include "gui/LazyPngSurface.h"

bool FindResourcePicture(HINSTANCE module, int resourceId, const unsigned char** bytes,
                         size_t* length) {
  if (resourceId < 1 || resourceId > 0xffff) return false;  // not a numeric resource id
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "PNG");
  if (!resource) return false;
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked) return false;
  *bytes = static_cast<const unsigned char*>(locked);
  *length = size;
  return true;
}

LICE_IBitmap* LoadResourcePicture(HINSTANCE module, int resourceId, const char* name) {
  if (!LICE_IsPngFileName(name)) return nullptr;
  const unsigned char* bytes = nullptr;
  size_t length = 0;
  if (!FindResourcePicture(module, resourceId, &bytes, &length)) return nullptr;
  return LazyPngSurface::Open(bytes, length);
}

HINSTANCE ModuleContainingCode() {
  HMODULE module = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&ModuleContainingCode), &module)) {
    return nullptr;
  }
  return module;
}
