#include "ClapHostObjects.h"

#include <algorithm>
#include <cstring>

ClapHost::ClapHost(const char* name) {
  record.clap_version = kClapVersion;
  record.host_data = this;
  record.name = name;
  record.vendor = "Wyrdworks";
  record.url = "";
  record.version = "1.0";
  record.get_extension = GetExtension;
  record.request_restart = RequestNothing;
  record.request_process = RequestNothing;
  record.request_callback = RequestNothing;
  params = {Rescan, Clear, RequestFlush};
  gui = {RequestNothing, RequestResize, [](const clap_host_t*) { return false; },
         [](const clap_host_t*) { return false; }, [](const clap_host_t*, bool) {}};
  timerSupport = {RegisterTimer, UnregisterTimer};
  fdSupport = {RegisterFd, ModifyFd, UnregisterFd};
}

ClapHost& ClapHost::Of(const clap_host_t* host) { return *static_cast<ClapHost*>(host->host_data); }

const void* ClapHost::GetExtension(const clap_host_t* host, const char* id) {
  ClapHost& self = Of(host);
  if (!id) return nullptr;
  if (self.offerParams && std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &self.params;
  if (self.offerGui && std::strcmp(id, CLAP_EXT_GUI) == 0) return &self.gui;
  if (self.offerTimers && std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &self.timerSupport;
  if (self.offerFds && std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0) return &self.fdSupport;
  return nullptr;
}

void ClapHost::RequestFlush(const clap_host_t* host) { ++Of(host).flushRequests; }

bool ClapHost::RequestResize(const clap_host_t* host, uint32_t width, uint32_t height) {
  Of(host).resizeRequests.emplace_back(width, height);
  return true;
}

bool ClapHost::RegisterTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id) {
  ClapHost& self = Of(host);
  if (!id) return false;
  *id = self.nextTimerId++;
  self.timers.push_back({*id, periodMs});
  return true;
}

bool ClapHost::UnregisterTimer(const clap_host_t* host, clap_id id) {
  auto& timers = Of(host).timers;
  auto found =
      std::find_if(timers.begin(), timers.end(), [id](const Timer& t) { return t.id == id; });
  if (found == timers.end()) return false;
  timers.erase(found);
  return true;
}

bool ClapHost::RegisterFd(const clap_host_t* host, int fd, uint32_t) {
  Of(host).fds.push_back(fd);
  return true;
}

bool ClapHost::ModifyFd(const clap_host_t* host, int fd, uint32_t) {
  const auto& fds = Of(host).fds;
  return std::find(fds.begin(), fds.end(), fd) != fds.end();
}

bool ClapHost::UnregisterFd(const clap_host_t* host, int fd) {
  auto& fds = Of(host).fds;
  auto found = std::find(fds.begin(), fds.end(), fd);
  if (found == fds.end()) return false;
  fds.erase(found);
  return true;
}

//---ClapEventList---

ClapEventList::ClapEventList() {
  list.ctx = this;
  list.size = Size;
  list.get = Get;
}

void ClapEventList::AddParamValue(clap_id id, double value, uint32_t time) {
  clap_event_param_value_t event{};
  event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  event.param_id = id;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  AddRaw(&event, sizeof event);
}

void ClapEventList::AddRaw(const void* event, size_t size) {
  std::vector<uint64_t> words((size + 7) / 8, 0);
  std::memcpy(words.data(), event, size);
  events.push_back(std::move(words));
}

uint32_t ClapEventList::Size(const clap_input_events_t* list) {
  return uint32_t(static_cast<const ClapEventList*>(list->ctx)->events.size());
}

const clap_event_header_t* ClapEventList::Get(const clap_input_events_t* list, uint32_t index) {
  const auto& events = static_cast<const ClapEventList*>(list->ctx)->events;
  if (index >= events.size()) return nullptr;
  return reinterpret_cast<const clap_event_header_t*>(events[index].data());
}

//---ClapOutputEvents---

ClapOutputEvents::ClapOutputEvents() {
  list.ctx = this;
  list.try_push = TryPush;
}

bool ClapOutputEvents::TryPush(const clap_output_events_t* list, const clap_event_header_t* event) {
  if (!event || event->size < sizeof(clap_event_header_t)) return false;
  auto* self = static_cast<ClapOutputEvents*>(list->ctx);
  Sent sent{event->type, CLAP_INVALID_ID, 0.0};
  if (event->type == CLAP_EVENT_PARAM_VALUE && event->size >= sizeof(clap_event_param_value_t)) {
    clap_event_param_value_t value;
    std::memcpy(&value, event, sizeof value);
    sent.param = value.param_id;
    sent.value = value.value;
  } else if (event->size >= sizeof(clap_event_param_gesture_t)) {
    clap_event_param_gesture_t gesture;
    std::memcpy(&gesture, event, sizeof gesture);
    sent.param = gesture.param_id;
  }
  self->sent.push_back(sent);
  return true;
}

//---streams---

ClapWriteStream::ClapWriteStream() {
  stream.ctx = this;
  stream.write = Write;
}

int64_t ClapWriteStream::Write(const clap_ostream_t* stream, const void* buffer, uint64_t size) {
  auto* self = static_cast<ClapWriteStream*>(stream->ctx);
  if (self->failAfterWrites >= 0 && self->writes++ >= self->failAfterWrites) return -1;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  self->bytes.insert(self->bytes.end(), bytes, bytes + size);
  return int64_t(size);
}

ClapReadStream::ClapReadStream(std::vector<uint8_t> data) : bytes(std::move(data)) {
  stream.ctx = this;
  stream.read = Read;
}

int64_t ClapReadStream::Read(const clap_istream_t* stream, void* buffer, uint64_t size) {
  auto* self = static_cast<ClapReadStream*>(stream->ctx);
  if (self->failFromRead >= 0 && self->reads >= self->failFromRead) return -1;
  ++self->reads;
  const uint64_t left = self->bytes.size() - self->position;
  const uint64_t n = std::min({size, left, self->chunkBytes});
  if (n > 0) std::memcpy(buffer, self->bytes.data() + self->position, size_t(n));
  self->position += size_t(n);
  return int64_t(n);
}
