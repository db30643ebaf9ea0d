// The editor of the built VST 3 module, opened through a view's attached(parent, "HWND")
// inside a host window and worked with real window messages.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "WinTestHost.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
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

}  // namespace
