// The instance state as hosts save and restore it: eight little-endian doubles, then the
// adaptor's bypass flag as a little-endian 32-bit integer.

#include <gtest/gtest.h>

#include <cstring>

#include "Vst3Plugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void PutDouble(std::vector<uint8_t>& bytes, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i) bytes.push_back(uint8_t(bits >> (8 * i)));
}

double DoubleAt(const std::vector<uint8_t>& bytes, size_t pos) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= uint64_t(bytes[pos + size_t(i)]) << (8 * i);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

std::vector<uint8_t> StateBytes(std::vector<double> values, std::vector<uint8_t> tail) {
  std::vector<uint8_t> bytes;
  for (double value : values) PutDouble(bytes, value);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

class State : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plug.Valid());
    ASSERT_EQ(plug.component->initialize(&plug.host), kResultOk);
    ASSERT_EQ(plug.Setup(44100.0, 64, kSample64), kResultOk);
  }

  void SetBypass(double value) {
    TestParameterChanges changes;
    changes.Add(kBypassId, {value});
    ProcessRig rig(64, true);
    plug.processor->process(rig.Data(0, 0, 0, &changes));
  }

  std::vector<uint8_t> Saved() {
    TestStream stream;
    EXPECT_EQ(plug.controller->getState(&stream), kResultOk);
    return stream.bytes;
  }

  double Plain(ParamID id) {
    return plug.controller->normalizedParamToPlain(id, plug.controller->getParamNormalized(id));
  }

  Vst3Plugin plug;
};

}  // namespace

TEST_F(State, SavesEightDefaultsThenTheBypassFlag) {
  std::vector<uint8_t> bytes = Saved();
  ASSERT_EQ(bytes.size(), 68u);
  const double defaults[] = {0, 0, 10, 400, 100, 20, 1, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(DoubleAt(bytes, size_t(8 * i)), defaults[i]) << i;
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 64, bytes.end()),
            (std::vector<uint8_t>{0, 0, 0, 0}));

  SetBypass(1.0);
  plug.controller->setParamNormalized(kParamMix, 0.5);
  bytes = Saved();
  ASSERT_EQ(bytes.size(), 68u);
  EXPECT_EQ(DoubleAt(bytes, 32), 50.0);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 64, bytes.end()),
            (std::vector<uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(plug.controller->getState(nullptr), kInvalidArgument);
}

TEST_F(State, RestoresACompleteStreamAndSavesItBackUnchanged) {
  TestStream stream(StateBytes({12.5, -3.0, 25.0, 1000.0, 40.0, 120.0, 0.0, 1.0}, {1, 0, 0, 0}));
  ASSERT_EQ(plug.controller->setState(&stream), kResultOk);
  EXPECT_DOUBLE_EQ(Plain(kParamInput), 12.5);
  EXPECT_DOUBLE_EQ(Plain(kParamOutput), -3.0);
  EXPECT_DOUBLE_EQ(Plain(kParamRelease), 1000.0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamBypass), 0.0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kParamSidechain), 1.0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
  EXPECT_EQ(Saved(), stream.bytes);
}

TEST_F(State, ClampsRestoredValuesIntoTheirRanges) {
  TestStream stream(StateBytes({-10.0, 99.0, 1000.0, 5.0, 100.0, 20.0, 7.0, -2.0}, {0, 0, 0, 0}));
  ASSERT_EQ(plug.controller->setState(&stream), kResultOk);
  std::vector<uint8_t> bytes = Saved();
  const double clamped[] = {0.0, 20.0, 50.0, 100.0, 100.0, 20.0, 1.0, 0.0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(DoubleAt(bytes, size_t(8 * i)), clamped[i]) << i;
}

TEST_F(State, StreamOfOnlyTheParametersTurnsBypassOff) {
  SetBypass(1.0);
  TestStream stream(StateBytes({1, 2, 3, 400, 5, 60, 1, 0}, {}));
  EXPECT_EQ(plug.controller->setState(&stream), kResultOk);
  EXPECT_DOUBLE_EQ(Plain(kParamInput), 1.0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 0.0);
}

TEST_F(State, FailedBypassReadKeepsBypassButLoadsTheParameters) {
  SetBypass(1.0);
  TestStream stream(StateBytes({1, 2, 3, 400, 5, 60, 1, 0}, {0, 0, 0, 0}));
  stream.failingRead = 1;
  EXPECT_EQ(plug.controller->setState(&stream), kResultFalse);
  EXPECT_DOUBLE_EQ(Plain(kParamInput), 1.0);
  EXPECT_DOUBLE_EQ(Plain(kParamHpf), 60.0);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
}

// A stream that ends inside the parameters (a truncated preset) changes nothing at all.
TEST_F(State, ShortStreamFailsAndChangesNothing) {
  plug.controller->setParamNormalized(kParamMix, 0.5);
  SetBypass(1.0);
  for (size_t length : {size_t(0), size_t(8), size_t(63)}) {
    std::vector<uint8_t> bytes = StateBytes({30, 2, 3, 400, 5, 60, 1, 0}, {});
    bytes.resize(length);
    TestStream stream(bytes);
    EXPECT_EQ(plug.controller->setState(&stream), kResultFalse) << length;
    EXPECT_DOUBLE_EQ(Plain(kParamInput), 0.0) << length;
    EXPECT_DOUBLE_EQ(Plain(kParamMix), 50.0) << length;
    EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0) << length;
  }
  TestStream failing(StateBytes({1, 2, 3, 400, 5, 60, 1, 0}, {1, 0, 0, 0}));
  failing.failingRead = 0;
  EXPECT_EQ(plug.controller->setState(&failing), kResultFalse);
  EXPECT_DOUBLE_EQ(Plain(kParamInput), 0.0);
  EXPECT_EQ(plug.controller->setState(nullptr), kInvalidArgument);
}

TEST_F(State, LongerStreamIsReadOnlyAsFarAsTheStateGoes) {
  std::vector<uint8_t> tail = {1, 0, 0, 0};
  tail.resize(40, 0xEE);
  TestStream stream(StateBytes({1, 2, 3, 400, 5, 60, 1, 0}, tail));
  EXPECT_EQ(plug.controller->setState(&stream), kResultOk);
  EXPECT_EQ(stream.position, 68u);
  EXPECT_DOUBLE_EQ(plug.controller->getParamNormalized(kBypassId), 1.0);
}
