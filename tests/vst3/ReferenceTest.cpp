// The audio itself: the module, driven through its VST 3 interfaces, must produce exactly what
// the plug-in class produces when driven directly (ReferenceRender writes that output before
// this program runs); at 32 bits, exactly that output rounded to float.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "ReferenceScenario.h"
#include "Vst3Plugin.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The reference output, or an empty list when the file cannot be read.
std::vector<double> ReadReference() {
  std::vector<double> values;
  std::FILE* file = std::fopen(BRASK_VST3_REFERENCE_PATH, "rb");
  if (!file) return values;
  unsigned char bytes[8];
  while (std::fread(bytes, 1, 8, file) == 8) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t(bytes[i]) << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    values.push_back(value);
  }
  std::fclose(file);
  return values;
}

// Runs the reference scenario through the module; outputs in the reference file's order.
std::vector<double> RenderThroughModule(int32 sampleSize) {
  using namespace reference;
  Vst3Plugin plug;
  plug.Prepare(kSampleRate, kBlockFrames, sampleSize, true);
  ProcessRig rig(kBlockFrames, sampleSize == kSample64);
  std::vector<double> output;
  for (int block = 0; block < kBlocks; ++block) {
    TestParameterChanges changes;
    for (const Change& change : Changes()) {
      if (change.block == block) changes.Add(change.paramId, {change.normalized});
    }
    rig.FillInputs(kBlockFrames, long(block) * kBlockFrames, Input);
    EXPECT_EQ(plug.processor->process(rig.Data(kBlockFrames, 2, 1, &changes)), kResultOk);
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < kBlockFrames; ++s) output.push_back(rig.Output(c, s));
    }
  }
  return output;
}

class ReferenceAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    expected = ReadReference();
    ASSERT_EQ(expected.size(), size_t(2 * reference::kBlocks * reference::kBlockFrames))
        << "reference output missing at " << BRASK_VST3_REFERENCE_PATH
        << "; ctest renders it first (vst3_reference_render)";
  }
  std::vector<double> expected;
};

}  // namespace

TEST_F(ReferenceAudio, SixtyFourBitPathEqualsThePlugInDrivenDirectly) {
  std::vector<double> actual = RenderThroughModule(kSample64);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "sample " << i;
}

TEST_F(ReferenceAudio, ThirtyTwoBitPathEqualsItRoundedToFloat) {
  std::vector<double> actual = RenderThroughModule(kSample32);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    ASSERT_EQ(float(actual[i]), float(expected[i])) << "sample " << i;
  }
}
