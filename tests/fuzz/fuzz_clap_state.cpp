// Fuzz target: CLAP state loads from streams of any length and content, handed out in pieces
// of any size, failing from any read on. Properties: a refused load changes no parameter;
// every parameter stays a finite value in its range; the state then saved loads back and saves
// the same bytes; audio processed afterwards stays finite.

#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzClapHost.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzClapInstance plug(64);
  FUZZ_CHECK(plug.Valid());
  const uint8_t mode = in.Byte();
  const std::vector<double> before = plug.Values();
  ClapReadStream stream;
  stream.failFromRead = (mode & 0x80) ? int(mode & 0x07) : -1;
  stream.chunkBytes = (mode & 0x40) ? 1 + in.Byte() % 80 : UINT64_MAX;
  stream.bytes = in.Bytes(in.Remaining());
  if (!plug.state->load(plug.plugin, stream.Stream())) FUZZ_CHECK(plug.Values() == before);
  FUZZ_CHECK(plug.ValuesSound());

  ClapWriteStream saved;
  FUZZ_CHECK(plug.state->save(plug.plugin, saved.Stream()));
  ClapReadStream again(saved.bytes);
  FUZZ_CHECK(plug.state->load(plug.plugin, again.Stream()));
  ClapWriteStream resaved;
  FUZZ_CHECK(plug.state->save(plug.plugin, resaved.Stream()));
  FUZZ_CHECK(resaved.bytes == saved.bytes);

  FuzzClapBlock block(64, false);
  for (int s = 0; s < 64; ++s) {
    for (int c = 0; c < 4; ++c) block.SetInput(c, s, 0.9 * std::sin(0.1 * (s + c)));
  }
  block.process.frames_count = 64;
  FUZZ_CHECK(plug.plugin->process(plug.plugin, &block.process) == CLAP_PROCESS_CONTINUE);
  FUZZ_CHECK(block.OutputsFinite(64) && block.GuardsIntact());
  return 0;
}
