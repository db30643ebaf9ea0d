// The effect record as VSTPluginMain and main hand it out, and the independence of instances.

#include <cstring>

#include "Vst2Test.h"

namespace {

constexpr VstInt32 FourChars(const char (&code)[5]) {
  return VstInt32(uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
                  uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3])));
}

}  // namespace

class EffectRecord : public Vst2Test {};

TEST_F(EffectRecord, ExportsBothEntryNames) {
  EXPECT_NE(Module().Entry("VSTPluginMain"), nullptr);
  EXPECT_NE(Module().Entry("main"), nullptr);
}

TEST_F(EffectRecord, HoldsIdentityCountsAndCallbacks) {
  auto plug = Create(host);
  ASSERT_TRUE(*plug);
  const AEffect& e = *plug->Effect();
  EXPECT_EQ(e.magic, FourChars("VstP"));
  EXPECT_EQ(e.numPrograms, 1);
  EXPECT_EQ(e.numParams, 8);
  EXPECT_EQ(e.numInputs, 4);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.flags, 0x1011) << "has editor, can replace, can double-replace";
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, FourChars("Brk1"));
  EXPECT_EQ(e.version, 40000);
  EXPECT_NE(e.object, nullptr);
  EXPECT_EQ(e.user, nullptr);
  EXPECT_NE(e.dispatcher, nullptr);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
  EXPECT_NE(e.setParameter, nullptr);
  EXPECT_NE(e.getParameter, nullptr);
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.realQualities, 0);
  EXPECT_EQ(e.offQualities, 0);
  const char zeros[sizeof(e.future)] = {};
  EXPECT_EQ(memcmp(e.future, zeros, sizeof(zeros)), 0);
}

TEST_F(EffectRecord, MainGivesAnEquivalentInstance) {
  auto primary = Create(host);
  auto alias = Create(host, "main");
  ASSERT_TRUE(*primary);
  ASSERT_TRUE(*alias);
  AEffect a = *primary->Effect();
  AEffect b = *alias->Effect();
  EXPECT_NE(a.object, b.object);
  a.object = b.object = nullptr;
  EXPECT_EQ(memcmp(&a, &b, sizeof(AEffect)), 0) << "all fields but object match";
}

TEST_F(EffectRecord, NullHostCallbackIsRefused) {
  EXPECT_EQ(Module().Entry("VSTPluginMain")(nullptr), nullptr);
  EXPECT_EQ(Module().Entry("main")(nullptr), nullptr);
}

TEST_F(EffectRecord, TwoInstancesAreIndependent) {
  auto first = Create(host);
  auto second = Create(host);
  ASSERT_TRUE(*first);
  ASSERT_TRUE(*second);
  EXPECT_NE(first->Effect(), second->Effect());
  EXPECT_NE(first->Effect()->object, second->Effect()->object);
  first->SetParam(4, 0.25f);
  first->Dispatch(effSetProgramName, 0, 0, const_cast<char*>("first"));
  EXPECT_FLOAT_EQ(first->GetParam(4), 0.25f);
  EXPECT_FLOAT_EQ(second->GetParam(4), 1.0f) << "Mix stays at its default of 100";
  EXPECT_EQ(second->Text(effGetProgramName), "-");
  first->Close();
  EXPECT_EQ(second->Text(effGetParamName, 4), "Mix") << "closing one leaves the other usable";
}

TEST_F(EffectRecord, EditorRectangleIsThePanelSize) {
  auto plug = Create(host);
  ERect* rect = nullptr;
  ASSERT_EQ(plug->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 472);
  EXPECT_EQ(rect->right, 796);
  EXPECT_EQ(plug->Dispatch(effEditGetRect), 0) << "null ptr";
}

TEST_F(EffectRecord, SpeakerArrangementsDescribeTheChannels) {
  auto plug = Create(host);
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  ASSERT_EQ(plug->Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, kSpeakerArrUserDefined);
  EXPECT_EQ(in->numChannels, 4);
  EXPECT_EQ(out->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(plug->Dispatch(effGetSpeakerArrangement), 1) << "both pointers null";
}

TEST_F(EffectRecord, RecordWithoutInstanceAnswersZero) {
  auto plug = Create(host);
  ASSERT_TRUE(*plug);
  AEffect orphan = *plug->Effect();
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan.getParameter(&orphan, 4), 0.0f);
  orphan.setParameter(&orphan, 4, 0.0f);
  orphan.processReplacing(&orphan, nullptr, nullptr, 64);
  orphan.processDoubleReplacing(&orphan, nullptr, nullptr, 64);
  orphan.process(&orphan, nullptr, nullptr, 64);
  EXPECT_FLOAT_EQ(plug->GetParam(4), 1.0f) << "the instance behind the real record is untouched";
}
