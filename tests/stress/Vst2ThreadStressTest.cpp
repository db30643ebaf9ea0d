// Four host threads on one VST 2 effect at once: the audio thread processes blocks, one
// thread automates every parameter through setParameter, one saves and loads program and bank
// chunks, and one runs the editor (ticks, paints, mouse gestures). Run under ThreadSanitizer
// in the tsan build. No race, no deadlock, and afterwards a saved chunk loads back to the
// same values, in the same effect and in a fresh one.

#include <gtest/gtest.h>

#include <cstring>

#include "StressThreads.h"
#include "Vst2Rig.h"

namespace {

std::vector<uint8_t> GetChunk(FuzzVst2Effect& effect, VstInt32 index) {
  void* data = nullptr;
  const VstIntPtr size = effect.Dispatch(effGetChunk, index, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<float> Values(FuzzVst2Effect& effect) {
  std::vector<float> values;
  for (int i = 0; i < effect->numParams; ++i) {
    values.push_back(effect->getParameter(effect.Get(), i));
  }
  return values;
}

TEST(Vst2Threads, AudioAutomationChunksAndEditorAtOnce) {
  Vst2Rig rig(256);
  ASSERT_TRUE(rig.Valid());
  IGraphics* editor = rig.Core()->Editor();
  ASSERT_NE(editor, nullptr);
  editor->CreateDrawSurfaces();
  for (int s = 0; s < 256; ++s) {
    for (int c = 0; c < 4; ++c) rig.SetInput(c, s, 0.9 * std::sin(0.02 * s * (c + 1)));
  }
  FuzzVst2Effect& effect = rig.effect;
  EditorDriver editorDriver(editor);
  int audioBlock = 0;
  int automationStep = 0;
  int chunkStep = 0;
  bool outputsFinite = true;

  const std::vector<long> counts = RunConcurrently({
      [&] {  // audio
        const int frames = 1 + (audioBlock * 37) % 256;
        const bool is64 = audioBlock % 2 == 0;
        if (is64) {
          rig.ProcessDouble(frames);
        } else {
          rig.ProcessFloat(frames);
        }
        outputsFinite = outputsFinite && rig.OutputsFinite(1, is64);
        ++audioBlock;
      },
      [&] {  // automation of every parameter, as fast as it goes
        for (int i = 0; i < effect->numParams; ++i) {
          effect->setParameter(effect.Get(), i, float((automationStep + i) % 11) / 10.0f);
          char text[kVstExtMaxParamStrLen];
          effect.Dispatch(effGetParamDisplay, i, 0, text);
        }
        ++automationStep;
      },
      [&] {  // chunks: program and bank, saved and loaded back
        const VstInt32 index = chunkStep++ % 2;
        std::vector<uint8_t> chunk = GetChunk(effect, index);
        effect.Dispatch(effSetChunk, index, VstIntPtr(chunk.size()), chunk.data());
      },
      [&] { editorDriver.Step(); },
  });
  for (long count : counts) EXPECT_GT(count, 0);
  EXPECT_TRUE(outputsFinite);

  std::vector<uint8_t> saved = GetChunk(effect, 1);
  ASSERT_FALSE(saved.empty());
  const std::vector<float> values = Values(effect);
  ASSERT_EQ(effect.Dispatch(effSetChunk, 1, VstIntPtr(saved.size()), saved.data()), 1);
  EXPECT_EQ(Values(effect), values);
  EXPECT_EQ(GetChunk(effect, 1), saved);

  Vst2Rig fresh(256);
  ASSERT_EQ(fresh.effect.Dispatch(effSetChunk, 1, VstIntPtr(saved.size()), saved.data()), 1);
  EXPECT_EQ(Values(fresh.effect), values);
}

}  // namespace
