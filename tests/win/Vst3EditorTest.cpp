// The editor of the built VST 3 module, opened through a view's attached(parent, "HWND")
// inside a host window and worked with real window messages.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "WinTestHost.h"
#include "core/IPlugBase.h"
#include "gui/IGraphics.h"
#include "gui/WindowScale.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

using namespace Steinberg;

namespace {

// The host's context menu: records where it was asked to pop up.
class RecordingMenu : public Vst::IContextMenu {
 public:
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return uint32(++references); }
  uint32 PLUGIN_API release() override { return uint32(--references); }
  int32 PLUGIN_API getItemCount() override { return 0; }
  tresult PLUGIN_API getItem(int32, Item&, Vst::IContextMenuTarget**) override {
    return kResultFalse;
  }
  tresult PLUGIN_API addItem(const Item&, Vst::IContextMenuTarget*) override {
    return kResultFalse;
  }
  tresult PLUGIN_API removeItem(const Item&, Vst::IContextMenuTarget*) override {
    return kResultFalse;
  }
  tresult PLUGIN_API popup(UCoord x, UCoord y) override {
    popups.push_back({x, y});
    return kResultOk;
  }

  int references = 1;  // the one createContextMenu hands over
  std::vector<std::pair<UCoord, UCoord>> popups;
};

// A component handler that also offers host context menus, recording every edit.
class RecordingHandler : public Vst::IComponentHandler, public Vst::IComponentHandler3 {
 public:
  struct Edit {
    char kind;  // 'b'egin, 'p'erform, 'e'nd
    Vst::ParamID id;
    double value;
  };

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Vst::IComponentHandler::iid)) {
      *obj = static_cast<Vst::IComponentHandler*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, Vst::IComponentHandler3::iid)) {
      *obj = static_cast<Vst::IComponentHandler3*>(this);
    } else {
      *obj = nullptr;
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return uint32(++references); }
  uint32 PLUGIN_API release() override { return uint32(--references); }
  tresult PLUGIN_API beginEdit(Vst::ParamID id) override { return Record('b', id, 0.0); }
  tresult PLUGIN_API performEdit(Vst::ParamID id, Vst::ParamValue value) override {
    return Record('p', id, value);
  }
  tresult PLUGIN_API endEdit(Vst::ParamID id) override { return Record('e', id, 0.0); }
  tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
  Vst::IContextMenu* PLUGIN_API createContextMenu(IPlugView* view,
                                                  const Vst::ParamID* id) override {
    menuRequests.push_back(id ? *id : 0xffffffffu);
    menuViews.push_back(view);
    menu.addRef();
    return &menu;
  }

  std::vector<Edit> edits;
  std::vector<Vst::ParamID> menuRequests;
  std::vector<IPlugView*> menuViews;
  RecordingMenu menu;
  int references = 0;

 private:
  tresult Record(char kind, Vst::ParamID id, double value) {
    edits.push_back(Edit{kind, id, value});
    return kResultOk;
  }
};

// The host's frame: records the sizes the view asks for and, as hosts do, answers with onSize.
class RecordingFrame : public IPlugFrame {
 public:
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, IPlugFrame::iid)) {
      *obj = static_cast<IPlugFrame*>(this);
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }
  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override {
    if (!view || !size) return kInvalidArgument;
    resizes.push_back(*size);
    return view->onSize(size);
  }
  std::vector<ViewRect> resizes;
};

SIZE ClientSize(HWND window) {
  RECT r = {};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The system's pixel density, as a process that follows it sees it.
int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

HMODULE Vst3Module() {
  static HMODULE module = [] {
    HMODULE loaded = LoadLibraryA(BRASK_VST3_MODULE_PATH);
    auto init = loaded ? ModuleExport<bool (*)()>(loaded, "InitDll") : nullptr;
    if (init) init();
    return loaded;
  }();
  return module;
}

class Vst3Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Vst3Module(), nullptr);
    auto getFactory = ModuleExport<GetFactoryProc>(Vst3Module(), "GetPluginFactory");
    ASSERT_NE(getFactory, nullptr);
    IPluginFactory* factory = getFactory();
    ASSERT_NE(factory, nullptr);
    PClassInfo info;
    for (int32 i = 0; i < factory->countClasses(); ++i) {
      if (factory->getClassInfo(i, &info) == kResultOk &&
          std::strcmp(info.category, kVstAudioEffectClass) == 0) {
        factory->createInstance(info.cid, Vst::IComponent::iid,
                                reinterpret_cast<void**>(&component));
        break;
      }
    }
    factory->release();
    ASSERT_NE(component, nullptr);
    ASSERT_EQ(component->initialize(nullptr), kResultOk);
    ASSERT_EQ(
        component->queryInterface(Vst::IEditController::iid, reinterpret_cast<void**>(&controller)),
        kResultOk);
    controller->setComponentHandler(&handler);
  }

  void TearDown() override {
    if (view) view->release();
    if (controller) {
      controller->setComponentHandler(nullptr);
      controller->release();
    }
    if (component) {
      component->terminate();
      component->release();
    }
    PumpMessages(10);
  }

  HWND Attach(HostWindow& host) {
    view = controller->createView("editor");
    if (!view) return nullptr;
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultOk);
    EXPECT_EQ(view->attached(host.Handle(), kPlatformTypeHWND), kResultOk);
    PumpMessages(150);
    return host.EditorWindow();
  }

  Vst::IComponent* component = nullptr;
  Vst::IEditController* controller = nullptr;
  IPlugView* view = nullptr;
  RecordingHandler handler;
  OffscreenPanel panel;
};

TEST_F(Vst3Editor, CreatesViewsOnlyForTheExactNameEditor) {
  for (const char* wrong : {"Editor", "editor2", "edit", ""}) {
    IPlugView* other = controller->createView(wrong);
    EXPECT_EQ(other, nullptr) << wrong;
    if (other) other->release();
  }
  EXPECT_EQ(controller->createView(nullptr), nullptr);
  view = controller->createView("editor");
  ASSERT_NE(view, nullptr);
  ViewRect size;
  EXPECT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.left, 0);
  EXPECT_EQ(size.top, 0);
  EXPECT_EQ(size.right, 796);
  EXPECT_EQ(size.bottom, 472);
  EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultOk);
  EXPECT_NE(view->isPlatformTypeSupported("NSView"), kResultOk);
  EXPECT_NE(view->isPlatformTypeSupported("HWNDX"), kResultOk);
  ViewRect given(10, 20, 300, 400);
  EXPECT_EQ(view->onSize(&given), kResultOk);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
}

TEST_F(Vst3Editor, AttachOpensTheWindowRemoveClosesItAndASecondAttachReopens) {
  HostWindow host;
  HWND editor = Attach(host);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(view->removed(), kResultOk);
  PumpMessages(20);
  EXPECT_EQ(host.EditorWindow(), nullptr);
  EXPECT_EQ(view->attached(host.Handle(), kPlatformTypeHWND), kResultOk);
  PumpMessages(150);
  editor = host.EditorWindow();
  ASSERT_NE(editor, nullptr);
  const PixelImage expected = panel.Render();
  const PixelImage shown = ReadWindowPixels(editor);
  ASSERT_EQ(shown.pixels.size(), expected.pixels.size());
  EXPECT_TRUE(shown.pixels == expected.pixels);
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(Vst3Editor, OtherPlatformTypesAttachWithoutAWindow) {
  HostWindow host;
  view = controller->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->attached(host.Handle(), "X11EmbedWindowID"), kResultOk);
  PumpMessages(20);
  EXPECT_EQ(host.EditorWindow(), nullptr);
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(Vst3Editor, KnobDragSendsBeginPerformEndInOrder) {
  HostWindow host;
  HWND editor = Attach(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kOutputKnob);
  const int x = CenterX(knob);
  const int y = CenterY(knob);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, y + 15));
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, y + 30));
  SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(x, y + 30));
  ASSERT_EQ(handler.edits.size(), 4u);
  EXPECT_EQ(handler.edits[0].kind, 'b');
  EXPECT_EQ(handler.edits[1].kind, 'p');
  EXPECT_EQ(handler.edits[2].kind, 'p');
  EXPECT_EQ(handler.edits[3].kind, 'e');
  for (const auto& edit : handler.edits) EXPECT_EQ(edit.id, 1u);
  EXPECT_LT(handler.edits[2].value, handler.edits[1].value);  // dragged down: turned down
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), handler.edits[2].value);
}

TEST_F(Vst3Editor, RightPressOnAKnobOpensTheHostContextMenu) {
  HostWindow host;
  HWND editor = Attach(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  const int x = CenterX(knob);
  const int y = CenterY(knob);
  const int handlerReferences = handler.references;
  SendMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(x, y));
  SendMessageA(editor, WM_RBUTTONUP, 0, PointParam(x, y));
  ASSERT_EQ(handler.menuRequests.size(), 1u);
  EXPECT_EQ(handler.menuRequests[0], 2u);
  EXPECT_EQ(handler.menuViews[0], view);
  ASSERT_EQ(handler.menu.popups.size(), 1u);
  EXPECT_EQ(handler.menu.popups[0].first, x);
  EXPECT_EQ(handler.menu.popups[0].second, y);
  EXPECT_EQ(handler.menu.references, 1);             // released after showing
  EXPECT_EQ(handler.references, handlerReferences);  // IComponentHandler3 given back
  for (const auto& edit : handler.edits) EXPECT_NE(edit.kind, 'b');  // not a gesture
}

TEST_F(Vst3Editor, DestroyingAViewForgetsAllViewsSoNoMenuIsOffered) {
  HostWindow host;
  HWND editor = Attach(host);
  ASSERT_NE(editor, nullptr);
  IPlugView* second = controller->createView("editor");
  ASSERT_NE(second, nullptr);
  second->release();  // empties the plug-in's view list
  const IRectangle knob = panel.ControlRect(kAttackKnob);
  SendMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(CenterX(knob), CenterY(knob)));
  SendMessageA(editor, WM_RBUTTONUP, 0, PointParam(CenterX(knob), CenterY(knob)));
  EXPECT_TRUE(handler.menuRequests.empty());
  view->removed();
}

// ---window scale---

class Vst3EditorAtScale : public Vst3Editor {
 protected:
  void SetUp() override {
    Vst3Editor::SetUp();
    view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(
        view->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)),
        kResultOk);
    scaling->release();  // the view holds it
    view->setFrame(&frame);
  }

  HWND AttachTo(HostWindow& host) {
    EXPECT_EQ(view->attached(host.Handle(), kPlatformTypeHWND), kResultOk);
    PumpMessages(150);
    return host.EditorWindow();
  }

  ::testing::AssertionResult ShowsPanelAt(HWND editor, double scale) {
    const SIZE size = ClientSize(editor);
    if (size.cx != WindowCoordinate(796, scale) || size.cy != WindowCoordinate(472, scale)) {
      return ::testing::AssertionFailure() << "window is " << size.cx << " x " << size.cy;
    }
    PumpMessages(100);
    const PixelImage expected = panel.Render(scale);
    const PixelImage shown = ReadWindowPixels(editor);
    if (shown.pixels != expected.pixels) return ::testing::AssertionFailure() << "pixels differ";
    return ::testing::AssertionSuccess();
  }

  IPlugViewContentScaleSupport* scaling = nullptr;
  RecordingFrame frame;
};

TEST_F(Vst3EditorAtScale, FactorsOpenTheWindowAtTheScaledSizeWithTheScaledPanel) {
  HostWindow host(1700, 1000);
  for (double scale : {2.0, 1.5, 1.0}) {
    SCOPED_TRACE(scale);
    ASSERT_EQ(scaling->setContentScaleFactor(float(scale)), kResultOk);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), WindowCoordinate(796, scale));
    EXPECT_EQ(size.getHeight(), WindowCoordinate(472, scale));
    HWND editor = AttachTo(host);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(ShowsPanelAt(editor, scale));
    EXPECT_EQ(view->removed(), kResultOk);
    PumpMessages(20);
  }
  EXPECT_TRUE(frame.resizes.empty()) << "the size was known before each window opened";
}

TEST_F(Vst3EditorAtScale, AChangeWhileOpenResizesTheWindowThroughTheFrame) {
  HostWindow host(1700, 1000);
  ASSERT_EQ(scaling->setContentScaleFactor(1.0f), kResultOk);
  HWND editor = AttachTo(host);
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
  ASSERT_EQ(frame.resizes.size(), 1u);
  EXPECT_EQ(frame.resizes[0].getWidth(), 1592);
  EXPECT_EQ(frame.resizes[0].getHeight(), 944);
  EXPECT_TRUE(ShowsPanelAt(editor, 2.0));
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultOk);
  ASSERT_EQ(frame.resizes.size(), 2u);
  EXPECT_EQ(frame.resizes[1].getWidth(), 1194);
  EXPECT_TRUE(ShowsPanelAt(editor, 1.5));
  EXPECT_EQ(view->removed(), kResultOk);
}

TEST_F(Vst3EditorAtScale, UnusableFactorsAreRefusedAndChangeNothing) {
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultOk);
  for (float factor : {0.0f, -1.0f, std::nanf(""), INFINITY, -INFINITY, 100.0f, 0.75f}) {
    EXPECT_EQ(scaling->setContentScaleFactor(factor), kResultFalse) << factor;
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), 1194) << factor;
    EXPECT_EQ(size.getHeight(), 708) << factor;
  }
  EXPECT_TRUE(frame.resizes.empty());
}

// A drag of so many window pixels is a drag of so many editor pixels at 1, and the host's
// context menu opens where the click was, in window pixels.
TEST_F(Vst3EditorAtScale, DragsAndMenusAtTwoActAsAtOne) {
  HostWindow host(1700, 1000);
  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
  HWND editor = AttachTo(host);
  ASSERT_NE(editor, nullptr);
  const IRectangle knob = panel.ControlRect(kOutputKnob);
  const int x = 2 * CenterX(knob), y = 2 * CenterY(knob);
  const double before = controller->getParamNormalized(1);
  SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
  SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, y + 30));
  SendMessageA(editor, WM_LBUTTONUP, 0, PointParam(x, y + 30));
  // 30 window pixels down are 15 editor pixels: a quarter turn per knob height.
  EXPECT_NEAR(controller->getParamNormalized(1), before - 15.0 / double(knob.H()) / 4.0, 1e-12);
  // The tick that redraws the turned knob on its own leaves what a whole paint shows.
  panel.Plug()->Editor()->ReflectParameter(1, controller->getParamNormalized(1), true);
  EXPECT_TRUE(ShowsPanelAt(editor, 2.0));

  SendMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(x, y));
  SendMessageA(editor, WM_RBUTTONUP, 0, PointParam(x, y));
  ASSERT_EQ(handler.menu.popups.size(), 1u);
  EXPECT_EQ(handler.menu.popups[0].first, x);
  EXPECT_EQ(handler.menu.popups[0].second, y);
  EXPECT_EQ(view->removed(), kResultOk);
}

// Hosts that never set a factor get the system's pixel density (scripts/test also runs this
// at 144 dpi); a factor the host sets afterwards wins.
TEST_F(Vst3EditorAtScale, WithoutAHostFactorTheSystemDpiApplies) {
  if (const char* expected = std::getenv("BRASK_EXPECT_DPI")) {
    ASSERT_EQ(SystemDpi(), std::atoi(expected));
  }
  const double scale = WindowScaleForDpi(SystemDpi());
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), WindowCoordinate(796, scale));
  EXPECT_EQ(size.getHeight(), WindowCoordinate(472, scale));
  HostWindow host(1700, 1000);
  HWND editor = AttachTo(host);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(ShowsPanelAt(editor, scale));
  ASSERT_EQ(scaling->setContentScaleFactor(1.0f), kResultOk);
  EXPECT_TRUE(ShowsPanelAt(editor, 1.0));
  SendMessageA(editor, WM_TIMER, 2, 0);  // a tick does not go back to the system's scale
  EXPECT_TRUE(ShowsPanelAt(editor, 1.0));
  EXPECT_EQ(view->removed(), kResultOk);
}

}  // namespace
