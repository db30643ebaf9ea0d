// Dispatcher requests answered from the plug-in's identity and parameters: versions, can-do
// answers, names, labels and display texts (and the bounds they are written within), pins.

#include <cstring>
#include <string>

#include "Vst2Test.h"

namespace {

constexpr char kSentinel = '\x7f';

// A text buffer pre-filled with a sentinel, to see how far a request wrote.
struct GuardedText {
  char bytes[300];
  GuardedText() { memset(bytes, kSentinel, sizeof(bytes)); }
  std::string Text() const { return std::string(bytes, strnlen(bytes, sizeof(bytes))); }
  // Index of the last byte written, judged by the sentinel (-1 when none).
  int LastWritten() const {
    for (int i = int(sizeof(bytes)) - 1; i >= 0; --i) {
      if (bytes[i] != kSentinel) return i;
    }
    return -1;
  }
};

}  // namespace

class Dispatcher : public Vst2Test {
 protected:
  void SetUp() override {
    Vst2Test::SetUp();
    plug = Create(host);
    ASSERT_TRUE(*plug);
  }
  std::unique_ptr<HostedEffect> plug;
};

TEST_F(Dispatcher, AnswersFixedQueries) {
  EXPECT_EQ(plug->Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(plug->Dispatch(effGetPlugCategory), 1);
  EXPECT_EQ(plug->Dispatch(effIdentify), 0x4e764566) << "NvEf";
  EXPECT_EQ(plug->Dispatch(effGetVendorVersion), 40000);
  EXPECT_EQ(plug->Dispatch(effGetTailSize), 0);
  EXPECT_EQ(plug->Dispatch(effGetProgram), 0);
  for (int index : {-1, 0, 7, 8, 1000}) {
    EXPECT_EQ(plug->Dispatch(effCanBeAutomated, index), 1) << "index " << index;
  }
  EXPECT_EQ(plug->Dispatch(9999), 0) << "unknown opcode";
  EXPECT_EQ(plug->Dispatch(effEditIdle), 0);
  EXPECT_EQ(plug->Dispatch(effIdle), 0);
}

TEST_F(Dispatcher, AnswersCanDoTexts) {
  auto canDo = [&](const char* text) {
    return plug->Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
  };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("sendVstEvents"), 0);
  EXPECT_EQ(canDo("sendVstMidiEvent"), 0);
  EXPECT_EQ(canDo("receiveVstEvents"), 0);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 0);
  EXPECT_EQ(canDo("hasCockosExtensions"), VstIntPtr(0xbeef0000));
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), VstIntPtr(0xbeef0000));
  EXPECT_EQ(canDo("ReceiveVstTimeInfo"), 0) << "compared exactly";
  EXPECT_EQ(canDo("bypass"), 0);
  EXPECT_EQ(plug->Dispatch(effCanDo), 0) << "null text";
}

TEST_F(Dispatcher, ReportsIdentityTexts) {
  EXPECT_EQ(plug->Dispatch(effGetEffectName), 0) << "null ptr";
  EXPECT_EQ(plug->Dispatch(effGetVendorString), 0) << "null ptr";
  EXPECT_EQ(plug->Dispatch(effGetProductString), 0) << "null ptr";
  GuardedText name, vendor, product;
  EXPECT_EQ(plug->Dispatch(effGetEffectName, 0, 0, name.bytes), 1);
  EXPECT_EQ(plug->Dispatch(effGetVendorString, 0, 0, vendor.bytes), 1);
  EXPECT_EQ(plug->Dispatch(effGetProductString, 0, 0, product.bytes), 1);
  EXPECT_EQ(name.Text(), "Brask");
  EXPECT_EQ(vendor.Text(), "Wyrdworks");
  EXPECT_EQ(product.Text(), "");
  EXPECT_EQ(product.LastWritten(), 0) << "only the terminator";
}

TEST_F(Dispatcher, NamesLabelsAndDisplaysOfEveryParameter) {
  const char* names[] = {"Input", "Output", "Attack", "Release",
                         "Mix",   "HPF",    "Bypass", "Sidechain"};
  const char* labels[] = {"%", "%", "%", "%", "%", "%", "", ""};
  const char* displays[] = {"0.00", "0.00", "10.00", "400.00", "100.00", "20.00", "1", "0"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(plug->Text(effGetParamName, i), names[i]) << "parameter " << i;
    EXPECT_EQ(plug->Text(effGetParamLabel, i), labels[i]) << "parameter " << i;
    EXPECT_EQ(plug->Text(effGetParamDisplay, i), displays[i]) << "parameter " << i;
  }
}

TEST_F(Dispatcher, ParameterTextsStayWithinTheExtendedLength) {
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (int i = 0; i < 8; ++i) {
      GuardedText text;
      plug->Dispatch(opcode, i, 0, text.bytes);
      EXPECT_LT(text.LastWritten(), kVstExtMaxParamStrLen) << "opcode " << opcode << " #" << i;
    }
  }
  plug->SetParam(1, 0.0f);  // Output at -20: the longest negative display
  EXPECT_EQ(plug->Text(effGetParamDisplay, 1), "-20.00");
}

TEST_F(Dispatcher, OutOfRangeParameterTextsWriteNothing) {
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (int index : {-1, 8}) {
      GuardedText text;
      EXPECT_EQ(plug->Dispatch(opcode, index, 0, text.bytes), 0);
      EXPECT_EQ(text.LastWritten(), -1) << "opcode " << opcode << " index " << index;
    }
    EXPECT_EQ(plug->Dispatch(opcode, 0), 0) << "null ptr, opcode " << opcode;
  }
}

TEST_F(Dispatcher, ProgramNamesAreBoundedAndNullSafe) {
  EXPECT_EQ(plug->Text(effGetProgramName), "-");
  GuardedText indexed;
  EXPECT_EQ(plug->Dispatch(effGetProgramNameIndexed, 0, 0, indexed.bytes), 1);
  EXPECT_EQ(indexed.Text(), "-");
  GuardedText missing;
  EXPECT_EQ(plug->Dispatch(effGetProgramNameIndexed, 1, 0, missing.bytes), 0);
  EXPECT_EQ(missing.Text(), "");
  EXPECT_EQ(plug->Dispatch(effGetProgramNameIndexed, 0), 0) << "null ptr";
  EXPECT_EQ(plug->Dispatch(effGetProgramName), 0) << "null ptr";

  const std::string longName(100, 'n');
  plug->Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  GuardedText named;
  plug->Dispatch(effGetProgramName, 0, 0, named.bytes);
  EXPECT_EQ(named.Text(), longName.substr(0, kVstMaxProgNameLen - 1));
  EXPECT_EQ(named.LastWritten(), kVstMaxProgNameLen - 1);
  EXPECT_EQ(plug->Dispatch(effSetProgramName), 0) << "null ptr";
}

TEST_F(Dispatcher, PinPropertiesPairChannelsIntoStereo) {
  const int inputFlags[] = {3, 1, 3, 1};
  for (int i = 0; i < 4; ++i) {
    VstPinProperties pin = {};
    ASSERT_EQ(plug->Dispatch(effGetInputProperties, i, 0, &pin), 1);
    EXPECT_EQ(pin.flags, inputFlags[i]) << "input " << i;
    EXPECT_EQ(std::string(pin.label), "Input " + std::to_string(i + 1));
  }
  const int outputFlags[] = {3, 1};
  for (int i = 0; i < 2; ++i) {
    VstPinProperties pin = {};
    ASSERT_EQ(plug->Dispatch(effGetOutputProperties, i, 0, &pin), 1);
    EXPECT_EQ(pin.flags, outputFlags[i]) << "output " << i;
    EXPECT_EQ(std::string(pin.label), "Output " + std::to_string(i + 1));
  }
  VstPinProperties pin = {};
  pin.arrangementType = 77;
  memcpy(pin.shortLabel, "keep", 5);
  plug->Dispatch(effGetInputProperties, 1, 0, &pin);
  EXPECT_EQ(pin.arrangementType, 77) << "left as the host passed it";
  EXPECT_STREQ(pin.shortLabel, "keep");
  EXPECT_EQ(plug->Dispatch(effGetInputProperties, 4, 0, &pin), 0);
  EXPECT_EQ(plug->Dispatch(effGetInputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(plug->Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(plug->Dispatch(effGetInputProperties, 0), 0) << "null ptr";
}

TEST_F(Dispatcher, VendorSpecificFormatsNormalizedValues) {
  GuardedText mix;
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamDisplay, 4, mix.bytes, 0.5f), 0xbeef);
  EXPECT_EQ(mix.Text(), "50.00");
  GuardedText attack;
  plug->Dispatch(effVendorSpecific, effGetParamDisplay, 2, attack.bytes, 0.5f);
  EXPECT_EQ(attack.Text(), "13.25") << "1 + 0.5^2 * 49";
  GuardedText outside;
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamDisplay, 8, outside.bytes, 0.5f), 0xbeef);
  EXPECT_EQ(outside.LastWritten(), -1);
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamDisplay, 4, nullptr, 0.5f), 0);
  GuardedText huge;
  plug->Dispatch(effVendorSpecific, effGetParamDisplay, 3, huge.bytes, 3.0e38f);
  EXPECT_LT(huge.LastWritten(), kVstExtMaxParamStrLen) << "a far-out host value stays bounded";

  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamName, 6), 0xbeef) << "integer";
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamName, 7), 0xbeef) << "integer";
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamName, 0), 0) << "double";
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, effGetParamName, 8), 0);
  EXPECT_EQ(plug->Dispatch(effVendorSpecific, 3, 6), 0) << "other index";
}

TEST_F(Dispatcher, MidiKeyNamesAreEmpty) {
  MidiKeyName key = {};
  key.thisKeyNumber = 60;
  memset(key.keyName, 'x', sizeof(key.keyName));
  EXPECT_EQ(plug->Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
  EXPECT_EQ(plug->Dispatch(effGetMidiKeyName), 0) << "null ptr";
}

TEST_F(Dispatcher, MidiEventsAreForwardedToTheHost) {
  VstMidiEvent note = {};
  note.type = kVstMidiType;
  note.byteSize = sizeof(VstMidiEvent);
  note.deltaFrames = 17;
  note.midiData[0] = char(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvent other = {};
  other.type = 3;
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list = {3, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &other}};
  EXPECT_EQ(plug->Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.midiEvents.size(), 1u) << "null entries and other types are skipped";
  const VstMidiEvent& sent = host.midiEvents[0];
  EXPECT_EQ(sent.type, kVstMidiType);
  EXPECT_EQ(sent.byteSize, 32);
  EXPECT_EQ(sent.deltaFrames, 17);
  EXPECT_EQ(uint8_t(sent.midiData[0]), 0x90);
  EXPECT_EQ(sent.midiData[1], 60);
  EXPECT_EQ(sent.midiData[2], 100);
  EXPECT_EQ(sent.midiData[3], 0);
  EXPECT_EQ(plug->Dispatch(effProcessEvents), 0) << "null ptr";
}
