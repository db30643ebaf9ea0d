#include "BraskEditorLayout.h"

#include "BraskIdentity.h"
#include "core/IPlugBase.h"
#include "gui/IBitmapControl.h"
#include "gui/IKnobMultiControl.h"
#include "gui/ISwitchControl.h"
#include "gui/PlatformGraphics.h"

namespace {

enum class PanelKind { Backdrop, Switch, Knob, Meter };

// One control of the panel, in creation order (which is also drawing order).
struct PanelControl {
  PanelKind kind;
  int resourceId;
  const char* name;
  int frames;
  int x;
  int y;
  int paramIdx;
};

constexpr int kNoParam = -1;

constexpr PanelControl kPanel[] = {
    {PanelKind::Backdrop, 103, "resources/img/bg.png", 1, 0, 0, kNoParam},
    {PanelKind::Switch, 107, "resources/img/by.png", 2, 321, 345, 6},   // "Bypass"
    {PanelKind::Switch, 110, "resources/img/SC.png", 2, 431, 345, 7},   // "Sidechain"
    {PanelKind::Knob, 101, "resources/img/Thr.png", 121, 145, 311, 0},  // "Input"
    {PanelKind::Knob, 106, "resources/img/Out.png", 121, 528, 311, 1},  // "Output"
    {PanelKind::Knob, 102, "resources/img/Atk.png", 61, 119, 140, 2},   // "Attack"
    {PanelKind::Knob, 104, "resources/img/Rel.png", 61, 120, 191, 3},   // "Release"
    {PanelKind::Knob, 108, "resources/img/Mix.png", 61, 655, 140, 4},   // "Mix"
    {PanelKind::Knob, 109, "resources/img/Hpf.png", 61, 655, 191, 5},   // "HPF"
    {PanelKind::Meter, 105, "resources/img/vu.png", 101, 316, 68, kNoParam},
};

constexpr double kKnobGearing = 4.0;

// Adds one control; answers its index in the control list.
int AddPanelControl(IGraphics* editor, IPlugBase* plug, const PanelControl& c) {
  // Loaded right before the control that uses it. A picture that fails to load leaves a
  // 0 x 0 strip: the control then covers no pixels, draws nothing and is never hit.
  const IBitmapStrip strip = editor->LoadBitmapStrip(c.resourceId, c.name, c.frames);
  switch (c.kind) {
    case PanelKind::Backdrop:
      editor->AddBackdrop(new IBitmapControl(plug, c.x, c.y, c.paramIdx, strip, Replace));
      return 0;
    case PanelKind::Switch:
      return editor->AddControl(new ISwitchControl(plug, c.x, c.y, c.paramIdx, strip));
    case PanelKind::Knob:
      return editor->AddControl(new IKnobMultiControl(plug, c.x, c.y, c.paramIdx, strip,
                                                      IKnobControl::kVertical, kKnobGearing));
    case PanelKind::Meter:
      return editor->AddControl(new IBitmapControl(plug, c.x, c.y, c.paramIdx, strip, Over));
  }
  return -1;
}

}  // namespace

int BuildBraskEditor(IPlugBase* plug) {
  if (!plug) return -1;
  IGraphics* editor =
      new IGraphicsPlatform(plug, kBraskEditorWidth, kBraskEditorHeight, kBraskEditorFrameRate);
  int meterControlIndex = -1;
  for (const PanelControl& control : kPanel) {
    const int idx = AddPanelControl(editor, plug, control);
    if (control.kind == PanelKind::Meter) meterControlIndex = idx;
  }
  plug->AttachEditor(editor);
  return meterControlIndex;
}
