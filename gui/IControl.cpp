#include "gui/IControl.h"

#include <algorithm>
#include <cmath>

#include "core/IPlugBase.h"
#include "gui/IGraphics.h"

// The audio thread writes the meter's value and flags once per sample: they must never lock.
static_assert(std::atomic<double>::is_always_lock_free, "control values must be lock-free");
static_assert(std::atomic<uint8_t>::is_always_lock_free, "redraw flags must be lock-free");

namespace {

// Doubles "differ" when they compare unequal, so a NaN always counts as a change.
bool Differ(double a, double b) { return !(a == b); }

}  // namespace

IControl::IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int blendMethod)
    : mPlug(plug), mRect(rect), mTargetRect(rect), mParamIdx(paramIdx) {
  mBlend.method = blendMethod;
  mBlend.weight = 1.0f;
}

IControl::~IControl() = default;

void IControl::MouseDown(int, int, const IMouseState& mods) {
  if (mods.right) PromptForValue();
}

void IControl::MouseUp(int, int, const IMouseState&) {}

void IControl::MouseDrag(int, int, int, int, const IMouseState&) {}

void IControl::MouseDoubleClick(int, int, const IMouseState&) {
  const double defaultValue = DefaultValue();
  if (defaultValue < 0.0) return;
  StoreValue(defaultValue);
  MarkDirty(true);
}

void IControl::MouseWheel(int, int, const IMouseState&, int) {}

bool IControl::KeyDown(int, int, int) { return false; }

void IControl::MouseOver(int, int, const IMouseState&) {}

void IControl::MouseOut() {}

void IControl::SetValueFromCore(double value) {
  // The first value ever shown becomes the one a double click restores; the control is still
  // dirty from construction, so nothing else is needed.
  if (DefaultValue() < 0.0) {
    StoreValue(value);
    SetDefaultValue(value);
    return;
  }
  if (!Differ(value, Value())) return;
  StoreValue(value);
  MarkDirty(false);
  RequestRedraw();
}

void IControl::SetValueFromUser(double value) {
  if (!Differ(value, Value())) return;
  StoreValue(value);
  MarkDirty(true);
  RequestRedraw();
}

void IControl::SetTextFromEntry(const char*) {}

void IControl::SetHidden(bool hidden) {
  mHidden = hidden;
  RequestRedraw();
  MarkDirty(false);
}

void IControl::SetGreyed(bool greyed) {
  mGreyed = greyed;
  mBlend.weight = greyed ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int x, int y) {
  if (mTargetRect.Empty()) return false;
  return mTargetRect.L <= x && x < mTargetRect.R && mTargetRect.T <= y && y < mTargetRect.B;
}

void IControl::MarkDirty(bool pushToCore) {
  const double value = Value();
  StoreValue(mClampLow > value ? mClampLow : std::min(mClampHigh, value));
  RaiseFlags(kFlagDirty);
  if (pushToCore && mPlug && mParamIdx >= 0) mPlug->SetParamFromEditor(mParamIdx, Value());
}

void IControl::MarkClean() {
  // dirty = redraw requested; redraw requested = false. Done as one exchange so that a change
  // arriving from another thread meanwhile keeps both of its paints.
  uint8_t flags = mFlags.load();
  while (!mFlags.compare_exchange_weak(flags, (flags & kFlagRedraw) ? kFlagDirty : 0)) {
  }
}

bool IControl::NeedsRedraw() { return (mFlags.load() & kFlagDirty) != 0; }

void IControl::SetAuxValueFromCore(int auxIdx, double value) {
  if (auxIdx < 0 || auxIdx >= AuxParamCount()) return;
  AuxParam& entry = mAuxParams[size_t(auxIdx)];
  if (!Differ(entry.value, value)) return;
  entry.value = value;
  MarkDirty(false);
  RequestRedraw();
}

void IControl::PromptForValue() {
  if (mParamIdx < 0 || mPromptDisabled || !mPlug || !mPlug->Editor()) return;
  IRectangle area = mRect;
  IParamRecord* param = mPlug->ParamAt(mParamIdx);
  if (param && param->DisplayTextCount() == 0) {
    const int cx = int(float(mRect.L + mRect.R) * 0.5f);
    const int cy = int(float(mRect.T + mRect.B) * 0.5f);
    area = IRectangle{cx - 20, cy - 8, cx + 20, cy + 8};
  }
  mPlug->Editor()->PromptForParameter(this, mParamIdx, area);
  RequestRedraw();
}

void IControl::SetClamp(double low, double high) {
  mClampLow = low;
  mClampHigh = high;
}

int IControl::AuxIndexOfParam(int paramIdx) const {
  for (size_t i = 0; i < mAuxParams.size(); ++i) {
    if (mAuxParams[i].paramIdx == paramIdx) return int(i);
  }
  return -1;
}

const IControl::AuxParam* IControl::AuxParamAt(int auxIdx) const {
  if (auxIdx < 0 || auxIdx >= AuxParamCount()) return nullptr;
  return &mAuxParams[size_t(auxIdx)];
}
