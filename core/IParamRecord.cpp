#include "IParamRecord.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Copies text into a fixed field, cutting what does not fit.
void CopyText(char (&field)[IParamRecord::kTextSize], const char* text) {
  size_t length = text ? strnlen(text, IParamRecord::kTextSize - 1) : 0;
  if (length > 0) memcpy(field, text, length);
  field[length] = '\0';
}

// Truncation toward zero that stays defined for values outside the int range and for NaN.
int TruncateToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= double(INT_MAX)) return INT_MAX;
  if (v <= double(INT_MIN)) return INT_MIN;
  return int(v);
}

int PrecisionFromStep(double step) {
  int precision = 0;
  double s = step;
  while (s != std::floor(s) && precision < MaxDisplayPrecision) {
    ++precision;
    s *= 10.0;
  }
  return precision;
}

}  // namespace

void IParamRecord::DefineDouble(const char* name, double defaultValue, double min, double max,
                                double step, const char* label, const char* group, double shape) {
  if (mKind == ParamKindNone) mKind = ParamKindDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mValue = defaultValue;
  mDefault = defaultValue;
  mMin = min;
  mStep = step;
  mMax = max > min + step ? max : min + step;
  mDisplayPrecision = PrecisionFromStep(step);
  SetShapeExponent(shape);
}

void IParamRecord::DefineInt(const char* name, int defaultValue, int min, int max,
                             const char* label, const char* group) {
  if (mKind == ParamKindNone) mKind = ParamKindInt;
  DefineDouble(name, double(defaultValue), double(min), double(max), 1.0, label, group, 1.0);
}

void IParamRecord::SetShapeExponent(double shape) {
  if (shape != 0.0) mShape = shape;
}

void IParamRecord::AddDisplayText(int value, const char* text) {
  DisplayTextEntry entry{};
  entry.value = value;
  size_t length = text ? strnlen(text, sizeof(entry.text) - 1) : 0;
  if (length > 0) memcpy(entry.text, text, length);
  mDisplayTexts.push_back(entry);
}

double IParamRecord::NormalizedFromPlain(double plain) const {
  double clamped = plain < mMin ? mMin : (plain > mMax ? mMax : plain);
  return std::pow((clamped - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IParamRecord::PlainFromNormalized(double normalized) const {
  return std::pow(normalized, mShape) * (mMax - mMin) + mMin;
}

void IParamRecord::SetValueFromNormalized(double normalized) {
  if (std::isnan(normalized)) return;  // no place in the range: a host fault, ignored
  double v = PlainFromNormalized(normalized);
  if (mKind != ParamKindDouble) v = std::floor(v / mStep + 0.5) * mStep;
  mValue = v < mMax ? v : mMax;
}

void IParamRecord::SetValueClamped(double plain) {
  // A NaN from a damaged state would pass every comparison and poison the audio path.
  if (std::isnan(plain)) plain = mDefault;
  mValue = plain < mMin ? mMin : (plain > mMax ? mMax : plain);
}

const char* IParamRecord::FindDisplayText(int value) const {
  for (const DisplayTextEntry& entry : mDisplayTexts) {
    if (entry.value == value) return entry.text;
  }
  return "";
}

double IParamRecord::ValueForDisplayText(const char* text) const {
  if (!text) return 0.0;
  for (const DisplayTextEntry& entry : mDisplayTexts) {
    if (strcmp(entry.text, text) == 0) return entry.value;
  }
  return 0.0;
}

void IParamRecord::FormatForHost(double v, bool isNormalized, char* buffer, int bufferSize,
                                 bool useDisplayTexts) const {
  if (!buffer || bufferSize <= 0) return;
  if (isNormalized) v = PlainFromNormalized(v);
  if (useDisplayTexts && DisplayTextCount() > 0) {
    const char* text = FindDisplayText(TruncateToInt(v));
    if (text[0] != '\0') {
      snprintf(buffer, size_t(bufferSize), "%s", text);
      return;
    }
  }
  if (mNegateDisplay) v = -v;
  if (mDisplayPrecision > 0) {
    snprintf(buffer, size_t(bufferSize), "%.*f", mDisplayPrecision, v);
  } else {
    snprintf(buffer, size_t(bufferSize), "%d", TruncateToInt(v));
  }
}

const char* IParamRecord::UnitForHost() const {
  return FindDisplayText(TruncateToInt(mValue))[0] != '\0' ? "" : mLabel;
}
