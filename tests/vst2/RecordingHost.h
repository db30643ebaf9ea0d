#pragma once
// RecordingHost: the host side of a VST 2 test. Its callback answers the plug-in's requests from
// fields a test sets (product string, vendor version, transport record, process level) and
// records every request, so tests can check what the plug-in asked and told the host:
// automation, edit gestures, events, identification requests.
//
// The callback carries no host pointer, so hosts are found by effect record; requests made
// while an effect is still being created go to the host that is creating it.

#include <string>
#include <vector>

#include "vst2/AEffect.h"
#include "vst2/VstRecords.h"

class RecordingHost {
 public:
  struct Request {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
  };

  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  // Calls entry with this host's callback; the effect (if any) is then served by this host.
  AEffect* Create(VstPluginMainProc entry);
  // Lets this host answer for an effect created elsewhere (for example by adaptor tests).
  void Serve(AEffect* effect);
  static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  int CountOf(VstInt32 opcode) const;
  std::vector<Request> RequestsOf(VstInt32 opcode) const;

  // ---answers---
  std::string productString = "Test Host";
  VstIntPtr vendorVersion = 10203;
  bool hasTime = true;
  VstTimeInfo time = {};
  VstIntPtr processLevel = 1;
  VstIntPtr processEventsAnswer = 1;

  // ---records---
  std::vector<Request> requests;
  std::vector<VstMidiEvent> midiEvents;        // copies of events sent to the host
  std::vector<VstMidiSysexEvent> sysexEvents;  // copies; sysexDump points at the sender's bytes
  std::vector<VstInt32> timeRequestFlags;      // the value of every audioMasterGetTime

 private:
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  void RecordEvents(const VstEvents* events);
};
