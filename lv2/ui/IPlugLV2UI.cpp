#include "lv2/ui/IPlugLV2UI.h"

#include <mutex>

#include "gui/IGraphics.h"
#include "lv2/Lv2Layout.h"
#include "lv2/Lv2PortValue.h"

IPlugLV2UI::IPlugLV2UI(HostCallback host, const IPlugIdentity& identity)
    : IPlugBase(identity, kPluginApi), mHost(host) {}

void IPlugLV2UI::OnParamPortValue(uint32_t index, float value) {
  if (index >= kLv2ParamPortCount) return;
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  IParamRecord* record = ParamAt(int(index));
  double plain = 0.0;
  if (!record || !PlainFromPortValue(*record, value, &plain)) return;
  record->SetValueClamped(plain);
  if (Editor()) Editor()->ReflectParameter(int(index), record->Value(), false);
  OnParamChanged(int(index));
}

void IPlugLV2UI::BeginParamGesture(int paramIdx) { Touch(paramIdx, true); }

void IPlugLV2UI::EndParamGesture(int paramIdx) { Touch(paramIdx, false); }

// The record already holds the new value; ports carry it in plain units.
void IPlugLV2UI::InformHostParamValue(int paramIdx, double) {
  const IParamRecord* record = ParamAt(paramIdx);
  if (!record || !mHost || !mHost->write) return;
  const float value = float(record->Value());
  mHost->write(mHost->controller, uint32_t(paramIdx), sizeof value, 0, &value);
}

void IPlugLV2UI::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
}

void IPlugLV2UI::Touch(int paramIdx, bool grabbed) {
  if (!ParamAt(paramIdx) || !mHost || !mHost->touch || !mHost->touch->touch) return;
  mHost->touch->touch(mHost->touch->handle, uint32_t(paramIdx), grabbed);
}
