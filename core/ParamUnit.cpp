#include "ParamUnit.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "IParamRecord.h"

namespace {

const char* SkipBlanks(const char* text) {
  while (*text && std::isspace(static_cast<unsigned char>(*text))) ++text;
  return text;
}

bool SameWord(const char* text, const char* word) {
  const size_t length = std::strlen(word);
  for (size_t i = 0; i < length; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(word[i]))) {
      return false;
    }
  }
  return *SkipBlanks(text + length) == '\0';
}

// A switch reads "on" and "off", or a number that is then truncated, as hosts step it.
bool ParseSwitch(const char* text, double* plain) {
  if (SameWord(text, "on")) {
    *plain = 1.0;
  } else if (SameWord(text, "off")) {
    *plain = 0.0;
  } else {
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text || *SkipBlanks(end) != '\0' || !std::isfinite(number)) return false;
    *plain = std::trunc(number);
  }
  return true;
}

const char* UnitOf(const IParamRecord& record) {
  return record.Unit().unit ? record.Unit().unit : record.Label();
}

}  // namespace

bool FormatInUnit(const IParamRecord& record, double plain, char* out, size_t capacity) {
  if (!out || capacity == 0) return false;
  const ParamUnit& unit = record.Unit();
  int written;
  if (unit.isSwitch) {
    written = std::snprintf(out, capacity, "%s", std::trunc(plain) >= 1.0 ? "on" : "off");
  } else {
    const int decimals = unit.decimals >= 0 ? unit.decimals : record.DisplayPrecision();
    written = std::snprintf(out, capacity, "%.*f%s%s", decimals, plain * unit.scale + unit.offset,
                            UnitOf(record)[0] ? " " : "", UnitOf(record));
  }
  if (written < 0 || size_t(written) >= capacity) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool ParseInUnit(const IParamRecord& record, const char* text, double* plain) {
  if (!text || !plain) return false;
  text = SkipBlanks(text);
  const ParamUnit& unit = record.Unit();
  double value = 0.0;
  if (unit.isSwitch) {
    if (!ParseSwitch(text, &value)) return false;
  } else {
    char* end = nullptr;
    const double shown = std::strtod(text, &end);
    const char* rest = SkipBlanks(end);
    if (end == text || !std::isfinite(shown) || (*rest && !SameWord(rest, UnitOf(record)))) {
      return false;
    }
    value = (shown - unit.offset) / unit.scale;
  }
  *plain = std::fmin(std::fmax(value, record.Min()), record.Max());
  return true;
}
