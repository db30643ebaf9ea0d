// Four host threads on one VST 3 instance at once: the audio thread processes blocks with
// parameter changes, one thread automates every parameter through the controller, one saves
// and loads the state, and one runs the editor (ticks, paints, mouse gestures). Run under
// ThreadSanitizer in the tsan build. No race, no deadlock, and afterwards a saved state loads
// back to the same values, in the same instance and in a fresh one.

#include <gtest/gtest.h>

#include "StressThreads.h"
#include "Vst3Rig.h"
#include "vst3/IPlugVST3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<uint8_t> SaveState(FuzzVst3Instance& plug) {
  FuzzStream stream;
  plug.controller->getState(&stream);
  return stream.data;
}

std::vector<ParamValue> Values(FuzzVst3Instance& plug) {
  std::vector<ParamValue> values;
  for (int32 i = 0; i < plug.controller->getParameterCount(); ++i) {
    ParameterInfo info{};
    plug.controller->getParameterInfo(i, info);
    values.push_back(plug.controller->getParamNormalized(info.id));
  }
  return values;
}

TEST(Vst3Threads, AudioAutomationStateAndEditorAtOnce) {
  Vst3Rig rig(kSample32, 256);
  ASSERT_TRUE(rig.Valid());
  IGraphics* editor = rig.Core()->Editor();
  ASSERT_NE(editor, nullptr);
  editor->CreateDrawSurfaces();
  for (int s = 0; s < 256; ++s) {
    for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.9 * std::sin(0.02 * s * (c + 1)));
  }
  IEditController* controller = rig.plug.controller;
  EditorDriver editorDriver(editor);
  int audioBlock = 0;
  int automationStep = 0;
  bool outputsFinite = true;

  const std::vector<long> counts = RunConcurrently({
      [&] {  // audio
        rig.changes.queues.clear();
        FuzzQueue queue;
        queue.id = ParamID(audioBlock % 8);
        queue.points = {{0, (audioBlock % 17) / 16.0}};
        rig.changes.queues.push_back(queue);
        rig.Process(1 + (audioBlock * 37) % 256);
        outputsFinite = outputsFinite && rig.OutputsFinite(1);
        ++audioBlock;
      },
      [&] {  // automation of every parameter, as fast as it goes
        for (ParamID id = 0; id < 8; ++id) {
          controller->setParamNormalized(id, ((automationStep + int(id)) % 11) / 10.0);
          String128 text;
          controller->getParamStringByValue(id, controller->getParamNormalized(id), text);
        }
        controller->setParamNormalized(IPlugVST3::kBypassParamId, automationStep % 2);
        ++automationStep;
      },
      [&] {  // state
        FuzzStream stream;
        controller->getState(&stream);
        stream.Rewind();
        controller->setState(&stream);
      },
      [&] { editorDriver.Step(); },
  });
  for (long count : counts) EXPECT_GT(count, 0);
  EXPECT_TRUE(outputsFinite);

  const std::vector<uint8_t> saved = SaveState(rig.plug);
  const std::vector<ParamValue> values = Values(rig.plug);
  FuzzStream again(saved);
  ASSERT_EQ(controller->setState(&again), kResultOk);
  EXPECT_EQ(Values(rig.plug), values);
  EXPECT_EQ(SaveState(rig.plug), saved);

  Vst3Rig fresh(kSample32, 256);
  FuzzStream into(saved);
  ASSERT_EQ(fresh.plug.controller->setState(&into), kResultOk);
  EXPECT_EQ(Values(fresh.plug), values);
}

}  // namespace
