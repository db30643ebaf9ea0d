// The built Brask.clap's editor embedded in a host window through clap.gui on Windows (under
// Wine on a virtual display): the panel opens as a child window of the panel's size, follows
// set_scale, and show, hide and destroy work in any order.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ClapPlugin.h"

namespace {

// The host's window: a plain top-level window the editor opens inside.
struct HostWindow {
  HostWindow() {
    handle = CreateWindowExW(0, L"STATIC", L"CLAP host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             1800, 1100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostWindow() {
    if (handle) DestroyWindow(handle);
  }
  HWND Child() const { return GetWindow(handle, GW_CHILD); }
  HWND handle;
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST(ClapWinEditor, EmbeddedInTheHostsWindowAtItsScale) {
  HostWindow host;
  ASSERT_NE(host.handle, nullptr);
  std::string error;
  auto plugin = ClapPlugin::Load(BRASK_CLAP_MODULE_PATH, "", &error);
  ASSERT_TRUE(plugin) << error;
  const clap_plugin_t* p = plugin->Instance();
  const auto* gui = plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(p->get_extension(p, CLAP_EXT_TIMER_SUPPORT), nullptr) << "the window keeps its own";
  EXPECT_FALSE(gui->is_api_supported(p, CLAP_WINDOW_API_X11, false));
  const char* api = nullptr;
  bool floating = true;
  ASSERT_TRUE(gui->get_preferred_api(p, &api, &floating));
  EXPECT_STREQ(api, CLAP_WINDOW_API_WIN32);
  EXPECT_FALSE(floating);
  ASSERT_TRUE(gui->create(p, CLAP_WINDOW_API_WIN32, false));
  ASSERT_TRUE(gui->set_scale(p, 1.0));
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 796u);
  EXPECT_EQ(h, 472u);
  clap_window_t window{};
  window.api = CLAP_WINDOW_API_WIN32;
  window.win32 = host.handle;
  ASSERT_TRUE(gui->set_parent(p, &window));
  ASSERT_TRUE(gui->show(p));
  Pump();
  HWND editor = host.Child();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(ClientSize(editor).cx, 796);
  EXPECT_EQ(ClientSize(editor).cy, 472);

  ASSERT_TRUE(gui->set_scale(p, 1.5));
  Pump();
  ASSERT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 1194u);
  EXPECT_EQ(h, 708u);
  EXPECT_EQ(ClientSize(host.Child()).cx, 1194);
  ASSERT_FALSE(plugin->Host().resizeRequests.empty());
  EXPECT_EQ(plugin->Host().resizeRequests.back(), std::make_pair(1194u, 708u));

  ASSERT_TRUE(gui->hide(p));
  Pump();
  EXPECT_EQ(host.Child(), nullptr);
  ASSERT_TRUE(gui->show(p));
  Pump();
  EXPECT_NE(host.Child(), nullptr);
  gui->destroy(p);
  Pump();
  EXPECT_EQ(host.Child(), nullptr);
  gui->destroy(p);
  EXPECT_FALSE(gui->show(p));
}

}  // namespace
