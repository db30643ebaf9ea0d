// Control ports carry plain values as floats: a value a host saved and restores must give the
// parameter the same value, shown with the same text, as the VST 3 module shows for it.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Brask.h"
#include "Vst3DisplayTexts.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

// The plug-in class over the LV2 adaptor, its parameter ports wired to cells of the test.
class Lv2Instance {
 public:
  Lv2Instance() {
    plug.Instantiated(48000.0);
    for (int i = 0; i < kBraskParamCount; ++i) {
      ports[i] = float(plug.ParamAt(i)->Default());
      plug.ConnectPort(uint32_t(i), &ports[i]);
    }
    plug.Run(0);
  }

  // Writes the port, lets a run apply it, answers the record's value.
  double Send(int paramIdx, float value) {
    ports[paramIdx] = value;
    plug.Run(0);
    return plug.ParamAt(paramIdx)->Value();
  }
  std::string Text(int paramIdx) {
    char text[64];
    const IParamRecord* record = plug.ParamAt(paramIdx);
    record->FormatForHost(record->Value(), false, text, sizeof text, true);
    return text;
  }

  Brask plug{nullptr};
  float ports[kBraskParamCount] = {};
};

}  // namespace

TEST(Lv2PortValues, RangeEndsAndDefaultsSurviveTheFloatExactly) {
  Lv2Instance lv2;
  for (int i = 0; i < kBraskParamCount; ++i) {
    const IParamRecord* record = lv2.plug.ParamAt(i);
    SCOPED_TRACE(record->Name());
    for (const double plain : {record->Min(), record->Max(), record->Default()}) {
      EXPECT_EQ(lv2.Send(i, float(plain)), plain);
    }
  }
}

// Every value on each parameter's step grid, as the VST 3 module formats it.
TEST(Lv2PortValues, EveryStepShowsTheVst3ModulesText) {
  Lv2Instance lv2;
  Vst3DisplayTexts vst3;
  ASSERT_TRUE(vst3.Valid());
  for (int i = 0; i < kBraskParamCount; ++i) {
    const IParamRecord* record = lv2.plug.ParamAt(i);
    const long steps = std::lround((record->Max() - record->Min()) / record->Step());
    int mismatches = 0;
    for (long k = 0; k <= steps && mismatches < 5; ++k) {
      const double plain = record->Min() + double(k) * record->Step();
      lv2.Send(i, float(plain));
      const std::string expected = vst3.Text(i, plain);
      if (lv2.Text(i) != expected) {
        ++mismatches;
        ADD_FAILURE() << record->Name() << " " << plain << ": LV2 shows " << lv2.Text(i)
                      << ", VST 3 " << expected;
      }
    }
  }
}

TEST(Lv2PortValues, OutOfRangeIsClampedSwitchesRoundAndNaNIsIgnored) {
  Lv2Instance lv2;
  EXPECT_EQ(lv2.Send(kParamRelease, 1e30f), 3000.0);
  EXPECT_EQ(lv2.Send(kParamRelease, -std::numeric_limits<float>::infinity()), 100.0);
  EXPECT_EQ(lv2.Send(kParamOutput, std::numeric_limits<float>::infinity()), 20.0);
  EXPECT_EQ(lv2.Send(kParamAttack, 7.5f), 7.5);
  EXPECT_EQ(lv2.Send(kParamAttack, std::nanf("")), 7.5) << "NaN leaves the value as it was";
  EXPECT_EQ(lv2.Send(kParamSidechain, 0.7f), 1.0);
  EXPECT_EQ(lv2.Send(kParamSidechain, 0.3f), 0.0);
  EXPECT_EQ(lv2.Send(kParamBypass, -5.0f), 0.0);
}

// Port values reach the editor's controls as host automation does, and the processing copies.
TEST(Lv2PortValues, ChangesMoveTheControlsOnce) {
  Lv2Instance lv2;
  IGraphics* editor = lv2.plug.Editor();
  ASSERT_NE(editor, nullptr);
  const IParamRecord* mix = lv2.plug.ParamAt(kParamMix);
  lv2.Send(kParamMix, 25.0f);
  IControl* knob = nullptr;
  for (int c = 0; c < editor->NControls(); ++c) {
    if (editor->GetControl(c)->ParamIdx() == kParamMix) knob = editor->GetControl(c);
  }
  ASSERT_NE(knob, nullptr);
  EXPECT_DOUBLE_EQ(knob->Value(), mix->NormalizedFromPlain(25.0));
  // An unchanged port is not applied again: a value set otherwise stays.
  lv2.plug.ParamAt(kParamMix)->SetValueClamped(60.0);
  lv2.plug.Run(0);
  EXPECT_EQ(mix->Value(), 60.0);
}
