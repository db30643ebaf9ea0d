#pragma once
// BitmapCache: the process-wide list of decoded pictures, one surface per resource id, shared
// by every editor in the module. Entries are only ever appended; the surfaces live until the
// module is unloaded, so controls may hold plain pointers to them. The cache lock is held only
// while the list is searched or extended, never while a picture is decoded: two threads
// loading the same id at once may both decode it, and the entry appended first is the one
// later lookups find.

#include <functional>

#include "gui/LICE_IBitmap.h"

// Produces a new surface for a resource id (ownership passes to the cache), or null.
using BitmapLoader = std::function<LICE_IBitmap*(int resourceId, const char* name)>;

// The cached surface for resourceId; when there is none (or only failed ones), calls load
// without holding the lock and appends its answer, even a null one. The name plays no part
// in the lookup. Answers null when the picture cannot be loaded.
LICE_IBitmap* LookUpOrLoadBitmap(int resourceId, const char* name, const BitmapLoader& load);
