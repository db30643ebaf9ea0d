#pragma once
// ChannelMap: which of brask-host's four input channels (main left, right, side-chain left,
// right) and two output channels each of a plug-in's channels gets. Channels without one read
// silence or write into a buffer nobody reads, so a plug-in with more channels than brask-host
// feeds still gets a valid pointer for every channel it announced.
//
// Prepare allocates; Bind only fills the pointer arrays, so it is safe in the audio loop.

#include <vector>

template <typename Sample>
class ChannelMap {
 public:
  static constexpr int kNone = -1;  ///< the channel gets silence or the discard buffer
  static constexpr int kHostInputs = 4;
  static constexpr int kHostOutputs = 2;

  // One entry per plug-in channel: the brask-host channel it gets, or kNone.
  void Prepare(std::vector<int> inputSources, std::vector<int> outputSources, int maxFrames) {
    inputSource = std::move(inputSources);
    outputSource = std::move(outputSources);
    silence.assign(size_t(maxFrames), Sample(0));
    discard.assign(size_t(maxFrames), Sample(0));
    inputs.assign(inputSource.size(), nullptr);
    outputs.assign(outputSource.size(), nullptr);
  }

  // Points every plug-in channel at its buffer for this block.
  void Bind(Sample* const* hostInputs, Sample* const* hostOutputs) {
    for (size_t c = 0; c < inputs.size(); ++c) {
      const int source = inputSource[c];
      inputs[c] = source >= 0 && source < kHostInputs ? hostInputs[source] : silence.data();
    }
    for (size_t c = 0; c < outputs.size(); ++c) {
      const int source = outputSource[c];
      outputs[c] = source >= 0 && source < kHostOutputs ? hostOutputs[source] : discard.data();
    }
  }

  Sample** Inputs() { return inputs.data(); }
  Sample** Outputs() { return outputs.data(); }
  int MaxFrames() const { return int(silence.size()); }

 private:
  std::vector<int> inputSource;
  std::vector<int> outputSource;
  std::vector<Sample> silence;  ///< never written by brask-host after Prepare
  std::vector<Sample> discard;  ///< written by the plug-in, read by nobody
  std::vector<Sample*> inputs;
  std::vector<Sample*> outputs;
};
