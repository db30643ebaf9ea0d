#include "BraskTurtle.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "BraskPresets.h"
#include "core/IPlugBase.h"
#include "core/ParamUnit.h"
#include "lv2/Lv2Layout.h"

namespace {

const char kPrefixes[] =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n\n";
const char kPresetPrefixes[] =
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n\n";

struct AudioPort {
  const char* symbol;
  const char* name;
  bool sideChain;
};

constexpr AudioPort kAudioInputs[kLv2AudioInCount] = {
    {"in_l", "Input left", false},
    {"in_r", "Input right", false},
    {"sidechain_l", "Side-chain left", true},
    {"sidechain_r", "Side-chain right", true},
};
constexpr AudioPort kAudioOutputs[kLv2AudioOutCount] = {
    {"out_l", "Output left", false},
    {"out_r", "Output right", false},
};

// Turtle strings here are plain names; quotes and backslashes are escaped all the same.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A port carries a float: written as the float the host will hold, always as a decimal.
std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", double(float(value)));
  std::string out = text;
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

// Port symbols are the parameter names in lower case, with anything but letters and digits
// turned into underscores.
std::string Symbol(const char* name) {
  std::string symbol;
  for (const char* c = name; *c; ++c) {
    symbol += std::isalnum(static_cast<unsigned char>(*c))
                  ? char(std::tolower(static_cast<unsigned char>(*c)))
                  : '_';
  }
  return symbol;
}

// Hosts show a port's unit beside its value, so each port names the unit its plain value is
// in: a unit the record reads in unscaled. The time knobs, whose values are positions on a
// scale rather than times, and the switches name none.
std::string UnitLine(const IParamRecord& record) {
  static const std::pair<const char*, const char*> kLv2Units[] = {
      {"dB", "units:db"}, {"%", "units:pc"}, {"Hz", "units:hz"}};
  const ParamUnit& unit = record.Unit();
  if (!unit.unit || unit.isSwitch || unit.scale != 1.0 || unit.offset != 0.0) return "";
  for (const auto& [label, uri] : kLv2Units) {
    if (std::strcmp(unit.unit, label) == 0) return std::string("\t\tunits:unit ") + uri + " ;\n";
  }
  return "";
}

std::string ParamPort(const IParamRecord& record, int index, int enabledParam) {
  std::string port = "\t\ta lv2:InputPort , lv2:ControlPort ;\n";
  port += "\t\tlv2:index " + std::to_string(index) + " ;\n";
  port += "\t\tlv2:symbol " + Quoted(Symbol(record.Name())) + " ;\n";
  port += "\t\tlv2:name " + Quoted(record.Name()) + " ;\n";
  port += "\t\tlv2:default " + Number(record.Default()) + " ;\n";
  port += "\t\tlv2:minimum " + Number(record.Min()) + " ;\n";
  port += "\t\tlv2:maximum " + Number(record.Max()) + " ;\n";
  if (index == enabledParam) port += "\t\tlv2:designation lv2:enabled ;\n";
  if (record.Kind() != ParamKindDouble) {
    const bool toggle = record.Min() == 0.0 && record.Max() == 1.0;
    port += toggle ? "\t\tlv2:portProperty lv2:integer , lv2:toggled ;\n"
                   : "\t\tlv2:portProperty lv2:integer ;\n";
  }
  return port + UnitLine(record);
}

std::string GainReductionPort() {
  return "\t\ta lv2:OutputPort , lv2:ControlPort ;\n"
         "\t\tlv2:index " +
         std::to_string(kLv2GainReductionPort) +
         " ;\n"
         "\t\tlv2:symbol \"gain_reduction\" ;\n"
         "\t\tlv2:name \"Gain reduction\" ;\n"
         "\t\trdfs:comment \"The panel meter's value: 1 minus the applied gain, smoothed "
         "over 0.3 s; 0 is no reduction, 0.5 about 6 dB.\" ;\n"
         "\t\tlv2:default 0.0 ;\n"
         "\t\tlv2:minimum 0.0 ;\n"
         "\t\tlv2:maximum 1.0 ;\n"
         "\t\tunits:unit units:coef ;\n";
}

std::string AudioPortText(const AudioPort& port, uint32_t index, bool input) {
  std::string text = input ? "\t\ta lv2:InputPort , lv2:AudioPort ;\n"
                           : "\t\ta lv2:OutputPort , lv2:AudioPort ;\n";
  text += "\t\tlv2:index " + std::to_string(index) + " ;\n";
  text += "\t\tlv2:symbol " + Quoted(port.symbol) + " ;\n";
  text += "\t\tlv2:name " + Quoted(port.name) + " ;\n";
  if (port.sideChain) text += "\t\tlv2:portProperty lv2:isSideChain ;\n";
  return text;
}

// Port blocks, in index order, joined as the values of one lv2:port property.
std::string Ports(IPlugBase* plug, int enabledParam) {
  std::vector<std::string> ports;
  for (int i = 0; i < plug->ParamCount(); ++i) {
    ports.push_back(ParamPort(*plug->ParamAt(i), i, enabledParam));
  }
  ports.push_back(GainReductionPort());
  for (uint32_t i = 0; i < kLv2AudioInCount; ++i) {
    ports.push_back(AudioPortText(kAudioInputs[i], kLv2FirstAudioInPort + i, true));
  }
  for (uint32_t i = 0; i < kLv2AudioOutCount; ++i) {
    ports.push_back(AudioPortText(kAudioOutputs[i], kLv2FirstAudioOutPort + i, false));
  }
  std::string text = "\tlv2:port [\n";
  for (size_t i = 0; i < ports.size(); ++i) {
    text += ports[i] + (i + 1 < ports.size() ? "\t] , [\n" : "\t] .\n");
  }
  return text;
}

std::string VersionText(int32_t version) {
  return std::to_string((version >> 16) & 0xff) + "." + std::to_string((version >> 8) & 0xff) +
         "." + std::to_string(version & 0xff);
}

std::string UiTurtle() {
  return std::string("<") + kBraskLv2UiUri +
         ">\n"
         "\ta ui:X11UI ;\n"
         "\tlv2:requiredFeature ui:parent , ui:idleInterface ;\n"
         "\tlv2:optionalFeature ui:resize , ui:touch ;\n"
         "\tlv2:extensionData ui:idleInterface ;\n"
         "\tui:portNotification [\n"
         "\t\tui:plugin <" +
         kBraskLv2Uri +
         "> ;\n"
         "\t\tlv2:symbol \"gain_reduction\" ;\n"
         "\t\tui:protocol ui:floatProtocol\n"
         "\t] .\n";
}

// One port value of a preset, within the parameter's range.
bool PresetPortValue(const IParamRecord& record, const BraskPreset& preset, int index,
                     std::string* text, std::string* error) {
  const double value = preset.values[index];
  if (!(value >= record.Min() && value <= record.Max())) {
    *error = std::string("the preset \"") + preset.name + "\" sets " + record.Name() + " to " +
             Number(value) + ", outside " + Number(record.Min()) + " to " + Number(record.Max());
    return false;
  }
  *text = "\t\tlv2:symbol " + Quoted(Symbol(record.Name())) + " ;\n\t\tpset:value " +
          Number(value) + "\n";
  return true;
}

}  // namespace

std::string PresetUri(const BraskPreset& preset) {
  return std::string(kBraskLv2Uri) + ":preset:" + preset.key;
}

std::string ManifestTurtle(const std::string& dspBinary, const std::string& uiBinary) {
  std::string text = std::string(kPrefixes, sizeof kPrefixes - 2) +
                     "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n\n<" + kBraskLv2Uri +
                     ">\n\ta lv2:Plugin ;\n\tlv2:binary <" + dspBinary +
                     "> ;\n\trdfs:seeAlso <brask.ttl> .\n\n<" + kBraskLv2UiUri +
                     ">\n\ta ui:X11UI ;\n\tui:binary <" + uiBinary +
                     "> ;\n\trdfs:seeAlso <brask.ttl> .\n";
  for (const BraskPreset& preset : kBraskPresets) {
    text += "\n<" + PresetUri(preset) + ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" + kBraskLv2Uri +
            "> ;\n\trdfs:seeAlso <presets.ttl> .\n";
  }
  return text;
}

bool PresetsTurtle(IPlugBase* plug, std::string* turtle, std::string* error) {
  std::string text = kPresetPrefixes;
  for (const BraskPreset& preset : kBraskPresets) {
    text += "<" + PresetUri(preset) + ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" + kBraskLv2Uri +
            "> ;\n\trdfs:label " + Quoted(preset.name) + " ;\n\trdfs:comment " +
            Quoted(preset.description) + " ;\n\tlv2:port [\n";
    for (int i = 0; i < plug->ParamCount(); ++i) {
      std::string port;
      if (!PresetPortValue(*plug->ParamAt(i), preset, i, &port, error)) return false;
      text += port + (i + 1 < plug->ParamCount() ? "\t] , [\n" : "\t] .\n\n");
    }
  }
  turtle->swap(text);
  return true;
}

std::string PluginTurtle(IPlugBase* plug, int enabledParam) {
  const int32_t version = plug->Version();
  std::string text = kPrefixes;
  text += std::string("<") + kBraskLv2Uri + ">\n";
  text += "\ta lv2:Plugin , lv2:CompressorPlugin , doap:Project ;\n";
  text += "\tdoap:name " + Quoted(plug->EffectName()) + " ;\n";
  text += "\tdoap:maintainer [ foaf:name " + Quoted(plug->MakerName()) + " ] ;\n";
  text += "\tdoap:release [ doap:revision " + Quoted(VersionText(version)) + " ] ;\n";
  text += "\tlv2:minorVersion " + std::to_string((version >> 8) & 0xff) + " ;\n";
  text += "\tlv2:microVersion " + std::to_string(version & 0xff) + " ;\n";
  text += "\tlv2:optionalFeature lv2:hardRTCapable ;\n";
  text += std::string("\tui:ui <") + kBraskLv2UiUri + "> ;\n";
  return text + Ports(plug, enabledParam) + "\n" + UiTurtle();
}
