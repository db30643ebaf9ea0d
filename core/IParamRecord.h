#pragma once
// IParamRecord: one automatable value of the plug-in.
//
// A record keeps three views of the same value in step: the plain value in the parameter's own
// units (what the audio code reads), the normalized 0..1 value exchanged with hosts and editor
// controls (through the shape exponent), and the display text and unit shown to users. The core
// owns the records; the plug-in defines each one once in its constructor, after which only the
// value changes. The record has no lock of its own: writers hold the instance lock.

#include <cstdint>
#include <vector>

#include "ParamUnit.h"

enum ParamKind {
  ParamKindNone = 0,
  ParamKindBool = 1,
  ParamKindInt = 2,
  ParamKindEnum = 3,
  ParamKindDouble = 4,
};

constexpr int MaxDisplayPrecision = 6;

// A text that replaces the number for one integer value.
struct DisplayTextEntry {
  int32_t value;
  char text[32];
};

class IParamRecord {
 public:
  static constexpr int kTextSize = 32;  // name, label and group fields, terminator included

  // ---definition (plug-in constructor only)---
  void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                    const char* label, const char* group, double shape);
  void DefineInt(const char* name, int defaultValue, int min, int max, const char* label,
                 const char* group);
  void SetShapeExponent(double shape);  // 0 keeps the previous shape
  void AddDisplayText(int value, const char* text);
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  void SetUnit(const ParamUnit& unit) { mUnit = unit; }

  // ---mapping between plain and normalized values---
  double NormalizedFromPlain(double plain) const;
  double PlainFromNormalized(double normalized) const;
  double NormalizedValue() const { return NormalizedFromPlain(mValue); }

  // ---setting---
  void SetValueFromNormalized(double normalized);  // snapped unless double; NaN is ignored
  void SetValueClamped(double plain);              // NaN gives the default

  // ---display---
  int DisplayTextCount() const { return int(mDisplayTexts.size()); }
  const char* FindDisplayText(int value) const;        // "" when none
  double ValueForDisplayText(const char* text) const;  // 0 when none
  // Writes the display text of v into buffer, never more than bufferSize bytes with terminator.
  void FormatForHost(double v, bool isNormalized, char* buffer, int bufferSize,
                     bool useDisplayTexts) const;
  const char* UnitForHost() const;

  // ---accessors---
  ParamKind Kind() const { return mKind; }
  double Value() const { return mValue; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int DisplayPrecision() const { return mDisplayPrecision; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Group() const { return mGroup; }
  bool NegateDisplay() const { return mNegateDisplay; }
  bool CanAutomate() const { return mCanAutomate; }
  const ParamUnit& Unit() const { return mUnit; }

 private:
  ParamKind mKind = ParamKindNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  std::vector<DisplayTextEntry> mDisplayTexts;
  ParamUnit mUnit;  // how hosts with units show the value
};
