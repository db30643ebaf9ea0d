#include "HostKind.h"

#include <cstring>

namespace {

struct HostKeyword {
  const char* keyword;
  HostKind kind;
};

// Tried in this order; the first one found anywhere in the name wins, so the order decides
// names that contain two keywords.
constexpr HostKeyword kKeywords[] = {
    {"cubase", Cubase},
    {"reaper", Reaper},
    {"nuendo", Nuendo},
    {"cakewalk", Cakewalk},
    {"samplitude", Samplitude},
    {"fruity", Fruity},
    {"live", Live},
    {"melodyne", Melodyne},
    {"vstmanlib", Vstmanlib},
    {"aulab", Aulab},
    {"garageband", Garageband},
    {"forte", Forte},
    {"chainer", Chainer},
    {"audition", Audition},
    {"orion", Orion},
    {"sawstudio", Sawstudio},
    {"logic", Logic},
    {"digital", Digital},
    {"audiomulch", Audiomulch},
    {"presonus", Presonus},
    {"vst3plugintesthost", Vst3plugintesthost},
    {"protools", Protools},
    {"ardour", Ardour},
    {"openmpt", Openmpt},
    {"renoise", Renoise},
    {"standalone", Standalone},
};

}  // namespace

int LookUpHostKind(const char* productName) {
  if (!productName) return Unknown;
  char lowered[256];
  size_t length = strnlen(productName, sizeof(lowered) - 1);
  for (size_t i = 0; i < length; ++i) {
    char c = productName[i];
    lowered[i] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  lowered[length] = '\0';
  for (const HostKeyword& entry : kKeywords) {
    if (strstr(lowered, entry.keyword)) return entry.kind;
  }
  return Unknown;
}
