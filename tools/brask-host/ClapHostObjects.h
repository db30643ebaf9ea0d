#pragma once
// The host-side CLAP objects brask-host (and the CLAP tests) hand to a plug-in: the host record
// with the extensions a DAW offers, the event lists of a process or flush call, and byte
// streams for the state calls. They record what the plug-in asks of them; the caller runs
// timers and descriptors and reads what was sent.

#include <cstdint>
#include <utility>
#include <vector>

#include "clap/abi/ClapExtensions.h"

class ClapHost {
 public:
  explicit ClapHost(const char* name = "brask-host");
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap_host_t* Record() const { return &record; }

  // Which host extensions are offered (all by default).
  bool offerParams = true;
  bool offerGui = true;
  bool offerTimers = true;
  bool offerFds = true;

  // What the plug-in asked for.
  struct Timer {
    clap_id id;
    uint32_t periodMs;
  };
  std::vector<Timer> timers;  ///< registered and not unregistered
  std::vector<int> fds;       ///< registered and not unregistered
  int flushRequests = 0;
  std::vector<std::pair<uint32_t, uint32_t>> resizeRequests;

 private:
  static ClapHost& Of(const clap_host_t* host);
  static const void* GetExtension(const clap_host_t* host, const char* id);
  static void RequestNothing(const clap_host_t*) {}
  static void RequestFlush(const clap_host_t* host);
  static void Rescan(const clap_host_t*, uint32_t) {}
  static void Clear(const clap_host_t*, clap_id, uint32_t) {}
  static bool RequestResize(const clap_host_t* host, uint32_t width, uint32_t height);
  static bool RegisterTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id);
  static bool UnregisterTimer(const clap_host_t* host, clap_id id);
  static bool RegisterFd(const clap_host_t* host, int fd, uint32_t flags);
  static bool ModifyFd(const clap_host_t* host, int fd, uint32_t flags);
  static bool UnregisterFd(const clap_host_t* host, int fd);

  clap_host_t record{};
  clap_host_params_t params{};
  clap_host_gui_t gui{};
  clap_host_timer_support_t timerSupport{};
  clap_host_posix_fd_support_t fdSupport{};
  clap_id nextTimerId = 1;
};

// An input event list: events in the order added, each copied whole.
class ClapEventList {
 public:
  ClapEventList();
  void AddParamValue(clap_id id, double value, uint32_t time = 0);
  // Any event, as raw bytes beginning with its header.
  void AddRaw(const void* event, size_t size);
  void Clear() { events.clear(); }
  bool Empty() const { return events.empty(); }
  const clap_input_events_t* Input() const { return &list; }

 private:
  static uint32_t Size(const clap_input_events_t* list);
  static const clap_event_header_t* Get(const clap_input_events_t* list, uint32_t index);

  std::vector<std::vector<uint64_t>> events;  ///< 8-byte words keep every event aligned
  clap_input_events_t list{};
};

// An output event list that keeps what the plug-in pushes.
class ClapOutputEvents {
 public:
  ClapOutputEvents();
  struct Sent {
    uint16_t type;
    clap_id param;
    double value;  ///< for value events
  };
  std::vector<Sent> sent;
  const clap_output_events_t* Output() const { return &list; }

 private:
  static bool TryPush(const clap_output_events_t* list, const clap_event_header_t* event);
  clap_output_events_t list{};
};

// A stream that takes what the plug-in writes.
class ClapWriteStream {
 public:
  ClapWriteStream();
  std::vector<uint8_t> bytes;
  int failAfterWrites = -1;  ///< fail every write from this one on (-1: never)
  const clap_ostream_t* Stream() const { return &stream; }

 private:
  static int64_t Write(const clap_ostream_t* stream, const void* buffer, uint64_t size);
  clap_ostream_t stream{};
  int writes = 0;
};

// A stream that hands out bytes, at most chunkBytes per read, and may fail from a read on.
class ClapReadStream {
 public:
  explicit ClapReadStream(std::vector<uint8_t> bytes = {});
  std::vector<uint8_t> bytes;
  uint64_t chunkBytes = UINT64_MAX;
  int failFromRead = -1;  ///< answer -1 from this read on (-1: never)
  const clap_istream_t* Stream() const { return &stream; }

 private:
  static int64_t Read(const clap_istream_t* stream, void* buffer, uint64_t size);
  clap_istream_t stream{};
  size_t position = 0;
  int reads = 0;
};
