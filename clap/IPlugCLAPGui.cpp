// IPlugCLAP: the editor, embedded in the host's window: X11 on Linux, Win32 on Windows.
//
// set_parent and show open the editor's window inside the host's; hide and destroy close it,
// so they may come in any order. On Linux the host's main loop drives the window, as CLAP
// requires: a timer of the editor's period paints it, and the X connection's descriptor runs its
// events when it becomes readable (the timer runs them too, for events Xlib has already read).
// The Windows window brings its own timer. Sizes follow the editor's window scale, which a
// host's set_scale chooses; the panel cannot be resized otherwise.

#include <cstring>

#include "clap/IPlugCLAP.h"
#include "gui/IGraphics.h"
#if defined(BRASK_X11)
#include "gui/x11/IGraphicsX11.h"
#endif

namespace {

#ifdef _WIN32
constexpr const char* kWindowApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char* kWindowApi = CLAP_WINDOW_API_X11;
#endif

bool IsOurApi(const char* api) { return api && std::strcmp(api, kWindowApi) == 0; }

}  // namespace

bool IPlugCLAP::IsGuiApiSupported(const char* api, bool isFloating) {
  return Editor() && !isFloating && IsOurApi(api);
}

bool IPlugCLAP::CreateGui(const char* api, bool isFloating) {
  if (mGuiCreated || !IsGuiApiSupported(api, isFloating)) return false;
  mGuiCreated = true;
  return true;
}

void IPlugCLAP::DestroyGui() {
  CloseGuiWindow();
  mGuiCreated = false;
  mParentWindow = nullptr;
}

bool IPlugCLAP::SetGuiScale(double scale) { return mGuiCreated && Editor()->SetWindowScale(scale); }

bool IPlugCLAP::GuiSize(uint32_t* width, uint32_t* height) {
  if (!mGuiCreated || !width || !height) return false;
  // Until the host chooses a scale, the system's applies.
  Editor()->FollowSystemScale();
  *width = uint32_t(Editor()->WindowWidth());
  *height = uint32_t(Editor()->WindowHeight());
  return true;
}

bool IPlugCLAP::SetGuiSize(uint32_t width, uint32_t height) {
  uint32_t w = 0, h = 0;
  return GuiSize(&w, &h) && width == w && height == h;
}

bool IPlugCLAP::SetGuiParent(const clap_window_t* window) {
  if (!mGuiCreated || !window || !IsOurApi(window->api)) return false;
  CloseGuiWindow();
#ifdef _WIN32
  mParentWindow = window->win32;
#else
  mParentWindow = reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11));
#endif
  return mParentWindow && OpenGuiWindow();
}

bool IPlugCLAP::ShowGui() {
  if (!mGuiCreated || !mParentWindow) return false;
  return Editor()->IsWindowOpen() || OpenGuiWindow();
}

bool IPlugCLAP::HideGui() {
  if (!mGuiCreated) return false;
  CloseGuiWindow();
  return true;
}

bool IPlugCLAP::OpenGuiWindow() {
  IGraphics* editor = Editor();
#if defined(BRASK_X11)
  // Without the host's timer nothing would ever paint the window.
  if (!mHostTimers || !mHostTimers->register_timer || !mHostTimers->unregister_timer) return false;
  if (!editor->OpenEditorWindow(mParentWindow)) return false;
  auto* x11 = static_cast<IGraphicsX11*>(editor);
  clap_id timer = CLAP_INVALID_ID;
  if (!mHostTimers->register_timer(mHost, uint32_t(IGraphicsX11::TimerPeriodMs()), &timer)) {
    editor->CloseEditorWindow();
    return false;
  }
  mTimerRegistered = true;
  mTimerId = timer;
  const int fd = x11->ConnectionFd();
  if (mHostFds && mHostFds->register_fd && mHostFds->unregister_fd && fd >= 0 &&
      mHostFds->register_fd(mHost, fd, CLAP_POSIX_FD_READ)) {
    mRegisteredFd = fd;
  }
#else
  if (!editor->OpenEditorWindow(mParentWindow)) return false;
#endif
  OnEditorOpened();
  return true;
}

void IPlugCLAP::CloseGuiWindow() {
  IGraphics* editor = Editor();
  if (mTimerRegistered) mHostTimers->unregister_timer(mHost, mTimerId);
  if (mRegisteredFd >= 0) mHostFds->unregister_fd(mHost, mRegisteredFd);
  mTimerRegistered = false;
  mTimerId = CLAP_INVALID_ID;
  mRegisteredFd = -1;
  if (editor && editor->IsWindowOpen()) {
    OnEditorClosed();
    editor->CloseEditorWindow();
  }
}

void IPlugCLAP::OnTimer(clap_id timerId) {
#if defined(BRASK_X11)
  if (!mTimerRegistered || timerId != mTimerId) return;
  auto* x11 = static_cast<IGraphicsX11*>(Editor());
  x11->ProcessEvents();
  x11->Tick();
#else
  (void)timerId;
#endif
}

void IPlugCLAP::OnFd(int fd, uint32_t) {
#if defined(BRASK_X11)
  if (fd < 0 || fd != mRegisteredFd) return;
  static_cast<IGraphicsX11*>(Editor())->ProcessEvents();
#else
  (void)fd;
#endif
}
