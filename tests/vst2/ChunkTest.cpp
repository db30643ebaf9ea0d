// Program and bank chunks as a host saves and restores them, including malformed ones, and the
// programs requests around them.

#include <cstring>
#include <vector>

#include "Vst2Test.h"

namespace {

const double kDefaults[8] = {0.0, 0.0, 10.0, 400.0, 100.0, 20.0, 1.0, 0.0};
const uint8_t kHeader[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

std::vector<uint8_t> Bytes(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint8_t> ParameterBlock(const double (&values)[8]) { return Bytes(values, 64); }

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

class Chunks : public Vst2Test {
 protected:
  void SetUp() override {
    Vst2Test::SetUp();
    plug = Create(host);
    ASSERT_TRUE(*plug);
  }
  std::vector<uint8_t> GetChunk(int index) {
    void* data = nullptr;
    VstIntPtr size = plug->Dispatch(effGetChunk, index, 0, &data);
    if (size <= 0 || !data) return {};
    return Bytes(data, size_t(size));
  }
  VstIntPtr SetChunk(int index, const std::vector<uint8_t>& bytes) {
    return plug->Dispatch(effSetChunk, index, VstIntPtr(bytes.size()),
                          const_cast<uint8_t*>(bytes.data()));
  }
  std::unique_ptr<HostedEffect> plug;
};

TEST_F(Chunks, ProgramChunkIsHeaderAndParameterBlock) {
  std::vector<uint8_t> chunk = GetChunk(1);
  ASSERT_EQ(chunk.size(), 72u);
  EXPECT_EQ(chunk, Concat(Bytes(kHeader, 8), ParameterBlock(kDefaults)));
  EXPECT_EQ(plug->Dispatch(effGetChunk, 1), 0) << "null ptr";
}

TEST_F(Chunks, BankChunkHoldsTheSingleProgram) {
  std::vector<uint8_t> chunk = GetChunk(0);
  ASSERT_EQ(chunk.size(), 78u);
  std::vector<uint8_t> expected = Bytes(kHeader, 8);
  for (uint8_t b : {0x01, 0x00, 0x00, 0x00, 0x2d, 0x01}) expected.push_back(b);
  EXPECT_EQ(chunk, Concat(expected, ParameterBlock(kDefaults)));
}

TEST_F(Chunks, BankChunkCarriesTheCurrentValues) {
  plug->SetParam(4, 0.5f);
  std::vector<uint8_t> chunk = GetChunk(0);
  ASSERT_EQ(chunk.size(), 78u);
  double mix = 0.0;
  memcpy(&mix, chunk.data() + 14 + 4 * 8, 8);
  EXPECT_EQ(mix, 50.0) << "the current program is saved before the bank is written";
}

TEST_F(Chunks, HeaderlessParameterBlockLoads) {
  const double values[8] = {12.5, -6.0, 30.0, 1000.0, 50.0, 200.0, 0.0, 1.0};
  EXPECT_EQ(SetChunk(1, ParameterBlock(values)), 1);
  EXPECT_EQ(GetChunk(1), Concat(Bytes(kHeader, 8), ParameterBlock(values)));
  EXPECT_EQ(plug->Text(effGetParamDisplay, 0), "12.50");
  EXPECT_EQ(plug->Text(effGetParamDisplay, 6), "0");
}

TEST_F(Chunks, ValuesOutsideTheRangesAreClamped) {
  const double values[8] = {99.0, -99.0, 0.0, 5000.0, 150.0, 1.0, 7.0, -3.0};
  const double clamped[8] = {40.0, -20.0, 1.0, 3000.0, 100.0, 20.0, 1.0, 0.0};
  EXPECT_EQ(SetChunk(1, Concat(Bytes(kHeader, 8), ParameterBlock(values))), 1);
  EXPECT_EQ(GetChunk(1), Concat(Bytes(kHeader, 8), ParameterBlock(clamped)));
}

TEST_F(Chunks, HeaderWithoutVersionFails) {
  plug->SetParam(4, 0.5f);
  EXPECT_EQ(SetChunk(1, Bytes("tffp", 4)), 0);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "50.00") << "nothing was read";
}

TEST_F(Chunks, EmptyOrShortChunkFailsAndChangesNothing) {
  plug->SetParam(0, 0.5f);  // Input 10
  plug->SetParam(4, 0.5f);
  uint8_t byte = 0;
  EXPECT_EQ(plug->Dispatch(effSetChunk, 1, 0, &byte), 0);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 0), "10.00");
  const double values[8] = {5.0, 5.0, 5.0, 0, 0, 0, 0, 0};
  EXPECT_EQ(SetChunk(1, Concat(Bytes(kHeader, 8), Bytes(values, 24))), 0);
  EXPECT_EQ(SetChunk(1, Bytes(values, 63)), 0) << "a headerless block one byte short";
  EXPECT_EQ(plug->Text(effGetParamDisplay, 0), "10.00");
  EXPECT_EQ(plug->Text(effGetParamDisplay, 2), "10.00");
  EXPECT_EQ(plug->Text(effGetParamDisplay, 3), "400.00");
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "50.00");
  EXPECT_EQ(plug->Dispatch(effSetChunk, 1, 64), 0) << "null ptr";
}

// A chunk of a later format version (a preset or project of a newer release) is not guessed at.
TEST_F(Chunks, NewerChunkVersionChangesNothing) {
  const double values[8] = {5.0, 5.0, 5.0, 500, 5, 50, 1, 1};
  const uint8_t newer[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x02, 0x00};
  const std::vector<uint8_t> before = GetChunk(0);
  EXPECT_EQ(SetChunk(1, Concat(Bytes(newer, 8), ParameterBlock(values))), 0);
  EXPECT_EQ(SetChunk(0, Concat(Bytes(newer, 8), ParameterBlock(values))), 0);
  EXPECT_EQ(GetChunk(0), before);
}

TEST_F(Chunks, NegativeOrHugeSizesFailSafely) {
  std::vector<uint8_t> bytes(16, 0);
  EXPECT_EQ(plug->Dispatch(effSetChunk, 1, -5, bytes.data()), 0);
  EXPECT_EQ(plug->Dispatch(effSetChunk, 0, VstIntPtr(1) << 40, bytes.data()), 0);
}

TEST_F(Chunks, BankRoundTripsIntoAnotherInstance) {
  plug->SetParam(2, 0.25f);
  plug->SetParam(7, 1.0f);
  plug->Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Slow"));
  std::vector<uint8_t> bank = GetChunk(0);
  RecordingHost otherHost;
  auto other = Create(otherHost);
  ASSERT_TRUE(*other);
  EXPECT_EQ(other->Dispatch(effSetChunk, 0, VstIntPtr(bank.size()), bank.data()), 1);
  EXPECT_EQ(other->Text(effGetProgramName), "Slow");
  EXPECT_EQ(other->Text(effGetParamDisplay, 2), plug->Text(effGetParamDisplay, 2));
  EXPECT_EQ(other->Text(effGetParamDisplay, 7), "1");
}

TEST_F(Chunks, HeaderlessBankIsReadAsOneProgram) {
  const double values[8] = {1.0, 2.0, 3.0, 400.0, 5.0, 60.0, 1.0, 0.0};
  EXPECT_EQ(SetChunk(0, ParameterBlock(values)), 1);
  EXPECT_EQ(GetChunk(1), Concat(Bytes(kHeader, 8), ParameterBlock(values)));
  EXPECT_EQ(plug->Text(effGetProgramName), "-") << "no slot data, the name stays";
}

TEST_F(Chunks, TruncatedBankFails) {
  std::vector<uint8_t> bank = GetChunk(0);
  ASSERT_EQ(bank.size(), 78u);
  bank.resize(11);  // ends inside the first name length
  EXPECT_EQ(SetChunk(0, bank), 0);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 3), "400.00");
}

TEST_F(Chunks, SetProgramKeepsTheEditedValues) {
  plug->SetParam(4, 0.5f);
  EXPECT_EQ(plug->Dispatch(effSetProgram, 0, 0), 0);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "50.00") << "edits are saved before loading";
  EXPECT_EQ(plug->Dispatch(effSetProgram, 0, 5), 0);
  EXPECT_EQ(plug->Dispatch(effSetProgram, 0, -1), 0);
  EXPECT_EQ(plug->Dispatch(effGetProgram), 0) << "invalid programs are ignored";
}
