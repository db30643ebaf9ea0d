// The X11 editor window driven directly: the Brask panel over the test adaptor, embedded in a
// test top-level window, with synthetic input through XTEST and the screen read back.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "Brask.h"
#include "TestAdaptor.h"
#include "X11TestHost.h"
#include "core/IParamRecord.h"
#include "gui/IControl.h"
#include "gui/IGraphicsTypes.h"
#include "gui/LICE_IBitmap.h"
#include "gui/x11/IGraphicsX11.h"

namespace {

// Control indices of the panel, in the layout's order.
constexpr int kBackdrop = 0;
constexpr int kBypassSwitch = 1;
constexpr int kInputKnob = 3;

Window AsWindow(void* handle) { return Window(reinterpret_cast<uintptr_t>(handle)); }

// Centre of a control, in editor pixels.
void Centre(IControl* control, int* x, int* y) {
  const IRectangle& r = control->Rect();
  *x = (r.L + r.R) / 2;
  *y = (r.T + r.B) / 2;
}

class X11EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<X11TestHost>();
    ASSERT_TRUE(host->Ready()) << "no X display with XTEST: these tests need one";
    plug = std::make_unique<Brask>(nullptr);
    editor = dynamic_cast<IGraphicsX11*>(plug->Editor());
    ASSERT_NE(editor, nullptr);
  }

  void TearDown() override {
    plug.reset();  // closes the window before the host's window goes
    host.reset();
  }

  Window Open() {
    void* window = editor->OpenEditorWindow(host->ParentHandle());
    EXPECT_NE(window, nullptr);
    // The first paint: the server's expose and the first tick.
    PumpFor(Drive(), 3 * IGraphicsX11::TimerPeriodMs());
    return AsWindow(window);
  }

  std::function<void()> Drive() {
    return [this] {
      editor->ProcessEvents();
      editor->Tick();
    };
  }

  // Every pixel of the editor's window matches the draw surface (colour channels).
  ::testing::AssertionResult ScreenMatchesSurface(Window window) {
    LICE_IBitmap* surface = editor->DrawSurface();
    const int width = editor->Width(), height = editor->Height();
    const std::vector<uint32_t> screen = host->Grab(window, 0, 0, width, height);
    if (screen.size() != size_t(width) * size_t(height)) {
      return ::testing::AssertionFailure() << "screen read failed";
    }
    int mismatches = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t drawn = surface->GetPixels()[y * surface->GetStride() + x] & 0xffffffu;
        if (screen[size_t(y * width + x)] != drawn && mismatches++ == 0) {
          return ::testing::AssertionFailure()
                 << "pixel (" << x << ", " << y << ") screen " << std::hex
                 << screen[size_t(y * width + x)] << " surface " << drawn;
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  std::unique_ptr<X11TestHost> host;
  std::unique_ptr<Brask> plug;
  IGraphicsX11* editor = nullptr;
};

// ---windows without a display, and bad parents---

TEST(X11EditorWithoutDisplay, OpensNothingAndKeepsWorking) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  setenv("DISPLAY", ":none", 1);
  {
    Brask plug(nullptr);
    auto* editor = dynamic_cast<IGraphicsX11*>(plug.Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->OpenEditorWindow(reinterpret_cast<void*>(uintptr_t(0x1234))), nullptr);
    EXPECT_FALSE(editor->IsWindowOpen());
    EXPECT_EQ(editor->GetNativeWindow(), nullptr);
    EXPECT_EQ(editor->ConnectionFd(), -1);
    EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 0);
    editor->ProcessEvents();
    editor->Tick();
    editor->Idle();
    editor->HidePointer();
    editor->RestorePointer();
    EXPECT_FALSE(editor->PresentRegion(IRectangle{0, 0, 10, 10}));
    editor->CloseEditorWindow();
  }
  if (saved) {
    setenv("DISPLAY", display.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

TEST(X11EditorKeys, MapsTheKeysTheWindowsEditorMaps) {
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_space), KeySpace);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Up), KeyArrowUp);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Down), KeyArrowDown);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Left), KeyArrowLeft);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Right), KeyArrowRight);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_0), KeyDigit0);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_9), KeyDigit9);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_a), KeyA);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Z), KeyZ);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_m), KeyA + 12);
  // Keypad digits, function keys and punctuation are not the editor's.
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_KP_1), -1);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_F1), -1);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_comma), -1);
  EXPECT_EQ(IGraphicsX11::KeyCodeFromKeysym(XK_Return), -1);
}

TEST_F(X11EditorTest, NullOrMissingParentOpensNothing) {
  EXPECT_EQ(editor->OpenEditorWindow(nullptr), nullptr);
  // An id no window has: the server's error stays inside the editor.
  EXPECT_EQ(editor->OpenEditorWindow(reinterpret_cast<void*>(uintptr_t(0x7ffffff0))), nullptr);
  EXPECT_FALSE(editor->IsWindowOpen());
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 0);
  EXPECT_EQ(host->ErrorCount(), 0);
}

// ---opening, closing, reopening---

TEST_F(X11EditorTest, OpensAChildWindowOfTheHostsWindowAndClosesIt) {
  const Window window = Open();
  EXPECT_TRUE(editor->IsWindowOpen());
  EXPECT_EQ(AsWindow(editor->GetNativeWindow()), window);
  EXPECT_EQ(host->ParentOf(window), host->TopLevel());
  int x = -1, y = -1, width = 0, height = 0;
  host->Geometry(window, &x, &y, &width, &height);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(width, 796);
  EXPECT_EQ(height, 472);
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 1);
  EXPECT_GE(editor->ConnectionFd(), 0);
  EXPECT_EQ(IGraphicsX11::TimerPeriodMs(), 40);  // 25 frames per second

  editor->CloseEditorWindow();
  EXPECT_FALSE(editor->IsWindowOpen());
  EXPECT_EQ(editor->ConnectionFd(), -1);
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 0);
  EXPECT_FALSE(host->WindowExists(window));
  editor->CloseEditorWindow();  // a second close does nothing
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 0);
}

TEST_F(X11EditorTest, ReopeningWhileOpenKeepsPlaceAndSize) {
  const Window first = Open();
  XMoveResizeWindow(host->Dpy(), first, 12, 34, 700, 400);
  XSync(host->Dpy(), False);
  const Window second = AsWindow(editor->OpenEditorWindow(host->ParentHandle()));
  ASSERT_NE(second, 0u);
  EXPECT_EQ(host->ParentOf(second), host->TopLevel());
  int x = 0, y = 0, width = 0, height = 0;
  host->Geometry(second, &x, &y, &width, &height);
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 34);
  EXPECT_EQ(width, 700);
  EXPECT_EQ(height, 400);
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 1);
}

TEST_F(X11EditorTest, TwoEditorsCountTheirWindows) {
  Brask other(nullptr);
  Open();
  ASSERT_NE(other.Editor()->OpenEditorWindow(host->ParentHandle()), nullptr);
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 2);
  other.Editor()->CloseEditorWindow();
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 1);
  EXPECT_TRUE(editor->IsWindowOpen());
}

TEST_F(X11EditorTest, HostDestroyingItsWindowFirstIsSurvived) {
  const Window window = Open();
  XDestroyWindow(host->Dpy(), host->TopLevel());
  XSync(host->Dpy(), False);
  PumpFor(Drive(), 100);  // the editor learns its window is gone and paints nothing
  ASSERT_NE(plug->ParamAt(0), nullptr);
  plug->Editor()->ReflectParameter(0, 0.9, true);
  PumpFor(Drive(), 100);
  editor->CloseEditorWindow();
  EXPECT_FALSE(editor->IsWindowOpen());
  EXPECT_EQ(IGraphicsX11::OpenWindowCount(), 0);
  EXPECT_FALSE(host->WindowExists(window));
}

// ---painting---

TEST_F(X11EditorTest, ScreenShowsTheDrawSurfaceAfterOpeningAndAfterChanges) {
  const Window window = Open();
  EXPECT_TRUE(ScreenMatchesSurface(window));
  // Every control was painted on opening: nothing is left dirty.
  bool anyDirty = true;
  editor->CollectDirtyArea(&anyDirty);
  EXPECT_FALSE(anyDirty);

  // A host change to Input turns the knob on the next ticks.
  const std::vector<uint32_t> before = host->Grab(window, 0, 0, 796, 472);
  plug->Editor()->ReflectParameter(0, 0.8, true);
  PumpFor(Drive(), 3 * IGraphicsX11::TimerPeriodMs());
  EXPECT_NE(host->Grab(window, 0, 0, 796, 472), before);
  EXPECT_TRUE(ScreenMatchesSurface(window));
}

TEST_F(X11EditorTest, CoveredAndUncoveredAreasArePaintedAgain) {
  const Window window = Open();
  // A window of the host's over the editor, then gone: the server asks for a repaint.
  Display* d = host->Dpy();
  const Window cover = XCreateSimpleWindow(d, host->TopLevel(), 100, 100, 300, 200, 0, 0,
                                           WhitePixel(d, DefaultScreen(d)));
  XMapRaised(d, cover);
  XSync(d, False);
  XDestroyWindow(d, cover);
  XSync(d, False);
  PumpFor([this] { editor->ProcessEvents(); }, 100);
  EXPECT_TRUE(ScreenMatchesSurface(window));
}

TEST_F(X11EditorTest, IdleTicksAtTheFramePeriod) {
  const Window window = Open();
  plug->Editor()->ReflectParameter(1, 0.9, true);
  // Idle right after a tick only handles events; a period later it repaints.
  editor->Tick();  // the first of the two ticks a change takes
  editor->Idle();
  bool anyDirty = false;
  editor->CollectDirtyArea(&anyDirty);
  EXPECT_TRUE(anyDirty);
  PumpFor([this] { editor->Idle(); }, 3 * IGraphicsX11::TimerPeriodMs());
  editor->CollectDirtyArea(&anyDirty);
  EXPECT_FALSE(anyDirty);
  EXPECT_TRUE(ScreenMatchesSurface(window));
}

// ---pointer---

TEST_F(X11EditorTest, DraggingAKnobChangesItsParameterWithOneGesture) {
  const Window window = Open();
  IControl* knob = editor->GetControl(kInputKnob);
  int x = 0, y = 0;
  Centre(knob, &x, &y);
  const double before = knob->Value();
  const double height = knob->Rect().B - knob->Rect().T;
  host->MoveTo(window, x, y);
  host->Button(1, true);
  ASSERT_TRUE(PumpUntil(Drive(), [this] { return editor->CaptureIndex() == kInputKnob; }));
  host->MoveTo(window, x, y - 40);  // up turns the knob up, a quarter turn per height * 4
  const double expected = before + 40.0 / height / 4.0;
  EXPECT_TRUE(PumpUntil(Drive(), [&] { return std::abs(knob->Value() - expected) < 1e-9; }))
      << knob->Value() << " vs " << expected;
  host->Button(1, false);
  ASSERT_TRUE(PumpUntil(Drive(), [this] { return editor->CaptureIndex() == -1; }));

  const auto* adaptor = static_cast<RecordingAdaptor*>(plug.get());
  ASSERT_EQ(adaptor->CallsOf(AdaptorCall::BeginGesture).size(), 1u);
  ASSERT_EQ(adaptor->CallsOf(AdaptorCall::EndGesture).size(), 1u);
  EXPECT_EQ(adaptor->CallsOf(AdaptorCall::BeginGesture)[0].index, 0);
  const auto informed = adaptor->CallsOf(AdaptorCall::InformValue);
  ASSERT_FALSE(informed.empty());
  EXPECT_EQ(informed.back().index, 0);
  EXPECT_DOUBLE_EQ(informed.back().value, knob->Value());
  EXPECT_DOUBLE_EQ(plug->ParamAt(0)->NormalizedValue(),
                   plug->ParamAt(0)->NormalizedFromPlain(plug->ParamAt(0)->Value()));
  PumpFor(Drive(), 3 * IGraphicsX11::TimerPeriodMs());
  EXPECT_TRUE(ScreenMatchesSurface(window));
}

TEST_F(X11EditorTest, DragKeepsThePointerOutsideTheWindow) {
  const Window window = Open();
  IControl* knob = editor->GetControl(kInputKnob);
  int x = 0, y = 0;
  Centre(knob, &x, &y);
  const double before = knob->Value();
  host->MoveTo(window, x, y);
  host->Button(1, true);
  ASSERT_TRUE(PumpUntil(Drive(), [this] { return editor->CaptureIndex() == kInputKnob; }));
  // Right of the editor's window, outside the host's window too: the knob still follows.
  host->MoveTo(window, 1000, y - 60);
  EXPECT_TRUE(PumpUntil(Drive(), [&] { return knob->Value() > before; }));
  host->Button(1, false);
  ASSERT_TRUE(PumpUntil(Drive(), [this] { return editor->CaptureIndex() == -1; }));
  const auto* adaptor = static_cast<RecordingAdaptor*>(plug.get());
  EXPECT_EQ(adaptor->CallsOf(AdaptorCall::EndGesture).size(), 1u);
}

TEST_F(X11EditorTest, MovingWithoutAButtonChangesNothing) {
  const Window window = Open();
  IControl* knob = editor->GetControl(kInputKnob);
  int x = 0, y = 0;
  Centre(knob, &x, &y);
  const double before = knob->Value();
  host->MoveTo(window, x, y);
  host->MoveTo(window, x, y - 30);
  PumpFor(Drive(), 60);
  EXPECT_EQ(knob->Value(), before);
  EXPECT_EQ(editor->CaptureIndex(), -1);
}

TEST_F(X11EditorTest, WheelNotchesTurnTheKnobUnderThePointer) {
  const Window window = Open();
  IControl* knob = editor->GetControl(kInputKnob);
  int x = 0, y = 0;
  Centre(knob, &x, &y);
  const double before = knob->Value();
  host->MoveTo(window, x, y);
  for (int notch = 0; notch < 3; ++notch) {  // three notches away from the user
    host->Button(4, true);
    host->Button(4, false);
  }
  EXPECT_TRUE(PumpUntil(Drive(), [&] { return std::abs(knob->Value() - (before + 0.03)) < 1e-9; }))
      << knob->Value();
  host->Button(5, true);  // and one back
  host->Button(5, false);
  EXPECT_TRUE(PumpUntil(Drive(), [&] { return std::abs(knob->Value() - (before + 0.02)) < 1e-9; }))
      << knob->Value();
  EXPECT_EQ(editor->CaptureIndex(), -1);  // a notch is no press
}

TEST_F(X11EditorTest, ClickingThePowerSwitchTogglesBypass) {
  const Window window = Open();
  IControl* power = editor->GetControl(kBypassSwitch);
  int x = 0, y = 0;
  Centre(power, &x, &y);
  const double before = plug->ParamAt(6)->Value();
  host->MoveTo(window, x, y);
  host->Button(1, true);
  host->Button(1, false);
  EXPECT_TRUE(PumpUntil(Drive(), [&] { return plug->ParamAt(6)->Value() != before; }));
  PumpFor(Drive(), 3 * IGraphicsX11::TimerPeriodMs());
  EXPECT_TRUE(ScreenMatchesSurface(window));
}

TEST_F(X11EditorTest, SecondQuickPressIsADoubleClick) {
  const Window window = Open();
  // The backdrop takes double clicks as clicks; a press elsewhere starts nothing.
  editor->GetControl(kBackdrop)->SetDoubleClickAsClick(false);
  IControl* knob = editor->GetControl(kInputKnob);
  knob->SetDoubleClickAsClick(true);
  int x = 0, y = 0;
  Centre(knob, &x, &y);
  host->MoveTo(window, x, y);
  host->Button(1, true);
  host->Button(1, false);
  host->Button(1, true);
  ASSERT_TRUE(PumpUntil(Drive(), [this] { return editor->CaptureIndex() == kInputKnob; }));
  host->Button(1, false);
  PumpUntil(Drive(), [this] { return editor->CaptureIndex() == -1; });
  // The double click is a click without a gesture: one gesture, from the first press.
  const auto* adaptor = static_cast<RecordingAdaptor*>(plug.get());
  EXPECT_EQ(adaptor->CallsOf(AdaptorCall::BeginGesture).size(), 1u);
  EXPECT_EQ(adaptor->CallsOf(AdaptorCall::EndGesture).size(), 2u);
}

TEST_F(X11EditorTest, HiddenPointerComesBackWhereItWas) {
  const Window window = Open();
  host->MoveTo(window, 200, 100);
  int x0 = 0, y0 = 0;
  host->PointerOnRoot(&x0, &y0);
  editor->HidePointer();
  host->MoveTo(window, 400, 300);
  editor->RestorePointer();
  int x1 = 0, y1 = 0;
  XSync(host->Dpy(), False);
  host->PointerOnRoot(&x1, &y1);
  EXPECT_EQ(x1, x0);
  EXPECT_EQ(y1, y0);
}

// A core whose host closes the editor as soon as an edit gesture begins.
class ClosingHostCore : public TestAdaptorVst2 {
 public:
  ClosingHostCore()
      : TestAdaptorVst2(nullptr, IPlugIdentity{"Probe", "", "Maker", FourCharCode("Prb1"),
                                               FourCharCode("Mkr1"), 0x10000, 1, 1, "2-2"}) {
    ParamAt(0)->DefineDouble("Gain", 0.0, -10.0, 10.0, 0.01, "dB", "", 1.0);
  }
  void BeginParamGesture(int paramIdx) override {
    TestAdaptorVst2::BeginParamGesture(paramIdx);
    if (Editor()) Editor()->CloseEditorWindow();
  }
};

// A plain control covering the editor, bound to parameter 0.
class FlatControl : public IControl {
 public:
  FlatControl(IPlugBase* plug, const IRectangle& rect) : IControl(plug, rect, 0, Over) {}
  bool Draw(IGraphics*) override { return true; }
};

TEST_F(X11EditorTest, HostClosingTheEditorFromAGestureIsSurvived) {
  ClosingHostCore core;
  auto* closing = new IGraphicsX11(&core, 200, 100, 25);
  closing->AddControl(new FlatControl(&core, IRectangle{0, 0, 200, 100}));
  core.AttachEditor(closing);
  const Window window = AsWindow(closing->OpenEditorWindow(host->ParentHandle()));
  ASSERT_NE(window, 0u);
  PumpFor([&] { closing->Idle(); }, 100);
  host->MoveTo(window, 50, 50);
  host->Button(1, true);
  host->Key(XK_a, true);  // more events behind the press in the same batch
  host->Button(1, false);
  host->Key(XK_a, false);
  EXPECT_TRUE(PumpUntil([&] { closing->Idle(); }, [&] { return !closing->IsWindowOpen(); }));
  PumpFor([&] { closing->Idle(); }, 50);
  EXPECT_EQ(core.CallsOf(AdaptorCall::BeginGesture).size(), 1u);
  EXPECT_FALSE(host->WindowExists(window));
}

// ---keys---

TEST_F(X11EditorTest, KeysTheEditorDoesNotTakeReachTheHostsWindow) {
  const Window window = Open();
  host->MoveTo(window, 20, 20);  // over the backdrop: no control takes keys there
  host->Button(1, true);         // the press gives the editor the keyboard
  host->Button(1, false);
  PumpFor(Drive(), 50);
  host->TakeTopLevelKeys();
  host->Key(XK_a, true);
  host->Key(XK_a, false);
  PumpFor(Drive(), 50);
  const std::vector<XKeyEvent> keys = host->TakeTopLevelKeys();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].type, KeyPress);
  EXPECT_EQ(keys[1].type, KeyRelease);
  EXPECT_TRUE(keys[0].send_event);
  EXPECT_EQ(keys[0].keycode, XKeysymToKeycode(host->Dpy(), XK_a));
}

// ---size---

TEST_F(X11EditorTest, ResizeTakesTheHostsWindowAlongUnderVst2Only) {
  // The panel runs over the VST 3 flavour of the test adaptor: the host resizes its own window.
  const Window window = Open();
  int x = 0, y = 0, width = 0, height = 0;
  editor->Resize(700, 400);
  host->Geometry(window, &x, &y, &width, &height);
  EXPECT_EQ(width, 700);
  EXPECT_EQ(height, 400);
  host->Geometry(host->TopLevel(), &x, &y, &width, &height);
  EXPECT_EQ(width, 900);
  EXPECT_EQ(height, 600);

  // Under VST 2 the host's window grows and shrinks by the same amount.
  TestAdaptorVst2 vst2Core(nullptr, IPlugIdentity{"Probe", "", "Maker", FourCharCode("Prb1"),
                                                  FourCharCode("Mkr1"), 0x10000, 0, 1, "2-2"});
  IGraphicsX11 vst2Editor(&vst2Core, 300, 200, 25);
  vst2Editor.CreateDrawSurfaces();
  const Window small = AsWindow(vst2Editor.OpenEditorWindow(host->ParentHandle()));
  ASSERT_NE(small, 0u);
  vst2Editor.Resize(350, 180);
  host->Geometry(small, &x, &y, &width, &height);
  EXPECT_EQ(width, 350);
  EXPECT_EQ(height, 180);
  host->Geometry(host->TopLevel(), &x, &y, &width, &height);
  EXPECT_EQ(width, 950);
  EXPECT_EQ(height, 580);
  vst2Editor.Resize(350, 180);  // the same size again changes nothing
  host->Geometry(host->TopLevel(), &x, &y, &width, &height);
  EXPECT_EQ(width, 950);
}

}  // namespace
