#include <algorithm>
#include <cmath>
#include <cstring>

#include "ProbeLog.h"
#include "ProbeVst3.h"
#include "base/source/fstreamer.h"
#include "pluginterfaces/vst/ivstmessage.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace probe {

namespace {

constexpr int32 kMaxSyncs = 100;

}  // namespace

tresult PLUGIN_API Controller::initialize(FUnknown* context) {
  if (EditController::initialize(context) != kResultOk) return kResultFalse;
  ProbeLog("controller initialize");
  parameters.addParameter(
      new RangeParameter(STR16("Gain"), kGainId, STR16("dB"), kMinGainDb, kMaxGainDb, 0.0));
  parameters.addParameter(STR16("Handshake"), nullptr, 1, 0.0, ParameterInfo::kIsReadOnly,
                          kHandshakeId);
  parameters.addParameter(new RangeParameter(STR16("State Syncs"), kStateSyncsId, nullptr, 0,
                                             kMaxSyncs, 0, kMaxSyncs, ParameterInfo::kIsReadOnly));
  return kResultOk;
}

tresult PLUGIN_API Controller::terminate() {
  ProbeLog("controller terminate");
  return EditController::terminate();
}

tresult PLUGIN_API Controller::connect(IConnectionPoint* other) {
  ProbeLog("controller connect");
  return EditController::connect(other);
}

tresult PLUGIN_API Controller::disconnect(IConnectionPoint* other) {
  ProbeLog("controller disconnect");
  return EditController::disconnect(other);
}

tresult PLUGIN_API Controller::notify(IMessage* message) {
  if (!message || !message->getMessageID()) return kInvalidArgument;
  if (std::strcmp(message->getMessageID(), "hello") != 0) return kResultFalse;
  ProbeLog("controller got hello");
  setParamNormalized(kHandshakeId, 1.0);
  return kResultOk;
}

tresult PLUGIN_API Controller::setComponentState(IBStream* state) {
  IBStreamer reader(state, kLittleEndian);
  double gainDb = 0.0;
  if (!reader.readDouble(gainDb) || !std::isfinite(gainDb)) return kResultFalse;
  ++stateSyncs;
  ProbeLog("controller setComponentState");
  setParamNormalized(kGainId, (gainDb - kMinGainDb) / (kMaxGainDb - kMinGainDb));
  setParamNormalized(kStateSyncsId, double(std::min(stateSyncs, kMaxSyncs)) / kMaxSyncs);
  return kResultOk;
}

}  // namespace probe
