// The one path every adaptor takes for a host's parameter write.

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

}  // namespace
