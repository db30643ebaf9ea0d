// Drives the Brask plug-in class directly, without any host format, through the reference
// scenario, and writes its two output channels (block after block, left then right, each
// sample a little-endian double) to the file named on the command line. The VST 3 test host
// compares the built module's output against this file.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Brask.h"
#include "ReferenceScenario.h"

namespace {

bool WriteDoubles(std::FILE* file, const std::vector<double>& values) {
  for (double value : values) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    if (std::fwrite(bytes, 1, 8, file) != 8) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
    return 2;
  }
  using namespace reference;
  Brask plug(nullptr);
  // What a host's initialization and processing setup amount to.
  plug.LoadPreset(0);
  plug.SetSampleRate(kSampleRate);
  plug.SetMaxBlockFrames(kBlockFrames);
  plug.OnReset();
  plug.ConnectInputs(0, plug.InputCount(), true);
  plug.ConnectOutputs(0, plug.OutputCount(), true);

  std::vector<std::vector<double>> in(4, std::vector<double>(kBlockFrames));
  std::vector<std::vector<double>> out(2, std::vector<double>(kBlockFrames));
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file) return 1;
  bool written = true;
  for (int block = 0; block < kBlocks; ++block) {
    for (const Change& change : Changes()) {
      if (change.block != block) continue;
      plug.ParamAt(int(change.paramId))->SetValueFromNormalized(change.normalized);
      plug.OnParamChanged(int(change.paramId));
    }
    for (int c = 0; c < 4; ++c) {
      for (int s = 0; s < kBlockFrames; ++s) {
        in[size_t(c)][size_t(s)] = Input(c, long(block) * kBlockFrames + s);
      }
      plug.InputPointers()[c] = in[size_t(c)].data();
    }
    for (int c = 0; c < 2; ++c) plug.OutputPointers()[c] = out[size_t(c)].data();
    plug.ProcessBlock(plug.InputPointers(), plug.OutputPointers(), kBlockFrames);
    written = written && WriteDoubles(file, out[0]) && WriteDoubles(file, out[1]);
  }
  return std::fclose(file) == 0 && written ? 0 : 1;
}
