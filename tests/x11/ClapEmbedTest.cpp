// The built Brask.clap's editor embedded in a test host's X window through clap.gui, driven by
// the host's timer and the X connection's descriptor as a CLAP host drives it: the panel on
// screen equals the reference, a drag on a knob reaches the host as a gesture, sizes follow
// set_scale, and show, hide and destroy work in any order.

#include <gtest/gtest.h>

#include <string>

#include "ClapPlugin.h"
#include "ReferencePanel.h"
#include "X11TestHost.h"

namespace {

struct Embedded {
  Embedded() {
    std::string error;
    plugin = ClapPlugin::Load(BRASK_CLAP_MODULE_PATH, "", &error);
    EXPECT_TRUE(plugin) << error;
    gui = plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
    timers = plugin->Ext<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    fds = plugin->Ext<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
    p = plugin->Instance();
  }
  // One turn of the host's main loop: the descriptor (when readable) and every timer.
  void RunLoop() {
    for (int fd : plugin->Host().fds) fds->on_fd(p, fd, CLAP_POSIX_FD_READ);
    for (const auto& timer : plugin->Host().timers) timers->on_timer(p, timer.id);
  }
  Window EditorWindow(X11TestHost& host) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(host.Dpy(), host.TopLevel(), &root, &parent, &children, &count);
    const Window child = count > 0 ? children[count - 1] : 0;
    if (children) XFree(children);
    return child;
  }
  std::unique_ptr<ClapPlugin> plugin;
  const clap_plugin_gui_t* gui = nullptr;
  const clap_plugin_timer_support_t* timers = nullptr;
  const clap_plugin_posix_fd_support_t* fds = nullptr;
  const clap_plugin_t* p = nullptr;
};

TEST(ClapX11Editor, EmbeddedPanelRunsFromTheHostsLoop) {
  X11TestHost host;
  ASSERT_TRUE(host.Ready()) << "the editor tests need an X display with XTEST";
  Embedded e;
  ASSERT_TRUE(e.gui && e.timers && e.fds);
  EXPECT_FALSE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, true)) << "no floating window";
  EXPECT_FALSE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_WIN32, false));
  ASSERT_TRUE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, false));
  uint32_t w = 0, h = 0;
  EXPECT_FALSE(e.gui->get_size(e.p, &w, &h)) << "before create";
  ASSERT_TRUE(e.gui->create(e.p, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(e.gui->create(e.p, CLAP_WINDOW_API_X11, false)) << "create twice";
  ASSERT_TRUE(e.gui->set_scale(e.p, 1.0));
  EXPECT_FALSE(e.gui->set_scale(e.p, 7.0));
  EXPECT_FALSE(e.gui->can_resize(e.p));
  ASSERT_TRUE(e.gui->get_size(e.p, &w, &h));
  EXPECT_EQ(w, 796u);
  EXPECT_EQ(h, 472u);
  EXPECT_FALSE(e.gui->set_size(e.p, 800, 500));
  clap_window_t window{};
  window.api = CLAP_WINDOW_API_X11;
  window.x11 = host.TopLevel();
  ASSERT_TRUE(e.gui->set_parent(e.p, &window));
  ASSERT_TRUE(e.gui->show(e.p));
  ASSERT_EQ(e.plugin->Host().timers.size(), 1u) << "the tick comes from the host's timer";
  EXPECT_EQ(e.plugin->Host().timers[0].periodMs, 40u);
  ASSERT_EQ(e.plugin->Host().fds.size(), 1u) << "X events come through the host's fd loop";
  const Window editor = e.EditorWindow(host);
  ASSERT_NE(editor, 0u);
  ReferencePanel reference;
  std::vector<uint32_t> shown;
  EXPECT_TRUE(PumpUntil([&] { e.RunLoop(); },
                        [&] {
                          shown = host.Grab(editor, 0, 0, reference.Width(), reference.Height());
                          return PixelDifferences(shown, reference.RenderDefaults(),
                                                  reference.Width(),
                                                  reference.ControlRect(kPanelMeter)) == 0;
                        }))
      << "the panel on screen differs from the reference";

  // A drag on the "Attack" knob: the host hears begin, value and end.
  int x = 0, y = 0;
  reference.ControlCentre(kPanelAttackKnob, &x, &y);
  host.MoveTo(editor, x, y);
  host.Button(1, true);
  PumpFor([&] { e.RunLoop(); }, 100);
  host.MoveTo(editor, x, y - 30);
  PumpFor([&] { e.RunLoop(); }, 100);
  host.Button(1, false);
  PumpFor([&] { e.RunLoop(); }, 100);
  EXPECT_GT(e.plugin->Host().flushRequests, 0);
  ClapOutputEvents out;
  e.plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(e.p, nullptr, out.Output());
  ASSERT_GE(out.sent.size(), 3u);
  EXPECT_EQ(out.sent.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.sent.back().type, CLAP_EVENT_PARAM_GESTURE_END);
  EXPECT_EQ(out.sent.front().param, 2u);

  // Scale 2 while open: the host is asked for the new size.
  ASSERT_TRUE(e.gui->set_scale(e.p, 2.0));
  ASSERT_TRUE(e.gui->get_size(e.p, &w, &h));
  EXPECT_EQ(w, 1592u);
  EXPECT_EQ(h, 944u);
  ASSERT_FALSE(e.plugin->Host().resizeRequests.empty());
  EXPECT_EQ(e.plugin->Host().resizeRequests.back(), std::make_pair(1592u, 944u));

  // Hide, show, hide, destroy, destroy: nothing stays registered, the window goes and comes.
  ASSERT_TRUE(e.gui->hide(e.p));
  EXPECT_TRUE(e.plugin->Host().timers.empty());
  EXPECT_TRUE(e.plugin->Host().fds.empty());
  EXPECT_FALSE(host.WindowExists(editor));
  ASSERT_TRUE(e.gui->show(e.p));
  EXPECT_EQ(e.plugin->Host().timers.size(), 1u);
  EXPECT_NE(e.EditorWindow(host), 0u);
  e.gui->destroy(e.p);
  e.gui->destroy(e.p);
  EXPECT_TRUE(e.plugin->Host().timers.empty());
  EXPECT_TRUE(e.plugin->Host().fds.empty());
  EXPECT_FALSE(e.gui->show(e.p)) << "show after destroy";
  EXPECT_EQ(host.ErrorCount(), 0);
}

}  // namespace
