#pragma once
// The host side of the VST 3 fuzz targets and stress tests: a byte stream that can fail or
// come up short at any read, parameter queues that hand over whatever they were given, and an
// instance made through the module's own factory (GetPluginFactory), with its processor and
// controller interfaces. The host objects live on the stack of one call: their reference
// counts are not used.

#include <cstring>
#include <vector>

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "vst3/BraskFactory.h"

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();

// FUnknown for objects owned by the test: one interface, counts ignored.
#define FUZZ_HOST_OBJECT(Interface)                                                              \
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override { \
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||                             \
        Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {                   \
      *obj = this;                                                                               \
      return Steinberg::kResultOk;                                                               \
    }                                                                                            \
    *obj = nullptr;                                                                              \
    return Steinberg::kNoInterface;                                                              \
  }                                                                                              \
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }                                   \
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

// A stream over bytes in memory. Reads may be made to fail from a given read call on, or to
// deliver fewer bytes than asked while still answering success, as broken hosts do.
class FuzzStream : public Steinberg::IBStream {
 public:
  FuzzStream() = default;
  explicit FuzzStream(std::vector<uint8_t> bytes) : data(std::move(bytes)) {}

  std::vector<uint8_t> data;
  int failFromRead = -1;           ///< index of the first read call that fails; -1: none fails
  int shortByBytes = 0;            ///< reads deliver this many bytes fewer than asked
  bool shortReadsSucceed = false;  ///< a read that delivers less than asked still answers ok
  int readCalls = 0;

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override {
    if (numBytesRead) *numBytesRead = 0;
    const int call = readCalls++;
    if (!buffer || numBytes < 0) return Steinberg::kInvalidArgument;
    if (failFromRead >= 0 && call >= failFromRead) return Steinberg::kResultFalse;
    size_t n = std::min(size_t(numBytes), data.size() - pos);
    n = n > size_t(shortByBytes) ? n - size_t(shortByBytes) : 0;
    if (n > 0) std::memcpy(buffer, data.data() + pos, n);
    pos += n;
    if (numBytesRead) *numBytesRead = Steinberg::int32(n);
    return n == size_t(numBytes) || shortReadsSucceed ? Steinberg::kResultOk
                                                      : Steinberg::kResultFalse;
  }
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override {
    if (numBytesWritten) *numBytesWritten = 0;
    if (!buffer || numBytes < 0) return Steinberg::kInvalidArgument;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    data.insert(data.end(), bytes, bytes + numBytes);
    pos = data.size();
    if (numBytesWritten) *numBytesWritten = numBytes;
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 position, Steinberg::int32 mode,
                                     Steinberg::int64* result) override {
    Steinberg::int64 base = mode == kIBSeekCur   ? Steinberg::int64(pos)
                            : mode == kIBSeekEnd ? Steinberg::int64(data.size())
                                                 : 0;
    const Steinberg::int64 target = base + position;
    if (target < 0 || target > Steinberg::int64(data.size())) return Steinberg::kResultFalse;
    pos = size_t(target);
    if (result) *result = target;
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* position) override {
    if (position) *position = Steinberg::int64(pos);
    return Steinberg::kResultOk;
  }
  void Rewind() { pos = 0; }
  FUZZ_HOST_OBJECT(Steinberg::IBStream)

 private:
  size_t pos = 0;
};

// One parameter's points, as a host hands them over: any ID, any values, any count.
class FuzzQueue : public Steinberg::Vst::IParamValueQueue {
 public:
  Steinberg::Vst::ParamID id = 0;
  std::vector<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>> points;
  Steinberg::int32 claimedCount = -1;  ///< point count answered; -1: the true count

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
  Steinberg::int32 PLUGIN_API getPointCount() override {
    return claimedCount >= 0 ? claimedCount : Steinberg::int32(points.size());
  }
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override {
    if (index < 0 || size_t(index) >= points.size()) return Steinberg::kResultFalse;
    sampleOffset = points[size_t(index)].first;
    value = points[size_t(index)].second;
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32, Steinberg::Vst::ParamValue,
                                         Steinberg::int32&) override {
    return Steinberg::kResultFalse;
  }
  FUZZ_HOST_OBJECT(Steinberg::Vst::IParamValueQueue)
};

class FuzzChanges : public Steinberg::Vst::IParameterChanges {
 public:
  std::vector<FuzzQueue> queues;
  Steinberg::int32 claimedCount = -1;  ///< queue count answered; -1: the true count

  Steinberg::int32 PLUGIN_API getParameterCount() override {
    return claimedCount >= 0 ? claimedCount : Steinberg::int32(queues.size());
  }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override {
    return index >= 0 && size_t(index) < queues.size() ? &queues[size_t(index)] : nullptr;
  }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID&,
                                                                Steinberg::int32&) override {
    return nullptr;
  }
  FUZZ_HOST_OBJECT(Steinberg::Vst::IParameterChanges)
};

// One instance made through the module's factory, released again at the end.
class FuzzVst3Instance {
 public:
  FuzzVst3Instance() {
    Steinberg::IPluginFactory* factory = GetPluginFactory();
    if (!factory) return;
    void* object = nullptr;
    factory->createInstance(BraskComponentUID, Steinberg::Vst::IComponent::iid, &object);
    factory->release();
    component = static_cast<Steinberg::Vst::IComponent*>(object);
    if (!component) return;
    component->queryInterface(Steinberg::Vst::IAudioProcessor::iid,
                              reinterpret_cast<void**>(&processor));
    component->queryInterface(Steinberg::Vst::IEditController::iid,
                              reinterpret_cast<void**>(&controller));
    component->initialize(nullptr);
  }
  ~FuzzVst3Instance() {
    if (!component) return;
    component->setActive(false);
    component->terminate();
    if (processor) processor->release();
    if (controller) controller->release();
    component->release();
  }
  FuzzVst3Instance(const FuzzVst3Instance&) = delete;
  FuzzVst3Instance& operator=(const FuzzVst3Instance&) = delete;

  bool Valid() const { return component && processor && controller; }

  // Stereo in plus the side chain, stereo out, all buses active, set up for blocks of up to
  // maxBlock frames.
  void SetUp(Steinberg::int32 sampleSize, Steinberg::int32 maxBlock, double sampleRate = 44100.0) {
    Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, sampleSize, maxBlock, sampleRate};
    processor->setupProcessing(setup);
    // Hosts activate the buses they feed; inactive ones are not processed.
    component->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kInput, 0, true);
    component->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kInput, 1, true);
    component->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kOutput, 0, true);
    component->setActive(true);
    processor->setProcessing(true);
  }

  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;
};
