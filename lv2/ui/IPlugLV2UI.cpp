#include "lv2/ui/IPlugLV2UI.h"

#include "lv2/Lv2Layout.h"

IPlugLV2UI::IPlugLV2UI(HostCallback host, const IPlugIdentity& identity)
    : IPlugLV2Base(identity), mHost(host) {}

void IPlugLV2UI::OnParamPortValue(uint32_t index, float value) {
  if (index < kLv2ParamPortCount) ApplyPortValue(int(index), value);
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

void IPlugLV2UI::Touch(int paramIdx, bool grabbed) {
  if (!ParamAt(paramIdx) || !mHost || !mHost->touch || !mHost->touch->touch) return;
  mHost->touch->touch(mHost->touch->handle, uint32_t(paramIdx), grabbed);
}
