// The LV2 UI binary's entry point: an X11 UI that embeds the panel in the window the host
// passes as ui:parent and is driven by the host's idle calls, one tick per editor period.

#include <lv2/ui/ui.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Brask.h"
#include "gui/IControl.h"
#include "gui/x11/IGraphicsX11.h"
#include "lv2/Lv2Layout.h"

namespace {

// One UI: the host's callbacks and the UI's own plug-in object, which refers to them.
struct BraskUi {
  Lv2UiHost host;
  std::unique_ptr<Brask> plug;

  IGraphicsX11* Editor() { return static_cast<IGraphicsX11*>(plug->Editor()); }
};

const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (int i = 0; features && features[i]; ++i) {
    if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0) return features[i]->data;
  }
  return nullptr;
}

// The panel in the host's window, or null when that cannot be (no parent, no X server).
BraskUi* OpenUi(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                const LV2_Feature* const* features) {
  void* parent = const_cast<void*>(FindFeature(features, LV2_UI__parent));
  if (!parent || !widget) return nullptr;
  auto ui = std::make_unique<BraskUi>();
  ui->host.write = write;
  ui->host.controller = controller;
  ui->host.touch = static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch));
  ui->plug = std::make_unique<Brask>(&ui->host);
  if (!ui->plug->Editor()) return nullptr;
  void* window = ui->Editor()->OpenEditorWindow(parent);
  if (!window) return nullptr;
  *widget = window;
  auto* resize = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize));
  if (resize && resize->ui_resize) {
    resize->ui_resize(resize->handle, ui->Editor()->Width(), ui->Editor()->Height());
  }
  return ui.release();
}

//---LV2UI_Descriptor---

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char*, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  // Nothing may be thrown into a C host.
  try {
    return OpenUi(write, controller, widget, features);
  } catch (...) {
    return nullptr;
  }
}

void Cleanup(LV2UI_Handle handle) {
  BraskUi* ui = static_cast<BraskUi*>(handle);
  if (!ui) return;
  ui->Editor()->CloseEditorWindow();
  delete ui;
}

// Only float values of control ports; the meter's moves the needle as the audio path would.
void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  BraskUi* ui = static_cast<BraskUi*>(handle);
  if (!ui || format != 0 || size != sizeof(float) || !buffer) return;
  float value = 0.0f;
  std::memcpy(&value, buffer, sizeof value);
  if (port < kLv2ParamPortCount) {
    ui->plug->OnParamPortValue(port, value);
  } else if (port == kLv2GainReductionPort && std::isfinite(value)) {
    IControl* meter = ui->Editor()->GetControl(ui->plug->MeterControlIndex());
    if (meter) meter->SetValueFromCore(double(value));
  }
}

// Non-zero once the window is gone: the UI has nothing left to show.
int Idle(LV2UI_Handle handle) {
  BraskUi* ui = static_cast<BraskUi*>(handle);
  if (!ui) return 1;
  ui->Editor()->Idle();
  return ui->Editor()->IsWindowOpen() ? 0 : 1;
}

const LV2UI_Idle_Interface kIdleInterface = {Idle};

const void* ExtensionData(const char* uri) {
  if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor = {kBraskLv2UiUri, Instantiate, Cleanup, PortEvent,
                                      ExtensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
