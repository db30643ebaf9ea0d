#pragma once
// IPlugLV2UI: the adaptor of the plug-in object inside the LV2 UI. That object is a second
// Brask, of the UI's own, whose audio never runs: its parameter records mirror the plug-in's
// control ports and its editor is the panel the host embeds. It shares no memory with the
// plug-in instance, as LV2 requires; everything passes through ports.
//
// Moving a control writes the parameter's plain value to its port through the host's
// write_function, bracketed by the touch feature's grab and release when the host offers it;
// values the host reports for the ports move the controls as host automation does.

#include <lv2/ui/ui.h>

#include <cstdint>

#include "lv2/IPlugLV2Base.h"

// What the host gave the UI to talk back with.
struct Lv2UiHost {
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  const LV2UI_Touch* touch = nullptr;  ///< null when the host has no touch feature
};

class IPlugLV2UI : public IPlugLV2Base {
 public:
  using HostCallback = const Lv2UiHost*;  // outlives the plug-in object
  IPlugLV2UI(HostCallback host, const IPlugIdentity& identity);

  //---from LV2UI_Descriptor---
  // A value of parameter port index; other indices are ignored.
  void OnParamPortValue(uint32_t index, float value);

  //---from IPlugBase: toward the host, through ports---
  void BeginParamGesture(int paramIdx) override;
  void InformHostParamValue(int paramIdx, double normalized) override;
  void EndParamGesture(int paramIdx) override;

 private:
  void Touch(int paramIdx, bool grabbed);

  const Lv2UiHost* mHost;
};
