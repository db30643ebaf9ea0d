#pragma once
// The host side of the VST 3 conversation, as small objects a test owns: a byte stream that
// can withhold bytes or fail chosen reads, parameter change queues, a host application with a
// name, and a component handler that records what the plug-in tells it. They count
// references so tests can check the plug-in gives back what it takes, but never delete
// themselves: the test that made them owns them.

#include <cstdint>
#include <deque>
#include <vector>

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

// FUnknown for one interface, with a reference count nothing acts on.
template <class Interface>
class HostObject : public Interface {
 public:
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid) ||
        Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid)) {
      addRef();
      *obj = static_cast<Interface*>(this);
      return Steinberg::kResultOk;
    }
    *obj = nullptr;
    return Steinberg::kNoInterface;
  }
  Steinberg::uint32 PLUGIN_API addRef() override { return Steinberg::uint32(++references); }
  Steinberg::uint32 PLUGIN_API release() override { return Steinberg::uint32(--references); }

  int references = 0;  ///< references the plug-in holds right now
};

// A memory stream. Reads deliver what is left; reads from failingRead on (counting from 0)
// answer kResultFalse and deliver nothing.
class TestStream : public HostObject<Steinberg::IBStream> {
 public:
  explicit TestStream(std::vector<uint8_t> content = {}) : bytes(std::move(content)) {}

  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) override;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

  std::vector<uint8_t> bytes;
  size_t position = 0;
  int failingRead = -1;  ///< first read that fails; -1: none
  int reads = 0;         ///< reads asked for so far
};

class TestValueQueue : public HostObject<Steinberg::Vst::IParamValueQueue> {
 public:
  explicit TestValueQueue(Steinberg::Vst::ParamID id) : id(id) {}

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
  Steinberg::int32 PLUGIN_API getPointCount() override { return Steinberg::int32(points.size()); }
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  struct Point {
    Steinberg::int32 offset;
    double value;
  };
  Steinberg::Vst::ParamID id;
  std::vector<Point> points;
  bool unreadable = false;  ///< getPoint fails, as for a queue the host could not fill
};

class TestParameterChanges : public HostObject<Steinberg::Vst::IParameterChanges> {
 public:
  // Adds a queue for id with the given points (sample offsets 0, 1, 2, ...).
  TestValueQueue& Add(Steinberg::Vst::ParamID id, std::vector<double> values);

  Steinberg::int32 PLUGIN_API getParameterCount() override {
    return Steinberg::int32(queues.size());
  }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  std::deque<TestValueQueue> queues;  // deque: queues never move once added
};

class TestHostApplication : public HostObject<Steinberg::Vst::IHostApplication> {
 public:
  explicit TestHostApplication(const char* name) : name(name) {}
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 out) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID,
                                               void** obj) override {
    *obj = nullptr;
    return Steinberg::kResultFalse;
  }
  const char* name;
};

class TestComponentHandler : public HostObject<Steinberg::Vst::IComponentHandler> {
 public:
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  int calls = 0;  ///< every call the plug-in made
};
