// lv2-turtle: writes the LV2 bundle's manifest.ttl, brask.ttl and presets.ttl, at build time,
// from the plug-in class itself over the silent host and the factory preset table.
//
//   lv2-turtle BUNDLE_DIR DSP_BINARY UI_BINARY

#include <cstdio>
#include <string>

#include "Brask.h"
#include "BraskTurtle.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lv2-turtle BUNDLE_DIR DSP_BINARY UI_BINARY\n");
    return 2;
  }
  const std::string bundle = argv[1];
  Brask plug(nullptr);
  std::string presets, error;
  if (!PresetsTurtle(&plug, &presets, &error)) {
    std::fprintf(stderr, "lv2-turtle: %s\n", error.c_str());
    return 1;
  }
  if (!WriteText(bundle + "/presets.ttl", presets) ||
      !WriteText(bundle + "/manifest.ttl", ManifestTurtle(argv[2], argv[3])) ||
      !WriteText(bundle + "/brask.ttl", PluginTurtle(&plug, kParamBypass))) {
    std::fprintf(stderr, "lv2-turtle: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
