// The editor of the built VST 2 module, opened with effEditOpen inside a host window and
// worked with real window messages.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "WinTestHost.h"
#include "gui/WindowScale.h"
#include "vst2/AEffect.h"
#include "vst2/VstRecords.h"

namespace {

struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  float opt;
};

std::vector<HostCall> gHostCalls;

VstIntPtr RecordingCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                            float opt) {
  gHostCalls.push_back(HostCall{effect, opcode, index, opt});
  return 0;
}

HMODULE Vst2Module() {
  static HMODULE module = LoadLibraryA(BRASK_VST2_MODULE_PATH);
  return module;
}

bool WindowClassRegistered() {
  WNDCLASSA info = {};
  return GetClassInfoA(Vst2Module(), "IPlugWndClass", &info) != 0;
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr uint32_t kMagentaPixel = 0xff00ff;

class Vst2Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Vst2Module(), nullptr);
    auto entry = ModuleExport<VstPluginMainProc>(Vst2Module(), "VSTPluginMain");
    ASSERT_NE(entry, nullptr);
    effect = entry(&RecordingCallback);
    ASSERT_NE(effect, nullptr);
    Dispatch(effOpen);
    gHostCalls.clear();
  }

  void TearDown() override {
    if (!effect) return;
    Dispatch(effEditClose);
    Dispatch(effClose);
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }

  HWND Open(HostWindow& host) {
    EXPECT_EQ(Dispatch(effEditOpen, 0, 0, host.Handle()), 1);
    PumpMessages(150);
    return host.EditorWindow();
  }

  std::vector<HostCall> CallsFor(int paramIdx) const {
    std::vector<HostCall> calls;
    for (const HostCall& call : gHostCalls) {
      if (call.effect == effect && call.index == paramIdx &&
          (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
           call.opcode == audioMasterEndEdit)) {
        calls.push_back(call);
      }
    }
    return calls;
  }

  void Drag(HWND editor, int x, int y, int dy) {
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
    SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, y + dy));
    SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(x, y + dy));
  }

  AEffect* effect = nullptr;
  OffscreenPanel panel;
};

TEST_F(Vst2Editor, OpensAChildWindowThatShowsThePanelAsRenderedOffScreen) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(GetParent(editor), host.Handle());
  RECT r = {};
  GetClientRect(editor, &r);
  EXPECT_EQ(r.right, 796);
  EXPECT_EQ(r.bottom, 472);

  const PixelImage expected = panel.Render();
  const PixelImage shown = ReadWindowPixels(editor);
  ASSERT_EQ(shown.width, expected.width);
  ASSERT_EQ(shown.height, expected.height);
  int differing = 0;
  for (size_t i = 0; i < shown.pixels.size(); ++i)
    differing += shown.pixels[i] != expected.pixels[i];
  EXPECT_EQ(differing, 0);
}

TEST_F(Vst2Editor, NothingRepaintsUntilAValueChangesThenOnlyThatControl) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle all{0, 0, 796, 472};
  FillWindowRect(editor, all, kMagenta);
  PumpMessages(200);  // five ticks
  const int area = 796 * 472;
  EXPECT_EQ(CountColour(ReadWindowPixels(editor), all, kMagentaPixel), area);

  // Host automation: the knob shows the new value on the next tick, nothing else repaints.
  effect->setParameter(effect, 0, 0.9f);
  PumpMessages(120);
  const PixelImage after = ReadWindowPixels(editor);
  const IRectangle knob = panel.ControlRect(kInputKnob);
  EXPECT_EQ(CountColour(after, knob, kMagentaPixel), 0);
  EXPECT_EQ(CountColour(after, all, kMagentaPixel), area - knob.W() * knob.H());
}

TEST_F(Vst2Editor, CloseAndReopenRepaintsEverything) {
  HostWindow host;
  ASSERT_NE(Open(host), nullptr);
  EXPECT_EQ(Dispatch(effEditClose), 1);
  PumpMessages(20);
  EXPECT_EQ(host.EditorWindow(), nullptr);
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const PixelImage expected = panel.Render();
  const PixelImage shown = ReadWindowPixels(editor);
  ASSERT_EQ(shown.pixels.size(), expected.pixels.size());
  EXPECT_TRUE(shown.pixels == expected.pixels);
}

TEST_F(Vst2Editor, KnobDragTellsTheHostBeginAutomateEndInOrder) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const float before = effect->getParameter(effect, 2);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  Drag(editor, CenterX(knob), CenterY(knob), -20);
  const float after = effect->getParameter(effect, 2);
  EXPECT_GT(after, before);

  const std::vector<HostCall> calls = CallsFor(2);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[1].opcode, audioMasterAutomate);
  EXPECT_FLOAT_EQ(calls[1].opt, after);
  EXPECT_EQ(calls.back().opcode, audioMasterEndEdit);
  EXPECT_EQ(GetCapture(), nullptr);  // released with the button
}

TEST_F(Vst2Editor, DragWithoutCaptureIsIgnored) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  const float before = effect->getParameter(effect, 2);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  SetCapture(host.Handle());  // another window takes the pointer
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, PointParam(CenterX(knob), CenterY(knob) - 30));
  EXPECT_EQ(effect->getParameter(effect, 2), before);
  ReleaseCapture();
  SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(CenterX(knob), CenterY(knob)));
}

TEST_F(Vst2Editor, DoubleClickRestoresTheDefault) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  const float original = effect->getParameter(effect, 2);
  Drag(editor, CenterX(knob), CenterY(knob), -25);
  ASSERT_NE(effect->getParameter(effect, 2), original);
  SendMessageA(editor, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(CenterX(knob), CenterY(knob)));
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 2), original);
}

TEST_F(Vst2Editor, WheelUsesScreenCoordinatesAndWholeNotches) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  POINT onKnob = {CenterX(knob), CenterY(knob)};
  ClientToScreen(editor, &onKnob);
  const float before = effect->getParameter(effect, 2);
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), PointParam(onKnob.x, onKnob.y));
  EXPECT_EQ(effect->getParameter(effect, 2), before);
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), PointParam(onKnob.x, onKnob.y));
  EXPECT_NEAR(effect->getParameter(effect, 2), before + 0.01f, 1e-5);
  // A turn over no control changes nothing.
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), PointParam(0, 0));
  EXPECT_NEAR(effect->getParameter(effect, 2), before + 0.01f, 1e-5);
}

TEST_F(Vst2Editor, RightPressReachesTheKnobAndOpensNoHostMenu) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  SendMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  SendMessageA(editor, WM_RBUTTONUP, 0, PointParam(CenterX(knob), CenterY(knob)));
  const std::vector<HostCall> calls = CallsFor(2);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(calls[1].opcode, audioMasterEndEdit);
  // Prompts are off: no entry window, no pop-up menu.
  EXPECT_EQ(FindWindowExA(editor, nullptr, "EDIT", nullptr), nullptr);
}

TEST_F(Vst2Editor, PowerSwitchClickBypassesTheOutput) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effSetBlockSize, 0, 64);
  Dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(64), right(64), outLeft(64), outRight(64);
  for (int i = 0; i < 64; ++i) {
    left[size_t(i)] = 0.8f * float((i % 16) - 8) / 8.0f;
    right[size_t(i)] = -left[size_t(i)];
  }
  std::vector<float> silence(64, 0.0f);
  std::vector<float*> inputs(size_t(effect->numInputs), silence.data());
  ASSERT_GE(inputs.size(), 2u);
  inputs[0] = left.data();
  inputs[1] = right.data();
  std::vector<float*> outputs(size_t(effect->numOutputs), silence.data());
  ASSERT_EQ(outputs.size(), 2u);
  outputs[0] = outLeft.data();
  outputs[1] = outRight.data();
  effect->processReplacing(effect, inputs.data(), outputs.data(), 64);
  EXPECT_NE(outLeft, left);  // the compressor is working

  const IRectangle power = panel.ControlRect(kBypassSwitch);
  const float before = effect->getParameter(effect, 6);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CenterX(power), CenterY(power)));
  SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(CenterX(power), CenterY(power)));
  EXPECT_NE(effect->getParameter(effect, 6), before);
  effect->processReplacing(effect, inputs.data(), outputs.data(), 64);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
}

TEST_F(Vst2Editor, UnhandledKeysGoToTheHostsTopLevelWindow) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  SendMessageA(editor, WM_KEYDOWN, 'A', 0);
  SendMessageA(editor, WM_KEYDOWN, '7', 0);
  SendMessageA(editor, WM_KEYDOWN, VK_F5, 0);
  SendMessageA(editor, WM_KEYUP, VK_F5, 0);
  ASSERT_EQ(host.keys.size(), 4u);
  EXPECT_EQ(host.keys[0], WPARAM('A'));
  EXPECT_EQ(host.keys[1], WPARAM('7'));
  EXPECT_EQ(host.keys[2], WPARAM(VK_F5));
  EXPECT_EQ(host.keyMessages[3], UINT(WM_KEYUP));
}

TEST_F(Vst2Editor, TwoEditorsShareTheWindowClassUntilTheLastCloses) {
  auto entry = ModuleExport<VstPluginMainProc>(Vst2Module(), "VSTPluginMain");
  AEffect* second = entry(&RecordingCallback);
  ASSERT_NE(second, nullptr);
  HostWindow hostA;
  HostWindow hostB;
  ASSERT_NE(Open(hostA), nullptr);
  EXPECT_EQ(second->dispatcher(second, effEditOpen, 0, 0, hostB.Handle(), 0.0f), 1);
  PumpMessages(50);
  EXPECT_NE(hostB.EditorWindow(), nullptr);
  EXPECT_TRUE(WindowClassRegistered());
  Dispatch(effEditClose);
  EXPECT_TRUE(WindowClassRegistered());
  second->dispatcher(second, effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_FALSE(WindowClassRegistered());
  second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(Vst2Editor, CloseMessageClosesTheEditorAndReleasesTheClass) {
  HostWindow host;
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  SendMessageA(editor, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_FALSE(WindowClassRegistered());
  ASSERT_NE(Open(host), nullptr);  // and opens again afterwards
}

// Without a host factor, the VST 2 editor takes the system's pixel density, for the size it
// reports before opening and for the window (scripts/test also runs this at 144 dpi).
TEST_F(Vst2Editor, EditorRectAndWindowFollowTheSystemDpi) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (const char* expected = std::getenv("BRASK_EXPECT_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected));
  }
  const double scale = WindowScaleForDpi(dpi);
  const int width = WindowCoordinate(796, scale), height = WindowCoordinate(472, scale);
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, width);
  EXPECT_EQ(rect->bottom - rect->top, height);
  HostWindow host(1700, 1000);
  HWND editor = Open(host);
  ASSERT_NE(editor, nullptr);
  RECT client = {};
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  OffscreenPanel panel;
  const PixelImage shown = ReadWindowPixels(editor);
  EXPECT_TRUE(shown.pixels == panel.Render(scale).pixels);
}

}  // namespace
