#include "gui/BitmapCache.h"

#include <mutex>
#include <new>
#include <vector>

namespace {

struct CacheEntry {
  int resourceId;
  LICE_IBitmap* surface;  // owned; may be null after a failed load
};

// Lives until the module is unloaded, then destroys every cached surface.
class CacheList {
 public:
  CacheList() = default;
  CacheList(const CacheList&) = delete;
  CacheList& operator=(const CacheList&) = delete;
  ~CacheList() {
    for (CacheEntry& entry : mEntries) delete entry.surface;
  }

  // The surface of the first entry with this id that holds one, or null. Entries left by a
  // failed load are passed over, so a later successful load is shared like any other.
  LICE_IBitmap* Find(int resourceId) const {
    for (const CacheEntry& entry : mEntries) {
      if (entry.resourceId == resourceId && entry.surface) return entry.surface;
    }
    return nullptr;
  }

  // False when the list could not grow; the caller still owns the surface then.
  bool Append(int resourceId, LICE_IBitmap* surface) {
    try {
      mEntries.push_back(CacheEntry{resourceId, surface});
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

 private:
  std::vector<CacheEntry> mEntries;
};

std::mutex gBitmapCacheLock;
CacheList gBitmapCache;

}  // namespace

LICE_IBitmap* LookUpOrLoadBitmap(int resourceId, const char* name, const BitmapLoader& load) {
  {
    std::lock_guard<std::mutex> hold(gBitmapCacheLock);
    if (LICE_IBitmap* cached = gBitmapCache.Find(resourceId)) return cached;
  }
  LICE_IBitmap* surface = load ? load(resourceId, name) : nullptr;
  std::lock_guard<std::mutex> hold(gBitmapCacheLock);
  if (!gBitmapCache.Append(resourceId, surface)) {
    delete surface;
    return nullptr;
  }
  return surface;
}
