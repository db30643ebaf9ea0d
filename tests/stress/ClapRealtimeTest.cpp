// The CLAP audio callback under the allocation hook, and the editor's gestures on their way to
// the host: blocks in both precisions with events for every parameter inside them, blocks
// longer than the activated maximum, and pending editor gestures sent from the block, must not
// touch the heap; a gesture made while no block runs asks the host for a flush, which then
// carries begin, value and end.

#include <gtest/gtest.h>

#include "AllocationHook.h"
#include "fuzz/FuzzClapHost.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"

namespace {

// A drag on the control of paramIdx: press, move, release.
void DragKnob(IGraphics* editor, int paramIdx, int dy) {
  for (int i = 0; i < editor->NControls(); ++i) {
    IControl* control = editor->GetControl(i);
    if (control->ParamIdx() != paramIdx) continue;
    const IRectangle& r = control->Rect();
    IMouseState mouse;
    mouse.left = true;
    editor->HandleMouseDown((r.L + r.R) / 2, (r.T + r.B) / 2, mouse);
    editor->HandleMouseDrag((r.L + r.R) / 2, (r.T + r.B) / 2 + dy, mouse);
    editor->HandleMouseUp((r.L + r.R) / 2, (r.T + r.B) / 2 + dy, mouse);
    return;
  }
}

TEST(ClapRealtime, AudioCallbackTouchesNoHeapInEitherPrecision) {
  if (!AllocationHook::Available()) GTEST_SKIP() << "the sanitizer owns the allocator";
  for (bool is64 : {false, true}) {
    FuzzClapInstance plug(256);
    ASSERT_TRUE(plug.Valid());
    FuzzClapBlock block(1024, is64);
    ClapOutputEvents sent;
    sent.sent.reserve(64);
    const uint32_t lengths[] = {256, 1, 100, 1024, 0, 257};
    for (int b = 0; b < 36; ++b) {
      ClapEventList events;
      for (clap_id id = 0; id < 8; ++id) events.AddParamValue(id, (b + id) % 3, 7 * id);
      DragKnob(plug.Core()->Editor(), b % 6, -5);  // a gesture waits for the block
      block.process.frames_count = lengths[b % 6];
      block.process.in_events = events.Input();
      block.process.out_events = sent.Output();
      size_t heapCalls;
      int32_t answer;
      {
        AllocationHook::ArmedRegion armed;
        AllocationHook::Reset();
        answer = plug.plugin->process(plug.plugin, &block.process);
        heapCalls = AllocationHook::Count();
      }
      ASSERT_EQ(answer, CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(heapCalls, 0u) << "block " << b << (is64 ? ", 64-bit" : ", 32-bit");
      EXPECT_FALSE(sent.sent.empty()) << "the gesture went out with the block";
      sent.sent.clear();
    }
  }
}

TEST(ClapGestures, EditorEditsReachTheHostAsBeginValueEnd) {
  FuzzClapInstance plug(256);
  ASSERT_TRUE(plug.Valid());
  plug.plugin->stop_processing(plug.plugin);
  IGraphics* editor = plug.Core()->Editor();
  const int requestsBefore = plug.host.flushRequests;
  DragKnob(editor, 2, -40);  // "Attack" up
  EXPECT_GT(plug.host.flushRequests, requestsBefore) << "no block runs: the host is asked";
  ClapOutputEvents out;
  plug.params->flush(plug.plugin, nullptr, out.Output());
  ASSERT_EQ(out.sent.size(), 3u);
  EXPECT_EQ(out.sent[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.sent[1].type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(out.sent[2].type, CLAP_EVENT_PARAM_GESTURE_END);
  for (const auto& event : out.sent) EXPECT_EQ(event.param, 2u);
  double attack = 0;
  plug.params->get_value(plug.plugin, 2, &attack);
  EXPECT_GT(attack, 10.0);
  EXPECT_EQ(out.sent[1].value, attack) << "plain values, as the host reads them";
  ClapOutputEvents again;
  plug.params->flush(plug.plugin, nullptr, again.Output());
  EXPECT_TRUE(again.sent.empty()) << "sent once";

  // A second gesture begun before the host heard the first one's end: end, begin, value, end.
  DragKnob(editor, 4, 20);
  plug.params->flush(plug.plugin, nullptr, out.Output());
  out.sent.clear();
  plug.Core()->BeginParamGesture(4);
  plug.Core()->EndParamGesture(4);
  plug.params->flush(plug.plugin, nullptr, out.Output());
  out.sent.clear();
  plug.Core()->BeginParamGesture(4);
  plug.params->flush(plug.plugin, nullptr, out.Output());
  plug.Core()->EndParamGesture(4);
  plug.Core()->BeginParamGesture(4);
  plug.Core()->SetParamFromEditor(4, 0.25);
  plug.Core()->EndParamGesture(4);
  out.sent.clear();
  plug.params->flush(plug.plugin, nullptr, out.Output());
  ASSERT_EQ(out.sent.size(), 4u);
  const uint16_t expected[] = {CLAP_EVENT_PARAM_GESTURE_END, CLAP_EVENT_PARAM_GESTURE_BEGIN,
                               CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_PARAM_GESTURE_END};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(out.sent[i].type, expected[i]) << i;
  EXPECT_EQ(out.sent[2].value, 25.0);
}

}  // namespace
