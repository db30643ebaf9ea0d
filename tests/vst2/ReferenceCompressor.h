#pragma once
// ReferenceCompressor: the Brask plug-in class built in this test program over the test
// adaptor, driven directly through ProcessBlock. It shows what the compressor itself produces
// for given settings and input, so tests can check that the module's process callbacks deliver
// exactly that.

#include <memory>
#include <utility>
#include <vector>

#include "HostAudio.h"

class Brask;

class ReferenceCompressor {
 public:
  // Normalized values per parameter index, as a host would set them.
  using Settings = std::vector<std::pair<int, float>>;

  ReferenceCompressor(double sampleRate, const Settings& settings);
  ~ReferenceCompressor();

  // Runs one block of inputs.size() channels; answers the two output channels.
  Channels Process(const Channels& inputs);

 private:
  std::unique_ptr<Brask> mPlug;
};
