// Built with the VST 2 flavour of the test adaptor: the channel configurations of the VST 2
// module, and the core's channel plumbing feeding the processing.

#include <gtest/gtest.h>

#include "BraskRig.h"

namespace {

TEST(BraskVst2Flavour, AcceptsMonoOutputAndThreeInputs) {
  Brask plug(nullptr);
  EXPECT_EQ(plug.GetPluginApi(), kApiVST2);
  EXPECT_TRUE(plug.LegalIO(2, 1));
  EXPECT_TRUE(plug.LegalIO(3, 2));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(4, 2));
  EXPECT_FALSE(plug.LegalIO(1, 1));
  EXPECT_GE(plug.InputCount(), 4);
  EXPECT_GE(plug.OutputCount(), 2);
}

TEST(BraskVst2Flavour, UnconnectedSideChainChannelReadsSilence) {
  constexpr int kFrames = 256;
  Signal keyed = MusicLike(kFrames, 48000.0, 0.9, true);
  for (size_t n = 0; n < kFrames; ++n) keyed[0][n] = keyed[1][n] = 0.05;
  Signal expectedInput = keyed;
  std::fill(expectedInput[3].begin(), expectedInput[3].end(), 0.0);

  // Three host inputs: the right side-chain channel comes from the core's zeroed scratch.
  BraskRig hosted;
  hosted.Set(kParamInput, 30.0);
  hosted.Set(kParamSidechain, 1.0);
  hosted.plug.SetMaxBlockFrames(kFrames);
  hosted.plug.ConnectInputs(0, 3, true);
  hosted.plug.ConnectInputs(3, 1, false);
  hosted.plug.ConnectOutputs(0, 2, true);
  std::vector<double> left(kFrames), right(kFrames);
  for (int c = 0; c < 3; ++c) hosted.plug.InputPointers()[c] = keyed[c].data();
  hosted.plug.OutputPointers()[0] = left.data();
  hosted.plug.OutputPointers()[1] = right.data();
  {
    std::lock_guard<std::recursive_mutex> lock(hosted.plug.Mutex());
    hosted.plug.ProcessBlock(hosted.plug.InputPointers(), hosted.plug.OutputPointers(), kFrames);
  }

  BraskRig direct;
  direct.Set(kParamInput, 30.0);
  direct.Set(kParamSidechain, 1.0);
  const Output expected = direct.Process(expectedInput, kFrames);
  EXPECT_EQ(left, expected.left);
  EXPECT_EQ(right, expected.right);
  EXPECT_LT(hosted.plug.GainState(), 1.0);  // the connected side-chain channel still keys it
}

}  // namespace
