// Fuzz target: CLAP process calls whose event lists hold any events (parameter values with any
// id, value and time, modulation, gestures, unknown types and spaces, events cut short), in any
// order, in blocks of any length (also above the activated maximum) and either precision, and
// parameter flushes between them. Properties: no output sample beyond the block is written,
// outputs stay finite for finite input, every parameter stays a finite value in its range.

#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzClapHost.h"
#include "FuzzInput.h"

namespace {

constexpr int kMaxFrames = 128;

void AddEvent(FuzzInput& in, ClapEventList& events) {
  static const uint16_t kTypes[] = {CLAP_EVENT_PARAM_VALUE,
                                    CLAP_EVENT_PARAM_VALUE,
                                    CLAP_EVENT_PARAM_VALUE,
                                    CLAP_EVENT_PARAM_MOD,
                                    CLAP_EVENT_PARAM_GESTURE_BEGIN,
                                    CLAP_EVENT_TRANSPORT,
                                    0,
                                    0x1234};
  clap_event_param_value_t event{};
  event.header.type = in.Pick(kTypes);
  event.header.space_id = in.Byte() < 240 ? CLAP_CORE_EVENT_SPACE_ID : uint16_t(in.Byte());
  event.header.time = in.Bool() ? uint32_t(in.Range(0, kMaxFrames * 2)) : in.Raw<uint32_t>();
  event.param_id = in.Byte() < 230 ? clap_id(in.Range(0, 7)) : in.Raw<uint32_t>();
  event.value = in.Byte() < 128 ? in.Range(-30, 3000) * 0.5 : in.Number();
  const uint32_t size = in.Byte() < 240 ? uint32_t(sizeof event) : uint32_t(in.Range(0, 40));
  event.header.size = size;
  events.AddRaw(&event, sizeof event);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzClapInstance plug(kMaxFrames);
  FUZZ_CHECK(plug.Valid());
  for (int round = 0; round < 8 && !in.Empty(); ++round) {
    ClapEventList events;
    const int count = in.Range(0, 24);
    for (int e = 0; e < count; ++e) AddEvent(in, events);
    if (in.Byte() < 32) {
      plug.params->flush(plug.plugin, events.Input(), nullptr);
      FUZZ_CHECK(plug.ValuesSound());
      continue;
    }
    FuzzClapBlock block(kMaxFrames, in.Bool());
    for (int s = 0; s < kMaxFrames; ++s) {
      for (int c = 0; c < 4; ++c) block.SetInput(c, s, 0.8 * std::sin(0.05 * (s + 7 * c)));
    }
    const uint32_t frames =
        in.Byte() < 200 ? uint32_t(in.Range(0, kMaxFrames)) : in.Raw<uint32_t>();
    block.process.frames_count = frames;
    block.process.in_events = events.Input();
    FUZZ_CHECK(plug.plugin->process(plug.plugin, &block.process) == CLAP_PROCESS_CONTINUE);
    FUZZ_CHECK(block.GuardsIntact());
    FUZZ_CHECK(block.OutputsFinite(int(std::min<uint32_t>(frames, kMaxFrames))));
    FUZZ_CHECK(plug.ValuesSound());
  }
  return 0;
}
