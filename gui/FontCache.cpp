#include "gui/FontCache.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "gui/win/LICE_CachedFont.h"
#endif

#ifdef _WIN32

namespace {

struct CachedFontEntry {
  int size;
  int orientation;
  int style;
  std::string name;
  LICE_CachedFont* font;  // owned
};

// Lives as long as the module; its fonts go with it.
class FontCacheStore {
 public:
  ~FontCacheStore() {
    for (CachedFontEntry& entry : entries) delete entry.font;
  }
  std::mutex lock;
  std::vector<CachedFontEntry> entries;
};

FontCacheStore& Store() {
  static FontCacheStore store;
  return store;
}

DWORD QualityOf(int quality) {
  switch (quality) {
    case ITextStyle::kQualityNonAntiAliased:
      return NONANTIALIASED_QUALITY;
    case ITextStyle::kQualityAntiAliased:
      return ANTIALIASED_QUALITY;
    case ITextStyle::kQualityClearType:
      return CLEARTYPE_QUALITY;
    default:
      return DEFAULT_QUALITY;
  }
}

LICE_CachedFont* LookUp(const ITextStyle& style, const std::string& name) {
  for (const CachedFontEntry& entry : Store().entries) {
    if (entry.size == style.size && entry.orientation == style.orientation &&
        entry.style == style.style && entry.name == name) {
      return entry.font;
    }
  }
  return nullptr;
}

}  // namespace

LICE_IFont* FindCachedFont(ITextStyle* style) {
  if (!style) return nullptr;
  // The name may fill its whole array; never read past it.
  const std::string name(style->font, strnlen(style->font, sizeof style->font));
  {
    std::lock_guard<std::mutex> guard(Store().lock);
    if (LICE_CachedFont* found = LookUp(*style, name)) {
      style->cachedFont = found;
      return found;
    }
  }
  HFONT handle = CreateFontA(style->size, 0, style->orientation * 10, style->orientation * 10,
                             style->style == ITextStyle::kStyleBold ? FW_BOLD : FW_NORMAL,
                             style->style == ITextStyle::kStyleItalic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             QualityOf(style->quality), DEFAULT_PITCH, name.c_str());
  if (!handle) return nullptr;
  auto* font = new LICE_CachedFont();
  font->AttachFontHandle(handle, LICE_CachedFont::kOwnsHandle | LICE_CachedFont::kPlatformDraw);
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().entries.push_back(
      CachedFontEntry{style->size, style->orientation, style->style, name, font});
  style->cachedFont = font;
  return font;
}

#else

LICE_IFont* FindCachedFont(ITextStyle*) { return nullptr; }

#endif
