// The bundle's UI binary, loaded by path and embedded as a Linux LV2 host embeds an X11 UI: the
// host's window as ui:parent, idle calls from the host's loop, port_event for the ports' values
// and a write_function and touch feature that record what the UI sends. Input comes from XTEST;
// the screen is compared with the panel rendered off-screen.

// GoogleTest before Xlib, whose None macro clashes with a GoogleTest name.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <memory>

#include "Brask.h"
#include "ReferencePanel.h"
#include "X11TestHost.h"
#include "lv2/Lv2Layout.h"

namespace {

struct PortWrite {
  uint32_t port;
  uint32_t size;
  uint32_t protocol;
  float value;
};

struct Touch {
  uint32_t port;
  bool grabbed;
};

// What the host receives from the UI.
struct UiRecorder {
  std::vector<PortWrite> writes;
  std::vector<Touch> touches;
  std::vector<std::pair<int, int>> sizes;

  static void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol,
                    const void* buffer) {
    float value = size == sizeof(float) ? *static_cast<const float*>(buffer) : NAN;
    static_cast<UiRecorder*>(controller)->writes.push_back({port, size, protocol, value});
  }
  static void OnTouch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<UiRecorder*>(handle)->touches.push_back({port, grabbed});
  }
  static int OnResize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<UiRecorder*>(handle)->sizes.emplace_back(width, height);
    return 0;
  }
};

const LV2UI_Descriptor* UiDescriptor() {
  static void* module =
      dlopen((std::string(BRASK_LV2_BUNDLE_PATH) + "/Brask_ui.so").c_str(), RTLD_NOW);
  using Entry = const LV2UI_Descriptor* (*)(uint32_t);
  auto entry = module ? reinterpret_cast<Entry>(dlsym(module, "lv2ui_descriptor")) : nullptr;
  return entry ? entry(0) : nullptr;
}

class Lv2Ui : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<X11TestHost>();
    ASSERT_TRUE(host->Ready()) << "no X display with XTEST: these tests need one";
    descriptor = UiDescriptor();
    ASSERT_NE(descriptor, nullptr) << dlerror();
    ASSERT_STREQ(descriptor->URI, kBraskLv2UiUri);
  }

  void TearDown() override {
    if (handle) descriptor->cleanup(handle);
    host.reset();
  }

  // Instantiates the UI with the given features (null-terminated by this function).
  LV2UI_Handle Open(std::vector<const LV2_Feature*> features) {
    features.push_back(nullptr);
    widget = nullptr;
    handle = descriptor->instantiate(descriptor, kBraskLv2Uri, BRASK_LV2_BUNDLE_PATH,
                                     UiRecorder::Write, &recorder, &widget, features.data());
    return handle;
  }
  LV2UI_Handle OpenWithEveryFeature() { return Open({&parent, &touch, &resize}); }

  Window Widget() const { return Window(reinterpret_cast<uintptr_t>(widget)); }

  std::function<void()> Idle() {
    auto* idle =
        static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    return [this, idle] { EXPECT_EQ(idle->idle(handle), 0); };
  }

  void SendPort(uint32_t port, float value) {
    descriptor->port_event(handle, port, sizeof value, 0, &value);
  }

  // The normalized values the panel should show for plain values of every parameter.
  std::vector<double> Normalized(const std::vector<double>& plain) {
    std::vector<double> values;
    for (int p = 0; p < kBraskParamCount; ++p) {
      values.push_back(model.ParamAt(p)->NormalizedFromPlain(plain[size_t(p)]));
    }
    return values;
  }
  std::vector<double> Defaults() {
    std::vector<double> plain;
    for (int p = 0; p < kBraskParamCount; ++p) plain.push_back(model.ParamAt(p)->Default());
    return plain;
  }

  // Idles the UI until the widget shows the off-screen panel at those plain values, apart from
  // the ignored rectangle.
  ::testing::AssertionResult ScreenShows(const std::vector<double>& plain,
                                         const IRectangle& ignored = {}) {
    const std::vector<uint32_t> expected = reference.Render(Normalized(plain));
    int differences = -1;
    PumpUntil(Idle(), [&] {
      differences = PixelDifferences(Grab(), expected, reference.Width(), ignored);
      return differences == 0;
    });
    if (differences == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels differ";
  }
  std::vector<uint32_t> Grab() {
    return host->Grab(Widget(), 0, 0, reference.Width(), reference.Height());
  }

  std::unique_ptr<X11TestHost> host;
  const LV2UI_Descriptor* descriptor = nullptr;
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  UiRecorder recorder;
  LV2UI_Touch touchData{&recorder, UiRecorder::OnTouch};
  LV2UI_Resize resizeData{&recorder, UiRecorder::OnResize};
  LV2_Feature parent{LV2_UI__parent, nullptr};
  LV2_Feature touch{LV2_UI__touch, &touchData};
  LV2_Feature resize{LV2_UI__resize, &resizeData};
  ReferencePanel reference;
  Brask model{nullptr};  // the records, over the test adaptor
};

}  // namespace

TEST_F(Lv2Ui, EmbedsThePanelAtItsSizeInTheHostsWindow) {
  parent.data = host->ParentHandle();
  ASSERT_NE(OpenWithEveryFeature(), nullptr);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(host->ParentOf(Widget()), host->TopLevel());
  int x = 0, y = 0, width = 0, height = 0;
  host->Geometry(Widget(), &x, &y, &width, &height);
  EXPECT_EQ(width, reference.Width());
  EXPECT_EQ(height, reference.Height());
  ASSERT_EQ(recorder.sizes.size(), 1u);
  EXPECT_EQ(recorder.sizes[0], std::make_pair(reference.Width(), reference.Height()));
  EXPECT_TRUE(ScreenShows(Defaults()));
  EXPECT_TRUE(recorder.writes.empty()) << "opening must not change any port";

  const Window window = Widget();
  descriptor->cleanup(handle);
  handle = nullptr;
  EXPECT_FALSE(host->WindowExists(window));
}

TEST_F(Lv2Ui, RefusesToOpenWithoutAParentWindow) {
  EXPECT_EQ(Open({&touch}), nullptr);
  EXPECT_EQ(Open({}), nullptr);
}

TEST_F(Lv2Ui, DraggingAKnobWritesItsPortInOneTouchGesture) {
  parent.data = host->ParentHandle();
  ASSERT_NE(OpenWithEveryFeature(), nullptr);
  ASSERT_TRUE(ScreenShows(Defaults()));
  int x = 0, y = 0;
  reference.ControlCentre(kPanelAttackKnob, &x, &y);
  host->MoveTo(Widget(), x, y);
  host->Button(1, true);
  host->MoveTo(Widget(), x, y - 30);
  EXPECT_TRUE(PumpUntil(Idle(), [&] { return !recorder.writes.empty(); }));
  host->Button(1, false);
  EXPECT_TRUE(PumpUntil(Idle(), [&] { return recorder.touches.size() == 2; }));

  ASSERT_FALSE(recorder.writes.empty());
  for (const PortWrite& write : recorder.writes) {
    EXPECT_EQ(write.port, uint32_t(kParamAttack));
    EXPECT_EQ(write.size, sizeof(float));
    EXPECT_EQ(write.protocol, 0u);
  }
  // The port gets a plain value, above the default for an upward drag and inside the range.
  const float attack = recorder.writes.back().value;
  EXPECT_GT(attack, 10.0f);
  EXPECT_LE(attack, 50.0f);
  ASSERT_EQ(recorder.touches.size(), 2u);
  EXPECT_EQ(recorder.touches[0].port, uint32_t(kParamAttack));
  EXPECT_TRUE(recorder.touches[0].grabbed);
  EXPECT_FALSE(recorder.touches[1].grabbed);
  std::vector<double> shown = Defaults();
  shown[kParamAttack] = attack;
  EXPECT_TRUE(ScreenShows(shown));
}

TEST_F(Lv2Ui, PortEventsMoveTheKnobsAndTheMeter) {
  parent.data = host->ParentHandle();
  ASSERT_NE(OpenWithEveryFeature(), nullptr);
  ASSERT_TRUE(ScreenShows(Defaults()));
  const IRectangle meter = reference.ControlRect(kPanelMeter);
  const std::vector<uint32_t> before = Grab();

  std::vector<double> plain = Defaults();
  plain[kParamAttack] = 13.25;
  plain[kParamMix] = 25.0;
  plain[kParamBypass] = 0.0;
  SendPort(kParamAttack, 13.25f);
  SendPort(kParamMix, 25.0f);
  SendPort(kParamBypass, 0.0f);
  EXPECT_TRUE(ScreenShows(plain));

  SendPort(kLv2GainReductionPort, 0.5f);
  int meterChanged = 0;
  PumpUntil(Idle(), [&] {
    meterChanged = PixelDifferences(Grab(), reference.Render(Normalized(plain)), reference.Width());
    return meterChanged > 0;
  });
  EXPECT_GT(meterChanged, 0) << "the needle did not move";
  EXPECT_TRUE(ScreenShows(plain, meter)) << "only the meter may differ";
  EXPECT_TRUE(recorder.writes.empty()) << "values from the host are not sent back";
  EXPECT_NE(Grab(), before);
}

TEST_F(Lv2Ui, MalformedPortEventsAreIgnored) {
  parent.data = host->ParentHandle();
  ASSERT_NE(OpenWithEveryFeature(), nullptr);
  ASSERT_TRUE(ScreenShows(Defaults()));
  const float nan = NAN, mix = 25.0f;
  const double wide = 25.0;
  descriptor->port_event(handle, kParamMix, sizeof wide, 0, &wide);  // not a float
  descriptor->port_event(handle, kParamMix, sizeof mix, 1, &mix);    // another protocol
  descriptor->port_event(handle, kParamMix, sizeof mix, 0, nullptr);
  descriptor->port_event(handle, kParamMix, sizeof nan, 0, &nan);
  descriptor->port_event(handle, kLv2GainReductionPort, sizeof nan, 0, &nan);
  descriptor->port_event(handle, kLv2PortCount + 7, sizeof mix, 0, &mix);
  descriptor->port_event(handle, kLv2FirstAudioInPort, sizeof mix, 0, &mix);
  PumpFor(Idle(), 120);
  EXPECT_TRUE(ScreenShows(Defaults()));
}
