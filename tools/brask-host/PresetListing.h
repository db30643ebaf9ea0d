#pragma once
// PresetListing: one preset as brask-host reports it, whatever the format's preset system.

#include <string>
#include <vector>

struct PresetValue {
  std::string name;  ///< the parameter's name (LV2: the port's name)
  double value = 0.0;
};

struct PresetListing {
  std::string name;                 ///< what a host's preset menu shows
  std::string source;               ///< the preset file, or the LV2 preset's URI
  std::vector<PresetValue> values;  ///< every value it sets, in the plug-in's parameter order
};
