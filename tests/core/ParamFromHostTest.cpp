// The one path every adaptor takes for a host's parameter write, and the texts in units that
// CLAP hosts show.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "CoreTestPlug.h"
#include "gui/IControl.h"
#include "gui/IGraphicsPortable.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class ValueProbe : public IControl {
 public:
  ValueProbe(IPlugBase* plug, int paramIdx)
      : IControl(plug, IRectangle{0, 0, 10, 10}, paramIdx, 0) {}
  bool Draw(IGraphics*) override { return false; }
};

TEST(ParamFromHost, StoresMovesTheControlThenNotifiesOnce) {
  struct Case {
    const char* what;
    int index;
    double value;
    bool normalized;
    bool applied;
    double stored;   // the record's plain value afterwards
    double control;  // the bound control's value afterwards
  };
  const Case table[] = {
      {"normalized, shaped", 2, 0.5, true, true, 13.25, 0.5},
      {"normalized switch: snapped, control as sent", 6, 0.4, true, true, 0.0, 0.4},
      {"normalized above 1: capped", 4, 1.5, true, true, 100.0, 1.0},
      {"plain, clamped", 1, 35.0, false, true, 20.0, 1.0},
      {"plain minus infinity", 3, -kInf, false, true, 100.0, 0.0},
      {"plain inside", 4, 25.0, false, true, 25.0, 0.25},
      {"NaN normalized", 2, kNaN, true, false, 10.0, 3.0 / 7.0},
      {"NaN plain", 2, kNaN, false, false, 10.0, 3.0 / 7.0},
      {"no such parameter", 8, 0.5, true, false, 0.0, 0.0},
  };
  for (const Case& c : table) {
    CoreTestPlug plug;
    auto* editor = new IGraphicsPortable(&plug, 100, 50, 25);
    ValueProbe* probe = c.index < 8 ? new ValueProbe(&plug, c.index) : nullptr;
    if (probe) editor->AddControl(probe);
    plug.AttachEditor(editor);
    plug.changedParams.clear();
    EXPECT_EQ(plug.SetParamFromHost(c.index, c.value, c.normalized), c.applied) << c.what;
    if (!probe) continue;
    EXPECT_DOUBLE_EQ(plug.ParamAt(c.index)->Value(), c.stored) << c.what;
    EXPECT_DOUBLE_EQ(probe->Value(), c.control) << c.what;
    EXPECT_EQ(plug.changedParams, c.applied ? std::vector<int>{c.index} : std::vector<int>{})
        << c.what;
    EXPECT_TRUE(plug.CallsOf(AdaptorCall::InformValue).empty()) << "the host is not told back";
  }
}

TEST(ParamUnits, TextsInTheUnitAndBack) {
  CoreTestPlug plug;
  IParamRecord& attack = *plug.ParamAt(2);
  attack.SetUnit(ParamUnit{"ms", 0.5, 0.0, 2, false});
  IParamRecord& bypass = *plug.ParamAt(6);
  bypass.SetUnit(ParamUnit{nullptr, 1.0, 0.0, 0, true});
  IParamRecord& mix = *plug.ParamAt(4);  // no unit set: its label and display precision
  struct Case {
    IParamRecord* record;
    double plain;
    const char* text;
  };
  const Case table[] = {{&attack, 10, "5.00 ms"},
                        {&attack, 1, "0.50 ms"},
                        {&bypass, 1, "on"},
                        {&bypass, 0.9, "off"},
                        {&mix, 70, "70.00 %"}};
  for (const Case& c : table) {
    char text[32];
    ASSERT_TRUE(FormatInUnit(*c.record, c.plain, text, sizeof text)) << c.text;
    EXPECT_STREQ(text, c.text);
  }
  struct Parse {
    IParamRecord* record;
    const char* text;
    bool ok;
    double plain;
  };
  const Parse parses[] = {
      {&attack, "5 ms", true, 10},  {&attack, " 5.00MS ", true, 10}, {&attack, "5", true, 10},
      {&attack, "99 ms", true, 50}, {&attack, "5 s", false, 0},      {&attack, "ms", false, 0},
      {&attack, "nan", false, 0},   {&bypass, "ON", true, 1},        {&bypass, "off", true, 0},
      {&bypass, "0.7", true, 0},    {&bypass, "7", true, 1},         {&bypass, "onward", false, 0},
      {&mix, "50 %", true, 50},     {&mix, "50 dB", false, 0}};
  for (const Parse& p : parses) {
    double plain = -1;
    EXPECT_EQ(ParseInUnit(*p.record, p.text, &plain), p.ok) << p.text;
    if (p.ok) {
      EXPECT_DOUBLE_EQ(plain, p.plain) << p.text;
    }
  }
  char tiny[3];
  EXPECT_FALSE(FormatInUnit(attack, 10, tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
}

}  // namespace
