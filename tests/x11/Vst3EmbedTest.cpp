// The editor of the built VST 3 module, embedded as a Linux VST 3 host embeds it: the view
// attached to the host's X window as "X11EmbedWindowID", with a plug-in frame that offers
// the host's run loop (IRunLoop), which the test runs: it calls the event handler when the
// registered descriptor is readable and the timer handler at its interval.

// GoogleTest before Xlib, whose None macro clashes with a GoogleTest name.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../vst3/HostObjects.h"
#include "../vst3/Vst3Plugin.h"
#include "ReferencePanel.h"
#include "RunLoopFrame.h"
#include "X11TestHost.h"
#include "gui/WindowScale.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

using namespace Steinberg;

namespace {

// Records what the editor tells the host, in order.
class EditRecorder : public HostObject<Vst::IComponentHandler> {
 public:
  struct Edit {
    char kind;  // 'b'egin, 'p'erform, 'e'nd
    Vst::ParamID id;
    double value;
  };
  tresult PLUGIN_API beginEdit(Vst::ParamID id) override {
    edits.push_back({'b', id, 0.0});
    return kResultOk;
  }
  tresult PLUGIN_API performEdit(Vst::ParamID id, Vst::ParamValue value) override {
    edits.push_back({'p', id, value});
    return kResultOk;
  }
  tresult PLUGIN_API endEdit(Vst::ParamID id) override {
    edits.push_back({'e', id, 0.0});
    return kResultOk;
  }
  tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
  int Count(char kind) const {
    int n = 0;
    for (const Edit& edit : edits) n += edit.kind == kind;
    return n;
  }
  std::vector<Edit> edits;
};

class Vst3Embed : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<X11TestHost>();
    ASSERT_TRUE(host->Ready()) << "no X display with XTEST: these tests need one";
    plug = std::make_unique<Vst3Plugin>();
    ASSERT_TRUE(plug->Valid());
    plug->Prepare(44100.0, 64, Vst::kSample32);
    plug->controller->setComponentHandler(&recorder);
    view = plug->controller->createView("editor");
    ASSERT_NE(view, nullptr);
  }

  void TearDown() override {
    if (view) {
      if (attached) view->removed();
      view->setFrame(nullptr);
      view->release();
    }
    if (plug) plug->controller->setComponentHandler(nullptr);
    plug.reset();
    host.reset();
  }

  // Attaches the view to the host's window; answers the editor's window.
  Window Attach(RunLoopFrame* withFrame) {
    view->setFrame(withFrame);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(view->attached(host->ParentHandle(), kPlatformTypeX11EmbedWindowID), kResultOk);
    attached = true;
    Window* children = nullptr;
    Window root = 0, parent = 0, editor = 0;
    unsigned count = 0;
    XQueryTree(host->Dpy(), host->TopLevel(), &root, &parent, &children, &count);
    if (count == 1) editor = children[0];
    if (children) XFree(children);
    EXPECT_EQ(count, 1u);
    return editor;
  }

  std::function<void()> Loop() {
    return [this] { frame.RunOnce(); };
  }

  // Runs the loop until the host's "Attack" value is the expected one.
  ::testing::AssertionResult AttackReaches(double expected) {
    auto attack = [this] { return plug->controller->getParamNormalized(kParamAttack); };
    if (PumpUntil(Loop(), [&] { return std::fabs(attack() - expected) < 1e-9; })) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << attack() << " vs " << expected;
  }

  std::vector<double> HostValues() {
    std::vector<double> values;
    for (int p = 0; p < kPanelParamCount; ++p) {
      values.push_back(plug->controller->getParamNormalized(Vst::ParamID(p)));
    }
    return values;
  }

  // Runs the loop until the editor's window shows what the off-screen panel shows for the
  // parameters' current values, leaving out the area ignored (the meter, which the audio moves).
  ::testing::AssertionResult ScreenShowsPanel(Window window, const IRectangle& ignored = {}) {
    const std::vector<uint32_t> expected = reference.Render(HostValues());
    int differences = -1;
    PumpUntil(Loop(), [&] {
      differences =
          PixelDifferences(host->Grab(window, 0, 0, reference.Width(), reference.Height()),
                           expected, reference.Width(), ignored);
      return differences == 0;
    });
    if (differences == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels differ";
  }

  std::unique_ptr<X11TestHost> host;
  std::unique_ptr<Vst3Plugin> plug;
  EditRecorder recorder;
  RunLoopFrame frame{true};
  IPlugView* view = nullptr;
  bool attached = false;
  ReferencePanel reference;
};

TEST_F(Vst3Embed, RegistersWithTheHostsRunLoopWhileAttached) {
  const Window window = Attach(&frame);
  ASSERT_NE(window, 0u);
  ASSERT_EQ(frame.events.size(), 1u);
  ASSERT_EQ(frame.timers.size(), 1u);
  EXPECT_GE(frame.events[0].fd, 0);
  EXPECT_EQ(frame.timers[0].ms, 40u);  // 25 frames per second
  EXPECT_TRUE(ScreenShowsPanel(window));

  EXPECT_EQ(view->removed(), kResultOk);
  attached = false;
  EXPECT_TRUE(frame.events.empty());
  EXPECT_TRUE(frame.timers.empty());
  EXPECT_FALSE(host->WindowExists(window));
  EXPECT_EQ(frame.references, 0) << "the run loop's references are given back";

  // Attached again: registered again, painted again.
  const Window again = Attach(&frame);
  EXPECT_EQ(frame.events.size(), 1u);
  EXPECT_EQ(frame.timers.size(), 1u);
  EXPECT_TRUE(ScreenShowsPanel(again));
}

TEST_F(Vst3Embed, OtherPlatformTypesOpenNoWindow) {
  EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowIDs"), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported("NSView"), kResultFalse);
  view->setFrame(&frame);
  EXPECT_EQ(view->attached(host->ParentHandle(), "NSView"), kResultOk);
  attached = true;
  EXPECT_TRUE(frame.events.empty());
  EXPECT_TRUE(frame.timers.empty());
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  XQueryTree(host->Dpy(), host->TopLevel(), &root, &parent, &children, &count);
  if (children) XFree(children);
  EXPECT_EQ(count, 0u);
}

TEST_F(Vst3Embed, HostWithoutRunLoopStillGetsTheWindow) {
  RunLoopFrame plainFrame(false);
  const Window window = Attach(&plainFrame);
  EXPECT_NE(window, 0u);
  EXPECT_TRUE(plainFrame.events.empty());
  EXPECT_EQ(view->removed(), kResultOk);
  attached = false;
  EXPECT_FALSE(host->WindowExists(window));
  view->setFrame(nullptr);
}

TEST_F(Vst3Embed, DraggingAKnobTellsTheHostInOneGesture) {
  const Window window = Attach(&frame);
  ASSERT_TRUE(ScreenShowsPanel(window));
  int x = 0, y = 0;
  reference.ControlCentre(kPanelAttackKnob, &x, &y);
  const IRectangle knob = reference.ControlRect(kPanelAttackKnob);
  const double before = plug->controller->getParamNormalized(kParamAttack);
  host->MoveTo(window, x, y);
  host->Button(1, true);
  host->MoveTo(window, x, y - 20);
  const double expected = before + 20.0 / double(knob.B - knob.T) / 4.0;
  EXPECT_TRUE(AttackReaches(expected));
  host->Button(1, false);
  EXPECT_TRUE(PumpUntil(Loop(), [&] { return recorder.Count('e') == 1; }));

  ASSERT_GE(recorder.edits.size(), 3u);
  EXPECT_EQ(recorder.edits.front().kind, 'b');
  EXPECT_EQ(recorder.edits.front().id, Vst::ParamID(kParamAttack));
  EXPECT_EQ(recorder.edits.back().kind, 'e');
  EXPECT_EQ(recorder.edits.back().id, Vst::ParamID(kParamAttack));
  EXPECT_EQ(recorder.Count('b'), 1);
  const auto& last = recorder.edits[recorder.edits.size() - 2];
  EXPECT_EQ(last.kind, 'p');
  EXPECT_NEAR(last.value, expected, 1e-9);
  EXPECT_TRUE(ScreenShowsPanel(window));
}

TEST_F(Vst3Embed, RightPressOnAKnobIsForTheHostsMenuNotTheKnob) {
  const Window window = Attach(&frame);
  ASSERT_TRUE(ScreenShowsPanel(window));
  int x = 0, y = 0;
  reference.ControlCentre(kPanelInputKnob, &x, &y);
  const double before = plug->controller->getParamNormalized(kParamInput);
  host->MoveTo(window, x, y);
  host->Button(3, true);
  host->MoveTo(window, x, y - 30);
  host->Button(3, false);
  PumpFor(Loop(), 150);
  EXPECT_EQ(plug->controller->getParamNormalized(kParamInput), before);
  EXPECT_EQ(recorder.Count('b'), 0);
  EXPECT_EQ(recorder.Count('p'), 0);
}

TEST_F(Vst3Embed, HostAutomationShowsOnScreen) {
  const Window window = Attach(&frame);
  ASSERT_TRUE(ScreenShowsPanel(window));
  TestParameterChanges changes;
  changes.Add(kParamRelease, {0.7});
  changes.Add(kParamHpf, {0.4});
  ProcessRig rig(64, false);
  ASSERT_EQ(plug->processor->process(rig.Data(64, 1, 1, &changes)), kResultOk);
  EXPECT_NEAR(plug->controller->getParamNormalized(kParamRelease), 0.7, 1e-9);
  EXPECT_TRUE(ScreenShowsPanel(window, reference.ControlRect(kPanelMeter)));
}

// ---content scale---

class Vst3EmbedAtScale : public Vst3Embed {
 protected:
  void SetUp() override {
    Vst3Embed::SetUp();
    if (IsSkipped()) return;
    // Large enough for the editor at 2 to lie wholly inside, so that the screen can be read.
    host = std::make_unique<X11TestHost>(1700, 1000);
    ASSERT_TRUE(host->Ready());
    ASSERT_EQ(
        view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)),
        kResultOk);
    ASSERT_NE(scaling, nullptr);
    scaling->release();  // the view holds it
  }

  ViewRect Size() {
    ViewRect size;
    EXPECT_EQ(view->getSize(&size), kResultOk);
    return size;
  }

  ::testing::AssertionResult ScreenShowsPanelAt(Window window, double scale) {
    const std::vector<uint32_t> expected = reference.RenderAtScale(HostValues(), scale);
    const int width = WindowCoordinate(796, scale), height = WindowCoordinate(472, scale);
    int x = 0, y = 0, w = 0, h = 0;
    host->Geometry(window, &x, &y, &w, &h);
    if (w != width || h != height) {
      return ::testing::AssertionFailure() << "window is " << w << " x " << h;
    }
    int differences = -1;
    PumpUntil(Loop(), [&] {
      differences = PixelDifferences(host->Grab(window, 0, 0, width, height), expected, width);
      return differences == 0;
    });
    if (differences == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels differ";
  }

  IPlugViewContentScaleSupport* scaling = nullptr;
};

TEST_F(Vst3EmbedAtScale, FactorsScaleTheWindowAndItsPixels) {
  for (double scale : {2.0, 1.5, 1.0}) {
    SCOPED_TRACE(scale);
    ASSERT_EQ(scaling->setContentScaleFactor(float(scale)), kResultOk);
    const ViewRect size = Size();
    EXPECT_EQ(size.getWidth(), WindowCoordinate(796, scale));
    EXPECT_EQ(size.getHeight(), WindowCoordinate(472, scale));
    const Window window = Attach(&frame);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(ScreenShowsPanelAt(window, scale));
    EXPECT_TRUE(frame.resizes.empty()) << "the size was known before the window opened";
    EXPECT_EQ(view->removed(), kResultOk);
    attached = false;
  }
}

TEST_F(Vst3EmbedAtScale, AChangeWhileOpenResizesTheWindowThroughTheFrame) {
  const Window window = Attach(&frame);
  ASSERT_TRUE(ScreenShowsPanelAt(window, 1.0));
  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
  ASSERT_EQ(frame.resizes.size(), 1u);
  EXPECT_EQ(frame.resizes[0].getWidth(), 1592);
  EXPECT_EQ(frame.resizes[0].getHeight(), 944);
  EXPECT_TRUE(ScreenShowsPanelAt(window, 2.0));
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultOk);
  ASSERT_EQ(frame.resizes.size(), 2u);
  EXPECT_EQ(frame.resizes[1].getWidth(), 1194);
  EXPECT_EQ(frame.resizes[1].getHeight(), 708);
  EXPECT_TRUE(ScreenShowsPanelAt(window, 1.5));
  // The same factor again changes nothing.
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultOk);
  EXPECT_EQ(frame.resizes.size(), 2u);
}

TEST_F(Vst3EmbedAtScale, UnusableFactorsAreRefusedAndChangeNothing) {
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultOk);
  const Window window = Attach(&frame);
  const float bad[] = {0.0f, -1.0f, -0.0f, std::nanf(""), INFINITY, -INFINITY, 100.0f, 0.5f, 3.5f};
  for (float factor : bad) {
    EXPECT_EQ(scaling->setContentScaleFactor(factor), kResultFalse) << factor;
    EXPECT_EQ(Size().getWidth(), 1194) << factor;
    EXPECT_EQ(Size().getHeight(), 708) << factor;
  }
  EXPECT_TRUE(frame.resizes.empty());
  EXPECT_TRUE(ScreenShowsPanelAt(window, 1.5));
}

// A drag of so many window pixels is a drag of so many editor pixels at 1: the knob's
// gearing is the same on every screen.
TEST_F(Vst3EmbedAtScale, ADragMovesTheKnobByTheSameAmountAsAtOne) {
  const IRectangle knob = reference.ControlRect(kPanelAttackKnob);
  const double perEditorPixel = 1.0 / double(knob.B - knob.T) / 4.0;
  for (double scale : {2.0, 1.5}) {
    SCOPED_TRACE(scale);
    ASSERT_EQ(scaling->setContentScaleFactor(float(scale)), kResultOk);
    const Window window = Attach(&frame);
    ASSERT_NE(window, 0u);
    PumpFor(Loop(), 100);
    int x = 0, y = 0;
    reference.ControlCentre(kPanelAttackKnob, &x, &y);
    const int wx = int(x * scale), wy = int(y * scale);
    const double before = plug->controller->getParamNormalized(kParamAttack);
    host->MoveTo(window, wx, wy);
    host->Button(1, true);
    // 20 editor pixels up.
    host->MoveTo(window, wx, wy - int(20 * scale));
    const double expected = before + 20.0 * perEditorPixel;
    EXPECT_TRUE(AttackReaches(expected));
    host->Button(1, false);
    PumpFor(Loop(), 50);
    EXPECT_EQ(view->removed(), kResultOk);
    attached = false;
  }
}

TEST_F(Vst3Embed, WithoutADisplayAttachingFailsCleanly) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  setenv("DISPLAY", ":none", 1);
  view->setFrame(&frame);
  EXPECT_EQ(view->attached(host->ParentHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_TRUE(frame.events.empty());
  EXPECT_TRUE(frame.timers.empty());
  EXPECT_EQ(view->removed(), kResultOk);
  setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
