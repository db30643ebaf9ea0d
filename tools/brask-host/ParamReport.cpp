#include "ParamReport.h"

#include <algorithm>
#include <cstdio>

#include "JsonText.h"

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", value);
  return text;
}

std::string Pad(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

std::string ParamsAsText(const std::vector<HostParam>& params) {
  size_t nameWidth = 4;
  for (const HostParam& param : params) nameWidth = std::max(nameWidth, param.name.size());
  std::string out = "  " + Pad("#", 4) + Pad("ID", 12) + Pad("Name", nameWidth + 2) +
                    Pad("Unit", 6) + Pad("Range", 18) + Pad("Default", 10) + "Current\n";
  for (size_t i = 0; i < params.size(); ++i) {
    const HostParam& p = params[i];
    char id[16];
    std::snprintf(id, sizeof(id), p.id > 0xFFFF ? "0x%08X" : "%u", p.id);
    const std::string range = Number(p.minPlain) + " .. " + Number(p.maxPlain);
    const std::string current = p.display + (p.unit.empty() ? "" : " " + p.unit) +
                                (p.hostControl ? "  (host control)" : "");
    out += "  " + Pad(std::to_string(i), 4) + Pad(id, 12) + Pad(p.name, nameWidth + 2) +
           Pad(p.unit, 6) + Pad(range, 18) + Pad(Number(p.defaultPlain), 10) + current + "\n";
  }
  return out;
}

std::string ParamsAsJson(const std::vector<HostParam>& params) {
  std::string out = "[";
  for (size_t i = 0; i < params.size(); ++i) {
    const HostParam& p = params[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"index\": " + std::to_string(i) + ", \"id\": " + std::to_string(p.id) +
           ", \"name\": " + JsonQuote(p.name) + ", \"unit\": " + JsonQuote(p.unit) +
           ", \"min\": " + JsonNumber(p.minPlain) + ", \"max\": " + JsonNumber(p.maxPlain) +
           ", \"default\": " + JsonNumber(p.defaultPlain) + ", \"value\": " + JsonNumber(p.plain) +
           ", \"normalized\": " + JsonNumber(p.normalized) +
           ", \"display\": " + JsonQuote(p.display) +
           ", \"stepCount\": " + std::to_string(p.stepCount) +
           ", \"hostControl\": " + (p.hostControl ? "true" : "false") + "}";
  }
  return out + "\n  ]";
}
