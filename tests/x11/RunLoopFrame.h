#pragma once
// RunLoopFrame: a VST 3 host's plug-in frame for Linux, with or without the run loop
// (Linux::IRunLoop) that drives an embedded editor. The program runs the loop itself: it calls
// the event handlers whose descriptors are readable and the timers that are due. It records
// the sizes the view asks for and gives them to the view, as hosts do.

#include <poll.h>

#include <chrono>
#include <vector>

#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {

// The frame holds the references the plug-in's handlers are registered with and gives them
// back when they are unregistered.
class RunLoopFrame : public IPlugFrame, public Linux::IRunLoop {
 public:
  explicit RunLoopFrame(bool offersRunLoop) : offersRunLoop(offersRunLoop) {}

  // Records the size asked for and, as hosts do, gives it to the view.
  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override {
    if (!view || !size) return kInvalidArgument;
    resizes.push_back(*size);
    return view->onSize(size);
  }

  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                          Linux::FileDescriptor fd) override {
    if (!handler) return kInvalidArgument;
    handler->addRef();
    events.push_back({handler, fd});
    return kResultOk;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override {
    for (auto it = events.begin(); it != events.end(); ++it) {
      if (it->handler != handler) continue;
      handler->release();
      events.erase(it);
      return kResultOk;
    }
    return kInvalidArgument;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler,
                                   Linux::TimerInterval ms) override {
    if (!handler) return kInvalidArgument;
    handler->addRef();
    timers.push_back({handler, ms, std::chrono::steady_clock::now()});
    return kResultOk;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override {
    for (auto it = timers.begin(); it != timers.end(); ++it) {
      if (it->handler != handler) continue;
      handler->release();
      timers.erase(it);
      return kResultOk;
    }
    return kInvalidArgument;
  }

  // One pass of the host's loop: readable descriptors, then due timers. Never waits.
  void RunOnce() {
    for (size_t i = 0; i < events.size(); ++i) {
      pollfd fd{events[i].fd, POLLIN, 0};
      if (poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) events[i].handler->onFDIsSet(events[i].fd);
    }
    const auto now = std::chrono::steady_clock::now();
    for (size_t i = 0; i < timers.size(); ++i) {
      if (now - timers[i].last < std::chrono::milliseconds(timers[i].ms)) continue;
      timers[i].last = now;
      timers[i].handler->onTimer();
    }
  }

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, IPlugFrame::iid)) {
      *obj = static_cast<IPlugFrame*>(this);
    } else if (offersRunLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
      *obj = static_cast<Linux::IRunLoop*>(this);
    } else {
      *obj = nullptr;
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return uint32(++references); }
  uint32 PLUGIN_API release() override { return uint32(--references); }

  struct EventEntry {
    Linux::IEventHandler* handler;
    Linux::FileDescriptor fd;
  };
  struct TimerEntry {
    Linux::ITimerHandler* handler;
    Linux::TimerInterval ms;
    std::chrono::steady_clock::time_point last;
  };
  bool offersRunLoop;
  std::vector<ViewRect> resizes;
  std::vector<EventEntry> events;
  std::vector<TimerEntry> timers;
  int references = 0;
};

}  // namespace Steinberg
