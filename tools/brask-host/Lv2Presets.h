#pragma once
// Lv2Presets: an LV2 plug-in's presets as LV2 hosts find and read them, through lilv: those the
// bundle's data describes for its plug-in, and single preset files (Turtle, as hosts save them).
//
// Every preset is checked against the plug-in before it is reported: it must apply to this
// plug-in, name only ports the plug-in has (an unknown port marks a preset of another version)
// and keep every value within its port's range. A file is read as Turtle first, so a
// truncated or damaged one is refused with the parser's reason.

#include <memory>
#include <string>
#include <vector>

#include "PresetListing.h"

class Lv2Presets {
 public:
  // Loads the bundle folder (holding manifest.ttl) into a world of its own; null with *error
  // when it holds no plug-in.
  static std::unique_ptr<Lv2Presets> Open(const std::string& bundle, std::string* error);
  ~Lv2Presets();
  Lv2Presets(const Lv2Presets&) = delete;
  Lv2Presets& operator=(const Lv2Presets&) = delete;

  std::string PluginName() const;
  // Every preset the bundle describes for its plug-in, sorted by name.
  bool List(std::vector<PresetListing>* presets, std::string* error);
  // Every preset in a Turtle file (as hosts save a preset, or a bundle's presets.ttl), sorted
  // by name; false, with the file and the reason in *error, when any of them is refused.
  bool ReadFile(const std::string& path, std::vector<PresetListing>* presets, std::string* error);

 private:
  struct World;
  explicit Lv2Presets(std::unique_ptr<World> world);
  std::unique_ptr<World> world;
};
