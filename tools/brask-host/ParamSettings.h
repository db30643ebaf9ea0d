#pragma once
// ParamSettings: the --set NAME=VALUE requests of a command, checked against the parameters the
// plug-in reports and applied through HostedPlugin::SetPlain.
//
// VALUE is in the parameter's own units. An unknown name, a value that is no number and a value
// outside the range the plug-in reports are refused with a message before anything is written.
// Host-side controls (the VST 3 host bypass and preset selector) are not settable by name; a
// plug-in parameter that shares such a control's title ("Bypass") is the one meant.

#include <string>
#include <vector>

#include "HostedPlugin.h"

struct ParamSetting {
  std::string name;
  double value = 0.0;
};

class ParamSettings {
 public:
  // Parses every "NAME=VALUE"; false with *error on the first malformed one.
  bool Parse(const std::vector<std::string>& texts, std::string* error);
  // Checks all settings against the plug-in's parameters, then applies them in order.
  bool Apply(HostedPlugin* plugin, std::string* error) const;
  // Adds or replaces a setting.
  void Put(const std::string& name, double value);

  // The settable parameter of that name (exact match first, then ignoring case), or null.
  static const HostParam* Find(const std::vector<HostParam>& params, const std::string& name);

 private:
  std::vector<ParamSetting> settings;
};
