// The editor of the built VST 2 module, embedded as a Linux VST 2 host embeds it: effEditOpen
// with the host's X window, effEditIdle from the host's loop, effEditClose. Input comes from
// XTEST; the screen is compared with the panel rendered off-screen.

// GoogleTest before Xlib, whose None macro clashes with a GoogleTest name.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>

#include <cmath>
#include <memory>

#include "../vst2/HostedEffect.h"
#include "../vst2/RecordingHost.h"
#include "../vst2/VstModule.h"
#include "ReferencePanel.h"
#include "X11TestHost.h"

namespace {

class Vst2Embed : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<X11TestHost>();
    ASSERT_TRUE(host->Ready()) << "no X display with XTEST: these tests need one";
    module = std::make_unique<VstModule>(BuiltModulePath());
    ASSERT_TRUE(module->IsLoaded()) << module->Error();
    plug = std::make_unique<HostedEffect>(recorder.Create(module->Entry("VSTPluginMain")));
    ASSERT_TRUE(*plug);
    plug->Start(44100.0f, 512);
  }

  void TearDown() override {
    plug.reset();
    module.reset();
    host.reset();
  }

  // Opens the editor in the host's window and answers the editor's window.
  Window OpenEditor() {
    EXPECT_EQ(plug->Dispatch(effEditOpen, 0, 0, host->ParentHandle()), 1);
    Window* children = nullptr;
    Window root = 0, parent = 0, editor = 0;
    unsigned count = 0;
    XQueryTree(host->Dpy(), host->TopLevel(), &root, &parent, &children, &count);
    if (count == 1) editor = children[0];
    if (children) XFree(children);
    EXPECT_EQ(count, 1u);
    return editor;
  }

  std::function<void()> Idle() {
    return [this] { plug->Dispatch(effEditIdle); };
  }

  std::vector<double> HostValues() {
    std::vector<double> values;
    for (int p = 0; p < kPanelParamCount; ++p) values.push_back(plug->GetParam(p));
    return values;
  }

  // Idles the editor until its window shows what the off-screen panel shows for the
  // parameters' current values.
  ::testing::AssertionResult ScreenShowsPanel(Window window) {
    const std::vector<uint32_t> expected = reference.Render(HostValues());
    int differences = -1;
    PumpUntil(Idle(), [&] {
      differences =
          PixelDifferences(host->Grab(window, 0, 0, reference.Width(), reference.Height()),
                           expected, reference.Width());
      return differences == 0;
    });
    if (differences == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels differ";
  }

  std::unique_ptr<X11TestHost> host;
  std::unique_ptr<VstModule> module;
  RecordingHost recorder;
  std::unique_ptr<HostedEffect> plug;
  ReferencePanel reference;
};

TEST_F(Vst2Embed, EditorRectangleIsThePanelsSize) {
  ERect* rect = nullptr;
  ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, reference.Width());
  EXPECT_EQ(rect->bottom - rect->top, reference.Height());
}

TEST_F(Vst2Embed, OpensInTheHostsWindowShowsThePanelAndCloses) {
  const Window window = OpenEditor();
  ASSERT_NE(window, 0u);
  int x = 0, y = 0, width = 0, height = 0;
  host->Geometry(window, &x, &y, &width, &height);
  EXPECT_EQ(width, reference.Width());
  EXPECT_EQ(height, reference.Height());
  EXPECT_TRUE(ScreenShowsPanel(window));

  EXPECT_EQ(plug->Dispatch(effEditClose), 1);
  EXPECT_FALSE(host->WindowExists(window));
  // Opened again, the panel is painted again in full.
  const Window again = OpenEditor();
  EXPECT_TRUE(ScreenShowsPanel(again));
}

TEST_F(Vst2Embed, NoWindowWithoutAParent) {
  EXPECT_EQ(plug->Dispatch(effEditOpen, 0, 0, nullptr), 0);
  plug->Dispatch(effEditIdle);  // idling a closed editor does nothing
  EXPECT_EQ(plug->Dispatch(effEditClose), 1);
}

TEST_F(Vst2Embed, DraggingAKnobAutomatesTheHostInOneGesture) {
  const Window window = OpenEditor();
  ASSERT_TRUE(ScreenShowsPanel(window));
  int x = 0, y = 0;
  reference.ControlCentre(kPanelInputKnob, &x, &y);
  const IRectangle knob = reference.ControlRect(kPanelInputKnob);
  const double before = plug->GetParam(0);
  host->MoveTo(window, x, y);
  host->Button(1, true);
  host->MoveTo(window, x, y - 30);
  const double expected = before + 30.0 / double(knob.B - knob.T) / 4.0;
  EXPECT_TRUE(PumpUntil(Idle(), [&] { return std::fabs(plug->GetParam(0) - expected) < 1e-6; }))
      << plug->GetParam(0) << " vs " << expected;
  host->Button(1, false);
  EXPECT_TRUE(PumpUntil(Idle(), [&] { return recorder.CountOf(audioMasterEndEdit) == 1; }));

  const auto begins = recorder.RequestsOf(audioMasterBeginEdit);
  const auto automated = recorder.RequestsOf(audioMasterAutomate);
  ASSERT_EQ(begins.size(), 1u);
  EXPECT_EQ(begins[0].index, 0);
  ASSERT_FALSE(automated.empty());
  EXPECT_EQ(automated.back().index, 0);
  EXPECT_NEAR(automated.back().opt, plug->GetParam(0), 1e-6);
  EXPECT_EQ(recorder.RequestsOf(audioMasterEndEdit)[0].index, 0);
  EXPECT_TRUE(ScreenShowsPanel(window));
}

TEST_F(Vst2Embed, ClickingThePowerSwitchBypassesAndRepaints) {
  const Window window = OpenEditor();
  ASSERT_TRUE(ScreenShowsPanel(window));
  int x = 0, y = 0;
  reference.ControlCentre(kPanelBypassSwitch, &x, &y);
  const float before = plug->GetParam(6);
  host->MoveTo(window, x, y);
  host->Button(1, true);
  host->Button(1, false);
  EXPECT_TRUE(PumpUntil(Idle(), [&] { return plug->GetParam(6) != before; }));
  EXPECT_EQ(recorder.CountOf(audioMasterBeginEdit), 1);
  EXPECT_EQ(recorder.CountOf(audioMasterEndEdit), 1);
  EXPECT_TRUE(ScreenShowsPanel(window));
}

TEST_F(Vst2Embed, HostAutomationShowsOnScreen) {
  const Window window = OpenEditor();
  ASSERT_TRUE(ScreenShowsPanel(window));
  const std::vector<uint32_t> before =
      host->Grab(window, 0, 0, reference.Width(), reference.Height());
  plug->SetParam(2, 0.5f);   // Attack
  plug->SetParam(4, 0.25f);  // Mix
  EXPECT_TRUE(ScreenShowsPanel(window));
  EXPECT_NE(host->Grab(window, 0, 0, reference.Width(), reference.Height()), before);
}

TEST_F(Vst2Embed, HostClosingTheInstanceWithTheEditorOpenIsSafe) {
  const Window window = OpenEditor();
  ASSERT_TRUE(ScreenShowsPanel(window));
  plug->Close();  // no effEditClose first
  EXPECT_FALSE(host->WindowExists(window));
}

}  // namespace
