// The VST 3 editor view, and the edit controller's side of it: creating views, and the
// editor's requests to the host (a new size, a context menu for a parameter).

#include "vst3/IPlugVST3View.h"

#include <atomic>
#include <cstring>

#include "gui/IGraphics.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "vst3/IPlugVST3.h"
#if defined(BRASK_X11)
#include "gui/x11/IGraphicsX11.h"
#endif

using namespace Steinberg;

namespace {

// Compares up to and including the terminating zero, so prefixes and extensions differ. A
// host's shorter string is never read past its end.
bool SameName(FIDString name, const char* expected) {
  return name && std::strcmp(name, expected) == 0;
}

}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plugin) : plugin(plugin) {
  if (plugin) plugin->addRef();
}

IPlugVST3View::~IPlugVST3View() {
#if defined(BRASK_X11)
  DetachRunLoop();
#endif
  if (!plugin) return;
  // The plug-in forgets every view, not only this one: hosts show one view at a time.
  plugin->ForgetViews();
  plugin->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type) {
  if (plugin && plugin->Editor() && SameName(type, kPlatformTypeHWND)) return kResultOk;
#if defined(BRASK_X11)
  if (plugin && plugin->Editor() && SameName(type, kPlatformTypeX11EmbedWindowID)) return kResultOk;
#endif
  return kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type) {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (!editor) return kResultFalse;
  if (SameName(type, kPlatformTypeHWND)) editor->OpenEditorWindow(parent);
#if defined(BRASK_X11)
  if (SameName(type, kPlatformTypeX11EmbedWindowID)) {
    // Unlike a window handle, an X window may fail to open (no X server): the host is told.
    if (!editor->OpenEditorWindow(parent)) return kResultFalse;
    AttachRunLoop();
  }
#endif
  plugin->OnEditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed() {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (editor) {
    plugin->OnEditorClosed();
#if defined(BRASK_X11)
    DetachRunLoop();
#endif
    editor->CloseEditorWindow();
  }
  return CPluginView::removed();
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size) {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (!editor) return kResultFalse;
  if (!size) return kInvalidArgument;
  // Until the host chooses a scale, the system's applies, before the window opens as well.
  editor->FollowSystemScale();
  *size = ViewRect(0, 0, editor->WindowWidth(), editor->WindowHeight());
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

tresult PLUGIN_API IPlugVST3View::setContentScaleFactor(ScaleFactor factor) {
  IGraphics* editor = plugin ? plugin->Editor() : nullptr;
  if (!editor || !editor->SetWindowScale(double(factor))) return kResultFalse;
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
  if (!componentHandler || openViews.empty() || !Editor()) return;
  Vst::IComponentHandler3* handler = nullptr;
  if (componentHandler->queryInterface(Vst::IComponentHandler3::iid,
                                       reinterpret_cast<void**>(&handler)) != kResultOk ||
      !handler) {
    return;
  }
  const Vst::ParamID id = Vst::ParamID(paramIdx);
  Vst::IContextMenu* menu = handler->createContextMenu(openViews.front(), &id);
  if (menu) {
    // The host places the menu in the view's coordinates, which are window pixels.
    const IRectangle at = Editor()->WindowArea(IRectangle{x, y, x + 1, y + 1});
    menu->popup(UCoord(at.L), UCoord(at.T));
    menu->release();
  }
  handler->release();
}

#if defined(BRASK_X11)
// ---Linux: the host's run loop drives the X11 editor window---

// Registered with the host's run loop while the editor window is open: a readable X
// connection runs the window's events, the timer its ticks. Hosts may keep references to it
// beyond the view, so it counts its own.
class X11RunLoopLink final : public Linux::IEventHandler, public Linux::ITimerHandler {
 public:
  X11RunLoopLink(IGraphicsX11* editor, Linux::IRunLoop* runLoop)
      : editor(editor), runLoop(runLoop) {
    runLoop->registerEventHandler(this, editor->ConnectionFd());
    runLoop->registerTimer(this, Linux::TimerInterval(IGraphicsX11::TimerPeriodMs()));
  }

  // Unregisters and gives the run loop back; the window is not touched again.
  void Detach() {
    if (!runLoop) return;
    runLoop->unregisterEventHandler(this);
    runLoop->unregisterTimer(this);
    runLoop->release();
    runLoop = nullptr;
    editor = nullptr;
  }

  void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override {
    if (editor) editor->ProcessEvents();
  }
  // Events Xlib already read into its queue leave the descriptor quiet: the tick runs them too.
  void PLUGIN_API onTimer() override {
    if (!editor) return;
    editor->ProcessEvents();
    editor->Tick();
  }

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid)) {
      *obj = static_cast<Linux::IEventHandler*>(this);
    } else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid)) {
      *obj = static_cast<Linux::ITimerHandler*>(this);
    } else {
      *obj = nullptr;
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return uint32(++references); }
  uint32 PLUGIN_API release() override {
    const int left = --references;
    if (left == 0) delete this;
    return uint32(left);
  }

 private:
  ~X11RunLoopLink() = default;

  std::atomic<int> references{1};
  IGraphicsX11* editor;
  Linux::IRunLoop* runLoop;  ///< the reference queryInterface gave
};

void IPlugVST3View::AttachRunLoop() {
  DetachRunLoop();
  auto* editor = dynamic_cast<IGraphicsX11*>(plugin ? plugin->Editor() : nullptr);
  if (!editor || !editor->IsWindowOpen() || !plugFrame) return;
  Linux::IRunLoop* runLoop = nullptr;
  if (plugFrame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&runLoop)) !=
          kResultOk ||
      !runLoop) {
    return;  // a host without a run loop gets a window that is painted once
  }
  runLoopLink = new X11RunLoopLink(editor, runLoop);
}

void IPlugVST3View::DetachRunLoop() {
  if (!runLoopLink) return;
  runLoopLink->Detach();
  runLoopLink->release();
  runLoopLink = nullptr;
}
#endif
