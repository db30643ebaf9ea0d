#include "HostObjects.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API TestStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  const bool fails = failingRead >= 0 && reads >= failingRead;
  ++reads;
  if (numBytesRead) *numBytesRead = 0;
  if (fails || !buffer || numBytes < 0) return kResultFalse;
  const size_t count = std::min(size_t(numBytes), bytes.size() - position);
  if (count > 0) std::memcpy(buffer, bytes.data() + position, count);
  position += count;
  if (numBytesRead) *numBytesRead = int32(count);
  return kResultOk;
}

tresult PLUGIN_API TestStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (!buffer || numBytes < 0) return kResultFalse;
  const auto* from = static_cast<const uint8_t*>(buffer);
  if (bytes.size() < position + size_t(numBytes)) bytes.resize(position + size_t(numBytes));
  std::copy(from, from + numBytes, bytes.begin() + long(position));
  position += size_t(numBytes);
  if (numBytesWritten) *numBytesWritten = numBytes;
  return kResultOk;
}

tresult PLUGIN_API TestStream::seek(int64 pos, int32 mode, int64* result) {
  int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? int64(position) : int64(bytes.size());
  if (base + pos < 0) return kResultFalse;
  position = size_t(base + pos);
  if (result) *result = int64(position);
  return kResultOk;
}

tresult PLUGIN_API TestStream::tell(int64* pos) {
  if (!pos) return kResultFalse;
  *pos = int64(position);
  return kResultOk;
}

tresult PLUGIN_API TestValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (unreadable || index < 0 || index >= int32(points.size())) return kResultFalse;
  sampleOffset = points[size_t(index)].offset;
  value = points[size_t(index)].value;
  return kResultOk;
}

tresult PLUGIN_API TestValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  index = int32(points.size());
  points.push_back({sampleOffset, value});
  return kResultOk;
}

TestValueQueue& TestParameterChanges::Add(ParamID id, std::vector<double> values) {
  queues.emplace_back(id);
  int32 offset = 0;
  for (double value : values) queues.back().points.push_back({offset++, value});
  return queues.back();
}

IParamValueQueue* PLUGIN_API TestParameterChanges::getParameterData(int32 index) {
  if (index < 0 || index >= int32(queues.size())) return nullptr;
  return &queues[size_t(index)];
}

IParamValueQueue* PLUGIN_API TestParameterChanges::addParameterData(const ParamID& id,
                                                                    int32& index) {
  index = int32(queues.size());
  return &Add(id, {});
}

tresult PLUGIN_API TestHostApplication::getName(String128 out) {
  size_t i = 0;
  for (; name[i] && i < 127; ++i) out[i] = char16(name[i]);
  out[i] = 0;
  return kResultOk;
}

tresult PLUGIN_API TestComponentHandler::beginEdit(ParamID) {
  ++calls;
  return kResultOk;
}

tresult PLUGIN_API TestComponentHandler::performEdit(ParamID, ParamValue) {
  ++calls;
  return kResultOk;
}

tresult PLUGIN_API TestComponentHandler::endEdit(ParamID) {
  ++calls;
  return kResultOk;
}

tresult PLUGIN_API TestComponentHandler::restartComponent(int32) {
  ++calls;
  return kResultOk;
}
