#include "TestAdaptor.h"

RecordingAdaptor::RecordingAdaptor(const IPlugIdentity& identity, int pluginApi)
    : IPlugBase(identity, pluginApi) {}

void RecordingAdaptor::BeginParamGesture(int paramIdx) {
  calls.push_back({AdaptorCall::BeginGesture, paramIdx, 0.0});
}

void RecordingAdaptor::InformHostParamValue(int paramIdx, double normalized) {
  calls.push_back({AdaptorCall::InformValue, paramIdx, normalized});
}

void RecordingAdaptor::EndParamGesture(int paramIdx) {
  calls.push_back({AdaptorCall::EndGesture, paramIdx, 0.0});
}

void RecordingAdaptor::NotifyHostPresetChange() {
  calls.push_back({AdaptorCall::PresetChange, -1, 0.0});
}

void RecordingAdaptor::HostTimeSignature(int* numerator, int* denominator) {
  if (numerator) *numerator = hostTime.numerator;
  if (denominator) *denominator = hostTime.denominator;
}

void RecordingAdaptor::HostTime(HostTimeInfo* info) {
  if (info) *info = hostTime;
}

void RecordingAdaptor::ResizeEditor(int width, int height) {
  calls.push_back({AdaptorCall::Resize, width, double(height)});
}

bool RecordingAdaptor::SendMidiToHost(const MidiMessage* message) {
  if (!message) return false;
  midiSent.push_back(*message);
  calls.push_back({AdaptorCall::MidiOut, message->status, 0.0});
  return true;
}

std::vector<AdaptorCall> RecordingAdaptor::CallsOf(AdaptorCall::Kind kind) const {
  std::vector<AdaptorCall> matching;
  for (const AdaptorCall& call : calls) {
    if (call.kind == kind) matching.push_back(call);
  }
  return matching;
}
