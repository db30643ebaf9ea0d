#pragma once
// Shared pieces of the editor tests: a recording core with two parameters, an editor over it,
// and a probe control that counts what the editor asks of it.

#include <memory>
#include <vector>

#include "TestAdaptor.h"
#include "gui/IBitmapStrip.h"
#include "gui/IControl.h"
#include "gui/IGraphicsPortable.h"

// A core that also records the host context-menu requests a VST 3 right click makes.
template <int Api>
class MenuRecordingCore : public TestAdaptorFor<Api> {
 public:
  struct MenuRequest {
    int paramIdx, x, y;
  };
  explicit MenuRecordingCore(const IPlugIdentity& identity)
      : TestAdaptorFor<Api>(nullptr, identity) {}
  void OpenHostParamMenu(int paramIdx, int x, int y) override {
    menuRequests.push_back({paramIdx, x, y});
  }
  std::vector<MenuRequest> menuRequests;
};

// "Gain" -10..10 dB (default 0) and "Drive" 0..100 (default 25), both linear.
inline IPlugIdentity TwoParamIdentity() {
  return {"Probe", "", "Maker", FourCharCode("Prb1"), FourCharCode("Mkr1"), 0x10000, 2, 1, "2-2"};
}

template <int Api>
void DefineTwoParams(MenuRecordingCore<Api>* core) {
  core->ParamAt(0)->DefineDouble("Gain", 0.0, -10.0, 10.0, 0.01, "dB", "", 1.0);
  core->ParamAt(1)->DefineDouble("Drive", 25.0, 0.0, 100.0, 0.01, "%", "", 1.0);
}

// Records draws and mouse events; draws nothing.
class ProbeControl : public IControl {
 public:
  ProbeControl(IPlugBase* plug, const IRectangle& rect, int paramIdx)
      : IControl(plug, rect, paramIdx, Over) {}
  bool Draw(IGraphics*) override {
    ++draws;
    lastDrawnValue = Value();
    return true;
  }
  void MouseDown(int x, int y, const IMouseState& mods) override {
    ++downs;
    lastX = x;
    lastY = y;
    IControl::MouseDown(x, y, mods);
  }
  void MouseUp(int, int, const IMouseState&) override { ++ups; }
  void MouseDrag(int, int, int dX, int dY, const IMouseState&) override {
    ++drags;
    lastDX = dX;
    lastDY = dY;
  }
  void MouseDoubleClick(int x, int y, const IMouseState& mods) override {
    ++doubleClicks;
    IControl::MouseDoubleClick(x, y, mods);
  }
  void MouseWheel(int, int, const IMouseState&, int clicks) override { wheelClicks += clicks; }
  bool KeyDown(int, int, int key) override {
    lastKey = key;
    return true;
  }

  int draws = 0, downs = 0, ups = 0, drags = 0, doubleClicks = 0, wheelClicks = 0;
  int lastX = -1, lastY = -1, lastDX = 0, lastDY = 0, lastKey = -1;
  double lastDrawnValue = -1.0;
};

// A strip record with the given frame size and count and no surface: enough for geometry and
// value handling, draws nothing.
inline IBitmapStrip GeometryStrip(int frameWidth, int frameHeight, int frames) {
  IBitmapStrip strip;
  strip.width = frameWidth;
  strip.height = frameHeight * frames;
  strip.frameCount = frames;
  return strip;
}

inline IMouseState LeftButton() {
  IMouseState mods;
  mods.left = true;
  return mods;
}
