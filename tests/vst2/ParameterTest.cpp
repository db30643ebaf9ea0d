// The parameter callbacks and typed values: normalized values from and to the host, step
// snapping of the switches, and effString2Parameter.

#include <cmath>

#include "Vst2Test.h"

class Parameters : public Vst2Test {
 protected:
  void SetUp() override {
    Vst2Test::SetUp();
    plug = CreateStarted(host, 512);
    ASSERT_TRUE(*plug);
  }
  VstIntPtr Type(int index, const char* text) {
    return plug->Dispatch(effString2Parameter, index, 0, const_cast<char*>(text));
  }
  std::unique_ptr<HostedEffect> plug;
};

TEST_F(Parameters, DefaultsAreNormalizedThroughTheShapes) {
  EXPECT_FLOAT_EQ(plug->GetParam(0), 0.0f);
  EXPECT_FLOAT_EQ(plug->GetParam(1), 0.5f);
  EXPECT_FLOAT_EQ(plug->GetParam(2), float(3.0 / 7.0));
  EXPECT_FLOAT_EQ(plug->GetParam(3), float(std::sqrt(300.0 / 2900.0)));
  EXPECT_FLOAT_EQ(plug->GetParam(4), 1.0f);
  EXPECT_FLOAT_EQ(plug->GetParam(5), 0.0f);
  EXPECT_FLOAT_EQ(plug->GetParam(6), 1.0f);
  EXPECT_FLOAT_EQ(plug->GetParam(7), 0.0f);
  EXPECT_EQ(plug->GetParam(-1), 0.0f);
  EXPECT_EQ(plug->GetParam(8), 0.0f);
}

TEST_F(Parameters, SwitchesSnapToTheirSteps) {
  plug->SetParam(6, 0.4f);
  EXPECT_EQ(plug->GetParam(6), 0.0f);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 6), "0");
  plug->SetParam(6, 0.5f);
  EXPECT_EQ(plug->GetParam(6), 1.0f);
}

TEST_F(Parameters, HostValuesGoThroughTheShapeWithoutSnapping) {
  plug->SetParam(2, 0.5f);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 2), "13.25");
  plug->SetParam(4, 0.123f);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "12.30");
  plug->SetParam(4, 1.5f);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "100.00") << "capped at the maximum";
}

TEST_F(Parameters, BadIndicesAndValuesAreIgnored) {
  plug->SetParam(8, 0.0f);
  plug->SetParam(-1, 0.0f);
  plug->SetParam(4, std::nanf(""));
  EXPECT_FLOAT_EQ(plug->GetParam(4), 1.0f);
}

TEST_F(Parameters, HostIsNotToldAboutItsOwnChanges) {
  plug->SetParam(4, 0.5f);
  EXPECT_EQ(Type(3, "1000"), 1);
  EXPECT_EQ(host.CountOf(audioMasterAutomate), 0);
}

TEST_F(Parameters, TypedNumbersAreClampedNotSnapped) {
  EXPECT_EQ(Type(3, "2500"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 3), "2500.00");
  EXPECT_EQ(Type(3, "5000"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 3), "3000.00");
  EXPECT_EQ(Type(0, "2.5"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 0), "2.50");
  EXPECT_EQ(Type(6, "0.4"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 6), "0") << "0.4 stored, shown truncated";
  EXPECT_FLOAT_EQ(plug->GetParam(6), 0.4f) << "no step snapping for typed values";
}

TEST_F(Parameters, TypedTextReadsItsLeadingNumber) {
  EXPECT_EQ(Type(4, "42.5 %"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4), "42.50");
  EXPECT_EQ(Type(5, "no number"), 1);
  EXPECT_EQ(plug->Text(effGetParamDisplay, 5), "20.00") << "0 clamped to the minimum";
  // C libraries differ on whether "nan" is a number; either way no NaN may be stored.
  Type(4, "nan");
  EXPECT_FALSE(std::isnan(plug->GetParam(4)));
  EXPECT_EQ(plug->Text(effGetParamDisplay, 4).find("nan"), std::string::npos);
}

TEST_F(Parameters, TypedTextNeedsAValidIndex) {
  EXPECT_EQ(Type(8, "1"), 0);
  EXPECT_EQ(Type(-1, "1"), 0);
  EXPECT_EQ(plug->Dispatch(effString2Parameter, 2), 1) << "null text: accepted, no action";
  EXPECT_EQ(plug->Text(effGetParamDisplay, 2), "10.00");
}
