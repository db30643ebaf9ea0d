// Four host threads on one CLAP instance at once: the audio thread processes blocks with
// parameter events, one main-thread caller reads values and texts, one saves and loads the
// state, and one runs the editor (ticks, paints, mouse gestures). Run under ThreadSanitizer in
// the tsan build. No race, no deadlock, and afterwards a saved state loads back to the same
// values, in the same instance and in a fresh one.

#include <gtest/gtest.h>

#include "StressThreads.h"
#include "fuzz/FuzzClapHost.h"
#include "gui/IGraphics.h"

namespace {

TEST(ClapThreads, AudioParametersStateAndEditorAtOnce) {
  constexpr int kFrames = 256;
  FuzzClapInstance plug(kFrames);
  ASSERT_TRUE(plug.Valid());
  IGraphics* editor = plug.Core()->Editor();
  ASSERT_NE(editor, nullptr);
  editor->CreateDrawSurfaces();
  FuzzClapBlock block(kFrames, false);
  for (int s = 0; s < kFrames; ++s) {
    for (int c = 0; c < 4; ++c) block.SetInput(c, s, 0.9 * std::sin(0.02 * s * (c + 1)));
  }
  EditorDriver editorDriver(editor);
  int audioBlock = 0;
  int readStep = 0;
  bool outputsFinite = true;
  ClapOutputEvents sent;
  const std::vector<long> counts = RunConcurrently({
      [&] {  // audio, with events inside the block
        ClapEventList events;
        events.AddParamValue(clap_id(audioBlock % 8), (audioBlock % 17) * 2.0, 13);
        events.AddParamValue(clap_id((audioBlock + 3) % 6), (audioBlock % 5) * 10.0, 200);
        block.process.frames_count = uint32_t(1 + (audioBlock * 37) % kFrames);
        block.process.in_events = events.Input();
        block.process.out_events = sent.Output();
        plug.plugin->process(plug.plugin, &block.process);
        outputsFinite = outputsFinite && block.OutputsFinite(1);
        sent.sent.clear();
        ++audioBlock;
      },
      [&] {  // the host's main thread reads values and their texts
        for (clap_id id = 0; id < 8; ++id) {
          double value = 0;
          char text[64];
          plug.params->get_value(plug.plugin, id, &value);
          plug.params->value_to_text(plug.plugin, id, value + readStep % 3, text, sizeof text);
        }
        ++readStep;
      },
      [&] {  // state
        ClapWriteStream out;
        plug.state->save(plug.plugin, out.Stream());
        ClapReadStream in(out.bytes);
        plug.state->load(plug.plugin, in.Stream());
      },
      [&] { editorDriver.Step(); },
  });
  for (long count : counts) EXPECT_GT(count, 0);
  EXPECT_TRUE(outputsFinite);

  ClapWriteStream saved;
  ASSERT_TRUE(plug.state->save(plug.plugin, saved.Stream()));
  const std::vector<double> values = plug.Values();
  ClapReadStream again(saved.bytes);
  ASSERT_TRUE(plug.state->load(plug.plugin, again.Stream()));
  EXPECT_EQ(plug.Values(), values);
  FuzzClapInstance fresh(kFrames);
  ClapReadStream into(saved.bytes);
  ASSERT_TRUE(fresh.state->load(fresh.plugin, into.Stream()));
  EXPECT_EQ(fresh.Values(), values);
}

}  // namespace
