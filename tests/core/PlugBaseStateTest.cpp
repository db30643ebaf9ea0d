#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CoreTestPlug.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

void AppendLittleEndian(Bytes* bytes, uint64_t bits, int width) {
  for (int i = 0; i < width; ++i) bytes->push_back(uint8_t(bits >> (8 * i)));
}

// The defaults of the eight parameters as IEEE 754 bit patterns:
// 0, 0, 10, 400, 100, 20, 1, 0.
Bytes DefaultBlock() {
  const uint64_t bits[] = {0,
                           0,
                           0x4024000000000000ull,
                           0x4079000000000000ull,
                           0x4059000000000000ull,
                           0x4034000000000000ull,
                           0x3FF0000000000000ull,
                           0};
  Bytes block;
  for (uint64_t b : bits) AppendLittleEndian(&block, b, 8);
  return block;
}

Bytes ChunkBytes(const StateChunk& chunk) {
  return Bytes(chunk.Data(), chunk.Data() + chunk.Size());
}

StateChunk ChunkOf(const Bytes& bytes) {
  StateChunk chunk;
  chunk.Assign(bytes.data(), int(bytes.size()));
  return chunk;
}

StateChunk ParamBlock(const std::vector<double>& values) {
  StateChunk chunk;
  for (double v : values) chunk.PutDouble(v);
  return chunk;
}

const std::vector<double> kDefaults = {0, 0, 10, 400, 100, 20, 1, 0};
const std::vector<int> kAllParams = {0, 1, 2, 3, 4, 5, 6, 7};

}  // namespace

TEST(ProgramChunks, FreshInstanceWritesHeaderAndDefaults) {
  CoreTestPlug plug;
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  ASSERT_TRUE(plug.SaveState(&chunk));
  Bytes expected = kHeader;
  Bytes block = DefaultBlock();
  expected.insert(expected.end(), block.begin(), block.end());
  ASSERT_EQ(chunk.Size(), 72);
  EXPECT_EQ(ChunkBytes(chunk), expected);
}

TEST(ProgramChunks, HeaderIsRecognisedOrAbsent) {
  int pos = 99;
  StateChunk withHeader = ChunkOf(kHeader);
  EXPECT_EQ(IPlugBase::ReadChunkHeader(&withHeader, &pos), 0x00010000);
  EXPECT_EQ(pos, 8);
  StateChunk headerless = ParamBlock(kDefaults);
  EXPECT_EQ(IPlugBase::ReadChunkHeader(&headerless, &pos), 0);
  EXPECT_EQ(pos, 0);
  StateChunk magicOnly = ChunkOf(Bytes(kHeader.begin(), kHeader.begin() + 6));
  EXPECT_EQ(IPlugBase::ReadChunkHeader(&magicOnly, &pos), 0);
  EXPECT_EQ(pos, -1);
  StateChunk tiny = ChunkOf(Bytes{0x74, 0x66});
  EXPECT_EQ(IPlugBase::ReadChunkHeader(&tiny, &pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST(ProgramChunks, HeaderlessBlockLoadsEveryValue) {
  CoreTestPlug plug;
  const std::vector<double> values = {12.5, -3, 20, 1500, 50, 100, 0, 1};
  StateChunk chunk = ParamBlock(values);
  int pos = -5;
  IPlugBase::ReadChunkHeader(&chunk, &pos);
  plug.changedParams.clear();
  EXPECT_EQ(plug.LoadState(&chunk, pos), 64);
  EXPECT_EQ(plug.Values(), values);
  EXPECT_EQ(plug.changedParams, kAllParams);
}

// A truncated preset or state must not leave half of it loaded and the next value zeroed.
TEST(ProgramChunks, ShortBlockChangesNothing) {
  CoreTestPlug plug;
  plug.ParamAt(2)->SetValueClamped(33);
  const std::vector<double> before = plug.Values();
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  chunk.PutDouble(5);
  chunk.PutDouble(-3);
  chunk.PutDouble(20);
  chunk.PutBytes("\x01\x02\x03", 3);  // the start of a fourth value
  int pos = 0;
  IPlugBase::ReadChunkHeader(&chunk, &pos);
  plug.changedParams.clear();
  EXPECT_EQ(plug.LoadState(&chunk, pos), -1);
  EXPECT_EQ(plug.Values(), before);
  EXPECT_TRUE(plug.changedParams.empty());
  chunk.PutBytes("\x00\x00\x00\x00\x00", 5);  // the fourth value whole, still four short
  EXPECT_EQ(plug.LoadState(&chunk, pos), -1);
  EXPECT_EQ(plug.Values(), before);
}

TEST(ProgramChunks, ValuesOutsideTheRangeAreClamped) {
  CoreTestPlug plug;
  StateChunk chunk = ParamBlock({1000, -50, 0.5, 400, 100, 1e9, 3, -2});
  EXPECT_EQ(plug.LoadState(&chunk, 0), 64);
  EXPECT_EQ(plug.Values(), (std::vector<double>{40, -20, 1, 400, 100, 500, 1, 0}));
}

TEST(ProgramChunks, TruncatedHeaderReadsNothing) {
  CoreTestPlug plug;
  plug.ParamAt(2)->SetValueClamped(33);
  StateChunk chunk = ChunkOf(Bytes(kHeader.begin(), kHeader.begin() + 5));
  int pos = 0;
  IPlugBase::ReadChunkHeader(&chunk, &pos);
  EXPECT_EQ(plug.LoadState(&chunk, pos), -1);
  EXPECT_EQ(plug.ParamAt(2)->Value(), 33.0);
  plug.ParamAt(0)->SetValueClamped(5);
  EXPECT_EQ(plug.LoadState(nullptr, 0), -1);
  EXPECT_EQ(plug.ParamAt(0)->Value(), 5.0);
}

TEST(ProgramChunks, ParameterBlockHoldsPlainValues) {
  CoreTestPlug plug;
  plug.SetParamFromEditor(3, 1.0);
  StateChunk chunk;
  ASSERT_TRUE(plug.SerializeParams(&chunk));
  double release = 0;
  EXPECT_EQ(chunk.GetDouble(&release, 24), 32);
  EXPECT_EQ(release, 3000.0);
  EXPECT_FALSE(plug.SerializeParams(nullptr));
}

TEST(BankChunks, FreshInstanceWritesItsOneSlot) {
  CoreTestPlug plug;
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  plug.ModifyCurrentPreset(nullptr);
  ASSERT_TRUE(plug.SerializePresets(&chunk));
  Bytes expected = kHeader;
  Bytes slot = {0x01, 0x00, 0x00, 0x00, 0x2D, 0x01};
  Bytes block = DefaultBlock();
  expected.insert(expected.end(), slot.begin(), slot.end());
  expected.insert(expected.end(), block.begin(), block.end());
  ASSERT_EQ(chunk.Size(), 78);
  EXPECT_EQ(ChunkBytes(chunk), expected);
}

TEST(BankChunks, RoundTripRestoresNameAndValues) {
  CoreTestPlug source;
  source.SetParamFromEditor(0, 0.5);
  source.SetParamFromEditor(7, 1.0);
  source.ModifyCurrentPreset("Squash");
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  source.SerializePresets(&chunk);

  CoreTestPlug target;
  int pos = 0;
  ASSERT_EQ(IPlugBase::ReadChunkHeader(&chunk, &pos), 0x00010000);
  target.presetListChanges = 0;
  EXPECT_EQ(target.UnserializePresets(&chunk, pos), chunk.Size());
  EXPECT_STREQ(target.PresetAt(0)->name, "Squash");
  EXPECT_TRUE(target.PresetAt(0)->initialized);
  EXPECT_EQ(target.Values(), source.Values());
  EXPECT_EQ(ChunkBytes(target.PresetAt(0)->chunk), ChunkBytes(source.PresetAt(0)->chunk));
  EXPECT_EQ(target.presetListChanges, 1) << "the final LoadPreset ran";
}

TEST(BankChunks, BankGivenAsProgramIsReadAsDoubles) {
  CoreTestPlug plug;
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  plug.ModifyCurrentPreset(nullptr);
  plug.SerializePresets(&chunk);
  int pos = 0;
  IPlugBase::ReadChunkHeader(&chunk, &pos);
  EXPECT_EQ(plug.LoadState(&chunk, pos), 72) << "eight doubles from the slot bytes";
}

class TruncatedBank : public ::testing::Test {
 protected:
  void SetUp() override {
    plug.PresetAt(0)->SetName("keep");
    plug.ParamAt(4)->SetValueClamped(10);  // differs from the slot's saved 100
    plug.changedParams.clear();
  }
  int Load(const Bytes& body) {
    Bytes bytes = kHeader;
    bytes.insert(bytes.end(), body.begin(), body.end());
    StateChunk chunk = ChunkOf(bytes);
    return plug.UnserializePresets(&chunk, 8);
  }
  CoreTestPlug plug;
};

TEST_F(TruncatedBank, EndInsideTheLengthKeepsTheSlot) {
  EXPECT_EQ(Load({0x05, 0x00}), -1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "keep");
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
  EXPECT_EQ(plug.ParamAt(4)->Value(), 100.0) << "the final LoadPreset restored the slot";
}

TEST_F(TruncatedBank, EndInsideTheNameKeepsTheSlot) {
  EXPECT_EQ(Load({0x05, 0x00, 0x00, 0x00, 'a', 'b'}), -1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "keep");
  EXPECT_EQ(plug.ParamAt(4)->Value(), 100.0);
}

TEST_F(TruncatedBank, NegativeNameLengthIsMalformed) {
  EXPECT_EQ(Load({0xFC, 0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x03, 0x04, 0x05}), -1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "keep");
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
  EXPECT_EQ(plug.ParamAt(4)->Value(), 100.0);
}

TEST_F(TruncatedBank, MissingFlagTakesTheNameOnly) {
  EXPECT_EQ(Load({0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'}), -1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "abc");
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
}

TEST_F(TruncatedBank, ShortSlotStateFailsAndLoadsNothingOfIt) {
  Bytes body = {0x01, 0x00, 0x00, 0x00, 'z', 0x01};
  AppendLittleEndian(&body, 0x4024000000000000ull, 8);  // 10.0 for "Input"
  EXPECT_EQ(Load(body), -1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "z");
  // The failed read did not re-save the slot, so the final LoadPreset restores the old state.
  EXPECT_EQ(plug.Values(), kDefaults);
}

TEST_F(TruncatedBank, UninitialisedSlotBecomesAUserPreset) {
  EXPECT_EQ(Load({0x01, 0x00, 0x00, 0x00, 'u', 0x00}), 14);
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
  EXPECT_STREQ(plug.PresetAt(0)->name, "user preset 1");
  EXPECT_EQ(plug.PresetAt(0)->chunk.Size(), 64) << "old bytes are not kept in front";
  EXPECT_EQ(plug.ParamAt(4)->Value(), 10.0) << "the current values were saved, not loaded";
}

TEST(BankChunks, LongNamesAreCutToTheField) {
  CoreTestPlug plug;
  const std::string longName(300, 'q');
  StateChunk chunk;
  IPlugBase::WriteChunkHeader(&chunk);
  chunk.PutText(longName.c_str());
  chunk.PutBool(false);
  EXPECT_EQ(plug.UnserializePresets(&chunk, 8), 8 + 4 + 300 + 1);
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(std::string(plug.PresetAt(0)->name), longName.substr(0, 255));
}

TEST(Presets, DefaultPresetHoldsTheDefaults) {
  CoreTestPlug plug;
  ASSERT_EQ(plug.PresetCount(), 1);
  const PresetSlot* slot = plug.PresetAt(0);
  EXPECT_TRUE(slot->initialized);
  EXPECT_STREQ(slot->name, "-");
  EXPECT_EQ(ChunkBytes(slot->chunk), DefaultBlock());
  plug.FillDefaultPresets("Empty", 1);
  EXPECT_STREQ(plug.PresetAt(0)->name, "-") << "no free slot is left";
  EXPECT_EQ(plug.PresetAt(1), nullptr);
}

TEST(Presets, FirstLoadOfAnEmptySlotNamesItUserPreset) {
  CoreTestPlug plug("2-2 4-2", kApiVST3, false);
  EXPECT_STREQ(plug.PresetAt(0)->name, "empty");
  EXPECT_FALSE(plug.PresetAt(0)->initialized);
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_TRUE(plug.PresetAt(0)->initialized);
  EXPECT_STREQ(plug.PresetAt(0)->name, "user preset 1");
  EXPECT_EQ(plug.PresetAt(0)->chunk.Size(), 64);
  EXPECT_EQ(plug.CurrentPresetIndex(), 0);
  EXPECT_EQ(plug.presetListChanges, 1);
}

TEST(Presets, LoadingAStoredPresetRestoresItsValues) {
  CoreTestPlug plug;
  plug.SetParamFromEditor(1, 1.0);
  plug.changedParams.clear();
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.Values(), kDefaults);
  EXPECT_EQ(plug.changedParams, kAllParams);
}

TEST(Presets, OutOfRangeIndexChangesNothing) {
  CoreTestPlug plug;
  plug.SetParamFromEditor(1, 1.0);
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_FALSE(plug.LoadPreset(-1));
  EXPECT_EQ(plug.ParamAt(1)->Value(), 20.0);
  EXPECT_EQ(plug.presetListChanges, 0);
}

TEST(Presets, ModifyCurrentPresetStoresTheCurrentValues) {
  CoreTestPlug plug;
  plug.SetParamFromEditor(5, 1.0);
  plug.ModifyCurrentPreset(nullptr);
  EXPECT_STREQ(plug.PresetAt(0)->name, "-");
  double hpf = 0;
  plug.PresetAt(0)->chunk.GetDouble(&hpf, 40);
  EXPECT_EQ(hpf, 500.0);
  EXPECT_EQ(plug.PresetAt(0)->chunk.Size(), 64);
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.PresetAt(0)->name, "-");
  plug.ModifyCurrentPreset("Vocals");
  EXPECT_STREQ(plug.PresetAt(0)->name, "Vocals");
}
