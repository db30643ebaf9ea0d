#include "ParamSettings.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CommandLine.h"

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", value);
  return text;
}

std::string SettableNames(const std::vector<HostParam>& params) {
  std::string names;
  for (const HostParam& param : params) {
    if (param.hostControl) continue;
    if (!names.empty()) names += ", ";
    names += param.name;
  }
  return names;
}

bool InRange(const HostParam& param, double value) {
  if (std::isnan(param.minPlain) || std::isnan(param.maxPlain)) return true;
  const double low = std::min(param.minPlain, param.maxPlain);
  const double high = std::max(param.minPlain, param.maxPlain);
  // Ranges read back from display texts carry their rounding; allow a hair of it.
  const double slack = (high - low) * 1e-9;
  return value >= low - slack && value <= high + slack;
}

}  // namespace

bool ParamSettings::Parse(const std::vector<std::string>& texts, std::string* error) {
  for (const std::string& text : texts) {
    const size_t equals = text.find('=');
    double value = 0.0;
    if (equals == std::string::npos || equals == 0) {
      *error = "--set needs NAME=VALUE, got \"" + text + "\"";
      return false;
    }
    if (!ParseNumber(text.substr(equals + 1), &value)) {
      *error = "the value in \"" + text + "\" is not a number";
      return false;
    }
    Put(text.substr(0, equals), value);
  }
  return true;
}

void ParamSettings::Put(const std::string& name, double value) {
  for (ParamSetting& setting : settings) {
    if (setting.name == name) {
      setting.value = value;
      return;
    }
  }
  settings.push_back(ParamSetting{name, value});
}

const HostParam* ParamSettings::Find(const std::vector<HostParam>& params,
                                     const std::string& name) {
  for (const HostParam& param : params) {
    if (!param.hostControl && param.name == name) return &param;
  }
  for (const HostParam& param : params) {
    if (!param.hostControl && strcasecmp(param.name.c_str(), name.c_str()) == 0) return &param;
  }
  return nullptr;
}

bool ParamSettings::Apply(HostedPlugin* plugin, std::string* error) const {
  const std::vector<HostParam> params = plugin->Params();
  // Everything is checked first, so a refusal changes nothing.
  for (const ParamSetting& setting : settings) {
    const HostParam* param = Find(params, setting.name);
    if (!param) {
      *error =
          "unknown parameter \"" + setting.name + "\" (parameters: " + SettableNames(params) + ")";
      return false;
    }
    if (!InRange(*param, setting.value)) {
      *error = param->name + "=" + Number(setting.value) + " is out of range: " + param->name +
               " takes " + Number(param->minPlain) + " to " + Number(param->maxPlain) +
               (param->unit.empty() ? "" : " " + param->unit);
      return false;
    }
  }
  for (const ParamSetting& setting : settings) {
    if (!plugin->SetPlain(*Find(params, setting.name), setting.value, error)) return false;
  }
  return true;
}
