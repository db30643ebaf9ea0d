#pragma once
// A plug-in over the test adaptor with Brask's parameter set, defined here so the core's state
// formats can be checked byte for byte without the real plug-in. It logs the notifications the
// base sends to the plug-in.

#include <string>
#include <vector>

#include "support/TestAdaptor.h"

inline IPlugIdentity CoreTestIdentity(const char* channelConfigs) {
  return IPlugIdentity{"Brask", "", "Wyrdworks", FourCharCode("Brk1"), FourCharCode("Wyrd"),
                       0x40000, 8,  1,           channelConfigs};
}

class CoreTestPlug : public RecordingAdaptor {
 public:
  explicit CoreTestPlug(const char* channelConfigs = "2-2 4-2", int api = kApiVST3,
                        bool defineParams = true)
      : RecordingAdaptor(CoreTestIdentity(channelConfigs), api) {
    if (defineParams) DefineBraskParams();
  }

  void DefineBraskParams() {
    ParamAt(6)->DefineInt("Bypass", 1, 0, 1, "", "");
    ParamAt(7)->DefineInt("Sidechain", 0, 0, 1, "", "");
    DefineDoubleParam(1, "Output", 0, -20, 20, 1);
    DefineDoubleParam(0, "Input", 0, 0, 40, 2);
    DefineDoubleParam(2, "Attack", 10, 1, 50, 2);
    DefineDoubleParam(3, "Release", 400, 100, 3000, 2);
    DefineDoubleParam(4, "Mix", 100, 0, 100, 1);
    DefineDoubleParam(5, "HPF", 20, 20, 500, 1);
    FillDefaultPresets("-", 1);
  }

  void OnParamChanged(int paramIdx) override {
    changedParams.push_back(paramIdx);
    log.push_back("changed " + std::to_string(paramIdx));
  }
  void InformHostParamValue(int paramIdx, double normalized) override {
    RecordingAdaptor::InformHostParamValue(paramIdx, normalized);
    log.push_back("inform " + std::to_string(paramIdx));
  }
  void OnPresetListChanged() override { ++presetListChanges; }

  std::vector<double> Values() {
    std::vector<double> values;
    for (int i = 0; i < ParamCount(); ++i) values.push_back(ParamAt(i)->Value());
    return values;
  }

  std::vector<int> changedParams;
  std::vector<std::string> log;
  int presetListChanges = 0;

 private:
  void DefineDoubleParam(int idx, const char* name, double defaultValue, double min, double max,
                         double shape) {
    ParamAt(idx)->DefineDouble(name, defaultValue, min, max, 0.01, "%", "", 1);
    ParamAt(idx)->SetShapeExponent(shape);
  }
};
