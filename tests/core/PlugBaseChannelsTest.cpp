#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestPlug.h"

namespace {

std::vector<int> ConfigList(const IPlugBase& plug) {
  std::vector<int> flat;
  for (const IOConfig& config : plug.IOConfigs()) {
    flat.push_back(config.inputs);
    flat.push_back(config.outputs);
  }
  return flat;
}

}  // namespace

TEST(ChannelConfigs, Vst3StringGivesFourInputsAndTwoOutputs) {
  CoreTestPlug plug("2-2 4-2", kApiVST3);
  EXPECT_EQ(ConfigList(plug), (std::vector<int>{2, 2, 4, 2}));
  EXPECT_EQ(plug.InputCount(), 4);
  EXPECT_EQ(plug.OutputCount(), 2);
  EXPECT_TRUE(plug.LegalIO(4, 2));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(3, 2));
  EXPECT_FALSE(plug.LegalIO(2, 1));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_FALSE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_EQ(plug.GetPluginApi(), kApiVST3);
}

TEST(ChannelConfigs, Vst2StringAddsMonoOutAndThreeIn) {
  CoreTestPlug plug("2-1 3-2 2-2 4-2", kApiVST2);
  EXPECT_EQ(ConfigList(plug), (std::vector<int>{2, 1, 3, 2, 2, 2, 4, 2}));
  EXPECT_EQ(plug.InputCount(), 4);
  EXPECT_EQ(plug.OutputCount(), 2);
  EXPECT_TRUE(plug.LegalIO(3, 2));
  EXPECT_TRUE(plug.LegalIO(2, 1));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_TRUE(plug.LegalIO(3, -1));
  EXPECT_FALSE(plug.LegalIO(1, -1));
  EXPECT_FALSE(plug.LegalIO(-1, 3));
  EXPECT_EQ(plug.GetPluginApi(), kApiVST2);
}

TEST(ChannelConfigs, MalformedTokensGiveZeroCounts) {
  CoreTestPlug plug("7 x-y 3-x 1-2", kApiVST3, false);
  EXPECT_EQ(ConfigList(plug), (std::vector<int>{7, 0, 0, 0, 3, 0, 1, 2}));
  EXPECT_EQ(plug.InputCount(), 7);
  EXPECT_EQ(plug.OutputCount(), 2);
  CoreTestPlug huge("99999999999999999999-1", kApiVST3, false);
  EXPECT_EQ(huge.IOConfigs().size(), 1u);
  EXPECT_TRUE(huge.LegalIO(2147483647, 1)) << "the count saturates";
  EXPECT_EQ(huge.InputCount(), 64) << "channel records are capped";
}

TEST(ChannelConfigs, FreshInstanceState) {
  CoreTestPlug plug;
  EXPECT_EQ(plug.GetHostKind(), -1);
  EXPECT_EQ(plug.HostVersion(), 0);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_STREQ(plug.EffectName(), "Brask");
  EXPECT_STREQ(plug.MakerName(), "Wyrdworks");
  EXPECT_EQ(plug.UniqueId(), 0x42726B31);
  EXPECT_EQ(plug.MakerId(), 0x57797264);
  EXPECT_EQ(plug.ParamAt(8), nullptr);
  EXPECT_EQ(plug.ParamAt(-1), nullptr);
  EXPECT_EQ(plug.InputAt(4), nullptr);
  EXPECT_EQ(plug.OutputAt(-1), nullptr);
  EXPECT_FALSE(plug.IsInputConnected(0));
  plug.SetHostIdentity(18, 0x080100);
  EXPECT_EQ(plug.GetHostKind(), 18);
  EXPECT_EQ(plug.HostVersion(), 0x080100);
}

TEST(ChannelConnections, RangesAreClippedAndUnconnectedChannelsUseScratch) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(4);
  plug.ConnectInputs(-2, 3, true);
  EXPECT_TRUE(plug.IsInputConnected(0));
  EXPECT_FALSE(plug.IsInputConnected(1));
  plug.ConnectInputs(1, 100, true);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(plug.IsInputConnected(i)) << i;
  plug.ConnectInputs(2, 100, false);
  EXPECT_TRUE(plug.IsInputConnected(1));
  EXPECT_FALSE(plug.IsInputConnected(2));
  EXPECT_EQ(plug.InputPointers()[2], plug.InputAt(2)->scratch.data());
  EXPECT_EQ(plug.InputPointers()[3], plug.InputAt(3)->scratch.data());
  plug.ConnectOutputs(0, 2, true);
  plug.ConnectOutputs(1, 1, false);
  EXPECT_TRUE(plug.IsOutputConnected(0));
  EXPECT_FALSE(plug.IsOutputConnected(1));
  EXPECT_EQ(plug.OutputPointers()[1], plug.OutputAt(1)->scratch.data());
  plug.ConnectInputs(0x7FFFFFF0, 0x7FFFFFF0, false);  // nothing to do, nothing to break
}

// SetConnectedChannels skips its work when the masks match what it last saw; connections made
// the other way in between must count.
TEST(ChannelConnections, MasksFollowEveryWayOfConnecting) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(4);
  struct Step {
    bool byRange;  // ConnectInputs/ConnectOutputs over everything, else SetConnectedChannels
    bool connected;
    uint64_t inputs, outputs;  // the masks of a SetConnectedChannels step
    const char* expected;      // inputs 0..3, outputs 0..1
  };
  const Step steps[] = {
      {false, false, 0b0011, 0b11, "110011"}, {true, false, 0, 0, "000000"},
      {false, false, 0b0011, 0b11, "110011"}, {true, true, 0, 0, "111111"},
      {false, false, 0b1100, 0b01, "001110"}, {false, false, 0b1100, 0b01, "001110"},
  };
  for (const Step& step : steps) {
    if (step.byRange) {
      plug.ConnectInputs(0, plug.InputCount(), step.connected);
      plug.ConnectOutputs(0, plug.OutputCount(), step.connected);
    } else {
      plug.SetConnectedChannels(step.inputs, step.outputs);
    }
    std::string flags;
    for (int i = 0; i < 4; ++i) flags += plug.IsInputConnected(i) ? '1' : '0';
    for (int i = 0; i < 2; ++i) flags += plug.IsOutputConnected(i) ? '1' : '0';
    EXPECT_EQ(flags, step.expected);
    for (int i = 0; i < 4; ++i) {
      const double* expected =
          plug.IsInputConnected(i) ? plug.InputPointers()[i] : plug.InputAt(i)->scratch.data();
      EXPECT_EQ(plug.InputPointers()[i], expected) << "unconnected inputs read their scratch";
    }
  }
}

TEST(ChannelBuffers, SetMaxBlockFramesZeroesOnlyOnChange) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(8);
  ASSERT_EQ(plug.InputAt(3)->scratch.size(), 8u);
  plug.InputAt(3)->scratch[5] = 2.5;
  plug.OutputAt(1)->scratch[0] = -1.0;
  plug.SetMaxBlockFrames(8);
  EXPECT_EQ(plug.InputAt(3)->scratch[5], 2.5);
  EXPECT_EQ(plug.OutputAt(1)->scratch[0], -1.0);
  plug.SetMaxBlockFrames(16);
  EXPECT_EQ(plug.BlockSize(), 16);
  ASSERT_EQ(plug.InputAt(3)->scratch.size(), 16u);
  EXPECT_EQ(plug.InputAt(3)->scratch[5], 0.0);
  EXPECT_EQ(plug.OutputAt(1)->scratch[0], 0.0);
  EXPECT_EQ(plug.InputPointers()[3], plug.InputAt(3)->scratch.data())
      << "unconnected channels follow their moved scratch buffers";
  plug.SetMaxBlockFrames(-5);
  EXPECT_EQ(plug.BlockSize(), 0);
  EXPECT_TRUE(plug.OutputAt(0)->scratch.empty());
}

TEST(ChannelBuffers, ClearScratchZeroesEveryChannel) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(4);
  plug.InputAt(0)->scratch[3] = 1.0;
  plug.OutputAt(1)->scratch[2] = 1.0;
  plug.ClearScratch();
  EXPECT_EQ(plug.InputAt(0)->scratch, std::vector<double>(4, 0.0));
  EXPECT_EQ(plug.OutputAt(1)->scratch, std::vector<double>(4, 0.0));
}

TEST(ChannelBuffers, FloatInputsBindOnlyConnectedChannels) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(3);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectInputs(2, 1, true);
  float first[] = {0.5f, -0.25f, 1.0f};
  float second[] = {0.125f, 2.0f, -3.0f};
  float* sources[] = {first, second};
  plug.BindInputsFromFloat(0, 4, sources, 3);
  EXPECT_EQ(plug.InputPointers()[0], plug.InputAt(0)->scratch.data());
  EXPECT_EQ(plug.InputAt(0)->scratch, (std::vector<double>{0.5, -0.25, 1.0}));
  EXPECT_EQ(plug.InputAt(1)->scratch, (std::vector<double>{0.0, 0.0, 0.0}));
  EXPECT_EQ(plug.InputAt(2)->scratch, (std::vector<double>{0.125, 2.0, -3.0}));
  EXPECT_EQ(plug.InputPointers()[2], plug.InputAt(2)->scratch.data());
}

TEST(ChannelBuffers, BlocksLargerThanTheScratchAreCut) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(2);
  plug.ConnectInputs(0, 1, true);
  float source[] = {1.0f, 2.0f, 3.0f, 4.0f};
  float* sources[] = {source};
  plug.BindInputsFromFloat(0, 1, sources, 4);
  EXPECT_EQ(plug.InputAt(0)->scratch, (std::vector<double>{1.0, 2.0}));
  plug.PassThrough(4);
  EXPECT_EQ(plug.OutputAt(0)->scratch, (std::vector<double>{1.0, 2.0}));
}

TEST(ChannelProcessing, PassThroughCopiesMatchingChannels) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(2);
  plug.ConnectInputs(0, 4, true);
  plug.ConnectOutputs(0, 2, true);
  double in[4][2] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  double out[2][2] = {{9, 9}, {9, 9}};
  for (int i = 0; i < 4; ++i) plug.InputPointers()[i] = in[i];
  for (int i = 0; i < 2; ++i) plug.OutputPointers()[i] = out[i];
  plug.PassThrough(2);
  EXPECT_EQ(out[0][0], 1.0);
  EXPECT_EQ(out[0][1], 2.0);
  EXPECT_EQ(out[1][0], 3.0);
  EXPECT_EQ(out[1][1], 4.0);
}

TEST(ChannelProcessing, ExtraOutputsAreSilenced) {
  CoreTestPlug plug("1-3", kApiVST3, false);
  plug.SetMaxBlockFrames(2);
  double in[2] = {0.5, 0.75};
  double out[3][2] = {{9, 9}, {9, 9}, {9, 9}};
  double* inputs[] = {in};
  double* outputs[] = {out[0], out[1], out[2]};
  plug.ProcessBlock(inputs, outputs, 2);
  EXPECT_EQ(out[0][1], 0.75);
  EXPECT_EQ(out[1][0], 0.0);
  EXPECT_EQ(out[2][1], 0.0);
  for (int i = 0; i < 3; ++i) plug.OutputPointers()[i] = out[i];
  out[2][0] = 9;
  plug.PassThrough(2);
  EXPECT_EQ(out[2][0], 0.0);
}

TEST(ChannelProcessing, DefaultProcessBlockCopiesTheMainPair) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(3);
  double in[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 7, 7}, {8, 8, 8}};
  double out[2][3] = {};
  double* inputs[] = {in[0], in[1], in[2], in[3]};
  double* outputs[] = {out[0], out[1]};
  plug.ProcessBlock(inputs, outputs, 3);
  EXPECT_EQ(std::vector<double>(out[0], out[0] + 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(std::vector<double>(out[1], out[1] + 3), (std::vector<double>{4, 5, 6}));
}

TEST(ChannelProcessing, UnconnectedInputsReadSilence) {
  CoreTestPlug plug;
  plug.SetMaxBlockFrames(2);
  plug.ConnectOutputs(0, 2, true);
  double out[2][2] = {{9, 9}, {9, 9}};
  plug.OutputPointers()[0] = out[0];
  plug.OutputPointers()[1] = out[1];
  plug.ProcessBlock(plug.InputPointers(), plug.OutputPointers(), 2);
  EXPECT_EQ(out[0][0], 0.0);
  EXPECT_EQ(out[1][1], 0.0);
}

TEST(EditorChanges, SetParamFromEditorSetsInformsThenNotifies) {
  CoreTestPlug plug;
  plug.log.clear();
  plug.SetParamFromEditor(2, 0.5);
  EXPECT_EQ(plug.ParamAt(2)->Value(), 13.25);
  EXPECT_EQ(plug.log, (std::vector<std::string>{"inform 2", "changed 2"}));
  auto informs = plug.CallsOf(AdaptorCall::InformValue);
  ASSERT_EQ(informs.size(), 1u);
  EXPECT_EQ(informs[0].index, 2);
  EXPECT_EQ(informs[0].value, 0.5);
  plug.SetParamFromEditor(6, 0.4);
  EXPECT_EQ(plug.ParamAt(6)->Value(), 0.0);
  plug.log.clear();
  plug.SetParamFromEditor(8, 0.5);
  plug.SetParamFromEditor(-1, 0.5);
  EXPECT_TRUE(plug.log.empty()) << "indices outside the parameter list are ignored";
}

TEST(EditorChanges, NoEditorMeansNothingToRefresh) {
  CoreTestPlug plug;
  EXPECT_EQ(plug.Editor(), nullptr);
  plug.AttachEditor(nullptr);
  EXPECT_EQ(plug.Editor(), nullptr);
  plug.RefreshEditorFromParams();
}

TEST(BaseDefaults, MidiAndStateComparison) {
  CoreTestPlug plug;
  MidiMessage note;
  note.status = 0x90;
  plug.OnMidiMessage(&note);
  ASSERT_EQ(plug.midiSent.size(), 1u);
  EXPECT_EQ(plug.midiSent[0].status, 0x90);
  char label[8] = "x";
  EXPECT_FALSE(plug.MidiNoteLabel(60, label));
  EXPECT_STREQ(label, "");

  double stored[10] = {-1, 0, 0, 10, 400, 100, 20, 1, 0, -1};
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(stored);
  EXPECT_TRUE(plug.StateMatches(bytes, 1));
  EXPECT_FALSE(plug.StateMatches(bytes, 0));
  stored[4] = 400.001;
  EXPECT_FALSE(plug.StateMatches(bytes, 1));
  EXPECT_FALSE(plug.StateMatches(nullptr, 0));
}
