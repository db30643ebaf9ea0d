// A host's audio thread and user-interface thread inside one instance at the same time: every
// entry point takes the instance lock, so reconfiguring, automating and restoring state while
// blocks run never touches a buffer in use (the sanitizer build turns any overlap into a
// failure) and leaves the instance consistent.

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "Vst2Test.h"

class Concurrency : public Vst2Test {};

TEST_F(Concurrency, ReconfiguringWhileProcessingIsSerialised) {
  auto plug = CreateStarted(host, 256);
  ASSERT_TRUE(*plug);
  plug->SetParam(0, 0.7f);
  AEffect* effect = plug->Effect();
  std::atomic<bool> stop{false};
  std::atomic<int> nonFinite{0};
  std::atomic<int> blocks{0};

  std::thread audio([&] {
    std::vector<std::vector<float>> in(4, std::vector<float>(512, 0.5f));
    std::vector<std::vector<float>> out(2, std::vector<float>(512, 0.0f));
    float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    while (!stop.load()) {
      effect->processReplacing(effect, inputs, outputs, 512);
      for (float x : out[0]) nonFinite += std::isfinite(x) ? 0 : 1;
      ++blocks;
    }
  });

  VstSpeakerArrangement two = {};
  two.numChannels = 2;
  VstSpeakerArrangement four = {};
  four.numChannels = 4;
  // Both threads must really overlap: keep reconfiguring until the audio thread has run many
  // blocks.
  for (int round = 0; round < 200 || blocks.load() < 2000; ++round) {
    plug->Dispatch(effSetBlockSize, 0, round % 2 ? 64 : 1024);
    plug->Dispatch(effSetSpeakerArrangement, 0,
                   reinterpret_cast<VstIntPtr>(round % 3 ? &four : &two));
    plug->SetParam(round % 8, float(round % 10) / 10.0f);
    void* chunk = nullptr;
    VstIntPtr size = plug->Dispatch(effGetChunk, 1, 0, &chunk);
    std::vector<uint8_t> copy(static_cast<uint8_t*>(chunk), static_cast<uint8_t*>(chunk) + size);
    plug->Dispatch(effSetChunk, 1, size, copy.data());
  }
  stop = true;
  audio.join();
  EXPECT_EQ(nonFinite.load(), 0);
  EXPECT_EQ(plug->Text(effGetParamName, 7), "Sidechain");
}
