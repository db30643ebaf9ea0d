#pragma once
// Vst2HostContext: what brask-host answers when a VST 2 plug-in calls its host: who the host
// is and what it can do, the processing setup, and a transport that plays from the song start
// at 120 beats per minute in 4/4.
//
// One context belongs to each hosted instance. Requests that need no instance (version,
// vendor, capabilities) get the same answers from any context.

#include "HostedPlugin.h"
#include "vst2/AEffect.h"
#include "vst2/VstRecords.h"

class Vst2HostContext {
 public:
  Vst2HostContext();

  // The setup the next requests report (sample rate, block size, process level).
  void Configure(const ProcessSettings& settings);
  // Brackets a process call: the process level then names the audio thread.
  void BeginProcess() { processing = true; }
  // Ends the bracket and moves the transport on by the processed frames.
  void EndProcess(int frames);

  // The answer to one host-callback request.
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

 private:
  VstIntPtr ProcessLevel() const;
  VstIntPtr Time();

  ProcessSettings settings;
  VstTimeInfo time{};
  bool processing = false;  ///< inside a process call
};
