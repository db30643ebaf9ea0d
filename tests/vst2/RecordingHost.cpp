#include "RecordingHost.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

std::map<AEffect*, RecordingHost*>& Hosts() {
  static std::map<AEffect*, RecordingHost*> hosts;
  return hosts;
}

RecordingHost* gCreatingHost = nullptr;

}  // namespace

RecordingHost::RecordingHost() = default;

RecordingHost::~RecordingHost() {
  auto& hosts = Hosts();
  for (auto it = hosts.begin(); it != hosts.end();) {
    it = it->second == this ? hosts.erase(it) : std::next(it);
  }
}

AEffect* RecordingHost::Create(VstPluginMainProc entry) {
  if (!entry) return nullptr;
  gCreatingHost = this;
  AEffect* effect = entry(Callback);
  gCreatingHost = nullptr;
  if (effect) Serve(effect);
  return effect;
}

void RecordingHost::Serve(AEffect* effect) { Hosts()[effect] = this; }

VstIntPtr RecordingHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  auto found = Hosts().find(effect);
  RecordingHost* host = found != Hosts().end() ? found->second : gCreatingHost;
  if (!host) return 0;
  host->requests.push_back({opcode, index, value, opt});
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr RecordingHost::Answer(VstInt32 opcode, VstInt32, VstIntPtr value, void* ptr, float) {
  switch (opcode) {
    case audioMasterGetProductString:
      if (!ptr) return 0;
      strncpy(static_cast<char*>(ptr), productString.c_str(), kVstMaxProductStrLen - 1);
      static_cast<char*>(ptr)[kVstMaxProductStrLen - 1] = '\0';
      return productString.empty() ? 0 : 1;
    case audioMasterGetVendorVersion:
      return vendorVersion;
    case audioMasterGetTime:
      timeRequestFlags.push_back(VstInt32(value));
      return hasTime ? reinterpret_cast<VstIntPtr>(&time) : 0;
    case audioMasterGetCurrentProcessLevel:
      return processLevel;
    case audioMasterProcessEvents:
      RecordEvents(static_cast<const VstEvents*>(ptr));
      return processEventsAnswer;
    default:
      return 0;
  }
}

void RecordingHost::RecordEvents(const VstEvents* events) {
  if (!events) return;
  for (int i = 0; i < events->numEvents && i < 2; ++i) {
    const VstEvent* event = events->events[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      midiEvents.push_back(*reinterpret_cast<const VstMidiEvent*>(event));
    } else if (event->type == kVstSysExType) {
      sysexEvents.push_back(*reinterpret_cast<const VstMidiSysexEvent*>(event));
    }
  }
}

int RecordingHost::CountOf(VstInt32 opcode) const {
  return int(std::count_if(requests.begin(), requests.end(),
                           [opcode](const Request& r) { return r.opcode == opcode; }));
}

std::vector<RecordingHost::Request> RecordingHost::RequestsOf(VstInt32 opcode) const {
  std::vector<Request> found;
  for (const Request& r : requests) {
    if (r.opcode == opcode) found.push_back(r);
  }
  return found;
}
