#include "IPlugParameter.h"

#include <cmath>
#include <cstdlib>

#include "HostText.h"
#include "base/source/fstring.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugParameter::IPlugParameter(const IParamRecord* record, ParamID id, UnitID unitId)
    : plugParam(record) {
  info.id = id;
  WidenToHost(record->Name(), info.title);
  info.shortTitle[0] = 0;
  WidenToHost(record->UnitForHost(), info.units);
  precision = record->DisplayPrecision();
  info.stepCount = record->Kind() == ParamKindDouble ? 0 : int32(record->Max() - record->Min());
  info.defaultNormalizedValue = valueNormalized = record->NormalizedFromPlain(record->Default());
  info.flags = record->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
  info.unitId = unitId;
}

void IPlugParameter::FormatNormalized(const IParamRecord* record, double valueNormalized,
                                      String128 string) {
  char text[32];
  record->FormatForHost(valueNormalized, true, text, int(sizeof(text)), true);
  WidenToHost(text, string);
}

void IPlugParameter::toString(ParamValue valueNormalized, String128 string) const {
  FormatNormalized(plugParam, valueNormalized, string);
}

bool IPlugParameter::fromString(const TChar* string, ParamValue& valueNormalized) const {
  String text(string ? string : STR16(""));
  // A text that does not convert reads as empty, and text that is not a number as 0.
  const char8* narrow = text.toMultiByte(kCP_Default) ? text.text8() : nullptr;
  double plain = std::strtod(narrow ? narrow : "", nullptr);
  if (std::isnan(plain)) plain = 0.0;
  valueNormalized = plugParam->NormalizedFromPlain(plain);
  return true;
}

ParamValue IPlugParameter::toPlain(ParamValue valueNormalized) const {
  return plugParam->PlainFromNormalized(valueNormalized);
}

ParamValue IPlugParameter::toNormalized(ParamValue plainValue) const {
  return plugParam->NormalizedFromPlain(plainValue);
}
