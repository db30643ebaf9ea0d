// The VST 3 editor view, and the edit controller's side of it: creating views, and the
// editor's requests to the host (a new size, a context menu for a parameter).

#include "vst3/IPlugVST3View.h"

#include <cstring>

#include "gui/IGraphics.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;

namespace {

// Compares all bytes including the terminating zero, so prefixes and extensions differ.
bool SameName(FIDString name, const char* expected) {
  return name && std::memcmp(name, expected, std::strlen(expected) + 1) == 0;
}

}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plugin) : plugin(plugin) {
  if (plugin) plugin->addRef();
}

IPlugVST3View::~IPlugVST3View() {
  if (!plugin) return;
  // The plug-in forgets every view, not only this one: hosts show one view at a time.
  plugin->ForgetViews();
  plugin->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type) {
  if (plugin && plugin->Editor() && SameName(type, kPlatformTypeHWND)) return kResultOk;
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type) {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (!editor) return kResultFalse;
  if (SameName(type, kPlatformTypeHWND)) editor->OpenEditorWindow(parent);
  plugin->OnEditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed() {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (editor) {
    plugin->OnEditorClosed();
    editor->CloseEditorWindow();
  }
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size) {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (!editor) return kResultFalse;
  if (!size) return kInvalidArgument;
  *size = ViewRect(0, 0, editor->Width(), editor->Height());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize) {
  if (!newSize) return kResultOk;
  rect = *newSize;
  if (expectResize) {
    if (plugin) plugin->OnEditorResized();
    expectResize = false;
  }
  return kResultOk;
}

// ---the edit controller's editor hooks---

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name) {
  if (!SameName(name, "editor")) return nullptr;
  auto* view = new IPlugVST3View(this);
  openViews.push_back(view);
  return view;
}

void IPlugVST3::ForgetViews() { openViews.clear(); }

void IPlugVST3::ResizeEditor(int width, int height) {
  if (!Editor() || openViews.empty()) return;
  IPlugVST3View* view = openViews.front();
  IPlugFrame* frame = view->Frame();
  if (!frame) return;
  view->ExpectResize();
  ViewRect size(0, 0, width, height);
  frame->resizeView(view, &size);
}

void IPlugVST3::OpenHostParamMenu(int paramIdx, int x, int y) {
  if (!componentHandler || openViews.empty()) return;
  Vst::IComponentHandler3* handler = nullptr;
  if (componentHandler->queryInterface(Vst::IComponentHandler3::iid,
                                       reinterpret_cast<void**>(&handler)) != kResultOk ||
      !handler) {
    return;
  }
  const Vst::ParamID id = Vst::ParamID(paramIdx);
  Vst::IContextMenu* menu = handler->createContextMenu(openViews.front(), &id);
  if (menu) {
    menu->popup(UCoord(x), UCoord(y));
    menu->release();
  }
  handler->release();
}
