// Brask.clap against hosts that misbehave: bad process records and events, and state streams
// that are empty, cut short, of another format or failing. Each is ignored, clamped or refused;
// nothing is written past a buffer and nothing the user set is lost.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ClapPlugin.h"

namespace {

constexpr int kMax = 128;
constexpr int kGuard = 64;
constexpr double kMarker = 777.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Instance {
  Instance() {
    std::string error;
    plugin = ClapPlugin::Load(BRASK_CLAP_MODULE_PATH, "", &error);
    EXPECT_TRUE(plugin) << error;
    p = plugin->Instance();
    params = plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    state = plugin->Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  }
  void Start() {
    ASSERT_TRUE(p->activate(p, 48000.0, 1, kMax));
    ASSERT_TRUE(p->start_processing(p));
  }
  std::vector<double> Values() {
    std::vector<double> values(8);
    for (clap_id i = 0; i < 8; ++i) params->get_value(p, i, &values[i]);
    return values;
  }
  std::unique_ptr<ClapPlugin> plugin;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
};

// Buffers with guard samples behind every channel.
struct Buffers {
  Buffers() {
    for (auto& c : in) c.assign(kMax + kGuard, 0.25);
    for (auto& c : out) c.assign(kMax + kGuard, kMarker);
    for (int c = 0; c < 4; ++c) inPtr[c] = in[c].data();
    for (int c = 0; c < 2; ++c) outPtr[c] = out[c].data();
  }
  bool GuardsIntact() const {
    for (const auto& c : out) {
      for (int s = kMax; s < kMax + kGuard; ++s) {
        if (c[s] != kMarker) return false;
      }
    }
    return true;
  }
  bool Finite(int frames) const {
    for (const auto& c : out) {
      for (int s = 0; s < frames; ++s) {
        if (!std::isfinite(c[s])) return false;
      }
    }
    return true;
  }
  std::vector<double> in[4], out[2];
  double* inPtr[4];
  double* outPtr[2];
};

TEST(ClapBadProcess, BrokenRecordsAreIgnoredOrCut) {
  struct Case {
    const char* what;
    uint32_t frames;
    int inputPorts;   // -1: a null input list with a count
    int outputPorts;  // -1: a null output list with a count
    bool nullChannels;
  };
  const Case table[] = {
      {"frames above the activated maximum", kMax * 8, 2, 1, false},
      {"no ports at all", kMax, 0, 0, false},
      {"null port lists with counts", kMax, -1, -1, false},
      {"ports with null channel lists", kMax, 2, 1, true},
      {"only the output port", kMax, 0, 1, false},
      {"an empty block", 0, 2, 1, false},
  };
  for (const Case& c : table) {
    Instance plug;
    plug.Start();
    Buffers b;
    clap_audio_buffer_t ins[2] = {{nullptr, c.nullChannels ? nullptr : b.inPtr, 2, 0, 0},
                                  {nullptr, c.nullChannels ? nullptr : b.inPtr + 2, 2, 0, 0}};
    clap_audio_buffer_t outs[1] = {{nullptr, c.nullChannels ? nullptr : b.outPtr, 2, 0, 0}};
    clap_process_t process{};
    process.frames_count = c.frames;
    process.audio_inputs = c.inputPorts < 0 ? nullptr : ins;
    process.audio_inputs_count = c.inputPorts < 0 ? 2u : uint32_t(c.inputPorts);
    process.audio_outputs = c.outputPorts < 0 ? nullptr : outs;
    process.audio_outputs_count = c.outputPorts < 0 ? 1u : uint32_t(c.outputPorts);
    EXPECT_EQ(plug.p->process(plug.p, &process), CLAP_PROCESS_CONTINUE) << c.what;
    EXPECT_TRUE(b.GuardsIntact()) << c.what;
    if (c.outputPorts == 1 && !c.nullChannels && c.frames > 0) {
      EXPECT_TRUE(b.Finite(kMax)) << c.what;
      EXPECT_NE(b.out[0][0], kMarker) << c.what << ": the block was processed";
    }
  }
}

TEST(ClapBadEvents, UnknownOutOfOrderAndBadValuesKeepTheParametersSound) {
  Instance plug;
  plug.Start();
  ClapEventList events;
  events.AddParamValue(4, 50.0, 90);
  events.AddParamValue(2, 20.0, 10);       // out of time order: applies where rendering stands
  events.AddParamValue(0, kNaN, 5);        // names no value
  events.AddParamValue(1, kInf, 20);       // clamps to the maximum
  events.AddParamValue(3, -1e300, 30);     // clamps to the minimum
  events.AddParamValue(7, 0.9, 40);        // stepped: cut to 0
  events.AddParamValue(99, 1.0, 50);       // no such parameter
  events.AddParamValue(5, 300.0, 100000);  // beyond the block: applies at its end
  clap_event_param_value_t foreign{};
  foreign.header = {sizeof foreign, 60, 7, CLAP_EVENT_PARAM_VALUE, 0};  // another event space
  foreign.param_id = 4;
  foreign.value = 0.0;
  events.AddRaw(&foreign, sizeof foreign);
  clap_event_param_value_t modulation = foreign;
  modulation.header = {sizeof modulation, 60, 0, CLAP_EVENT_PARAM_MOD, 0};
  events.AddRaw(&modulation, sizeof modulation);
  clap_event_header_t cutShort = {sizeof cutShort, 60, 0, CLAP_EVENT_PARAM_VALUE, 0};
  events.AddRaw(&cutShort, sizeof cutShort);
  clap_event_header_t unknown = {sizeof unknown, 60, 0, 0x7777, 0};
  events.AddRaw(&unknown, sizeof unknown);

  Buffers b;
  clap_audio_buffer_t ins[2] = {{nullptr, b.inPtr, 2, 0, 0}, {nullptr, b.inPtr + 2, 2, 0, 0}};
  clap_audio_buffer_t outs[1] = {{nullptr, b.outPtr, 2, 0, 0}};
  clap_process_t process{};
  process.frames_count = kMax;
  process.audio_inputs = ins;
  process.audio_inputs_count = 2;
  process.audio_outputs = outs;
  process.audio_outputs_count = 1;
  process.in_events = events.Input();
  ASSERT_EQ(plug.p->process(plug.p, &process), CLAP_PROCESS_CONTINUE);
  EXPECT_TRUE(b.GuardsIntact());
  EXPECT_TRUE(b.Finite(kMax));
  const std::vector<double> expected = {0, 20, 20, 100, 50, 300, 1, 0};
  EXPECT_EQ(plug.Values(), expected);

  // A list whose size lies and whose get answers null is survived too.
  clap_input_events_t lying{nullptr, [](const clap_input_events_t*) { return UINT32_MAX; },
                            [](const clap_input_events_t*, uint32_t) {
                              return static_cast<const clap_event_header_t*>(nullptr);
                            }};
  process.in_events = &lying;
  EXPECT_EQ(plug.p->process(plug.p, &process), CLAP_PROCESS_CONTINUE);
  clap_input_events_t empty{nullptr, nullptr, nullptr};
  process.in_events = &empty;
  EXPECT_EQ(plug.p->process(plug.p, &process), CLAP_PROCESS_CONTINUE);
  plug.params->flush(plug.p, &lying, nullptr);
  plug.params->flush(plug.p, nullptr, nullptr);
  EXPECT_EQ(plug.Values(), expected);
}

TEST(ClapParamsFlush, AppliesChangesWhileNotProcessing) {
  Instance plug;
  ClapEventList events;
  events.AddParamValue(0, 12.0, 0);
  events.AddParamValue(6, 0.0, 500);
  plug.params->flush(plug.p, events.Input(), nullptr);
  const std::vector<double> values = plug.Values();
  EXPECT_EQ(values[0], 12.0);
  EXPECT_EQ(values[6], 0.0);
}

// ---state---

std::vector<uint8_t> Save(Instance& plug) {
  ClapWriteStream stream;
  EXPECT_TRUE(plug.state->save(plug.p, stream.Stream()));
  return stream.bytes;
}

TEST(ClapState, EveryParameterRoundTripsExactly) {
  Instance a;
  ClapEventList events;
  const double odd[] = {13.371234567891, -7.000000000001, 1.5, 2999.99, 0.001, 499.5, 0, 1};
  for (clap_id i = 0; i < 8; ++i) events.AddParamValue(i, odd[i]);
  a.params->flush(a.p, events.Input(), nullptr);
  const std::vector<uint8_t> saved = Save(a);
  ASSERT_EQ(saved.size(), 72u);
  EXPECT_EQ(std::memcmp(saved.data(), "tffp\0\0\1\0", 8), 0);
  Instance b;
  ClapReadStream in(saved);
  in.chunkBytes = 5;  // a stream that hands out a few bytes per read
  ASSERT_TRUE(b.state->load(b.p, in.Stream()));
  EXPECT_EQ(b.Values(), std::vector<double>(std::begin(odd), std::end(odd)));
  EXPECT_EQ(Save(b), saved);
  ClapWriteStream failing;
  failing.failAfterWrites = 0;
  EXPECT_FALSE(b.state->save(b.p, failing.Stream()));
  EXPECT_FALSE(b.state->save(b.p, nullptr));
}

TEST(ClapState, BadStreamsAreRefusedAndChangeNothing) {
  Instance source;
  ClapEventList events;
  events.AddParamValue(0, 33.0);
  events.AddParamValue(2, 44.0);
  source.params->flush(source.p, events.Input(), nullptr);
  const std::vector<uint8_t> good = Save(source);

  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + n); };
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  std::vector<uint8_t> otherMagic = good;
  otherMagic[0] = 'x';
  std::vector<uint8_t> otherVersion = good;
  otherVersion[6] = 2;
  std::vector<uint8_t> vst3State(good.begin() + 8, good.end());
  vst3State.insert(vst3State.end(), {1, 0, 0, 0});
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int failFromRead;
  };
  const Case table[] = {
      {"empty", {}, -1},
      {"header only", cut(8), -1},
      {"cut inside a value", cut(40), -1},
      {"one byte short", cut(71), -1},
      {"one byte long", longer, -1},
      {"another magic", otherMagic, -1},
      {"another version", otherVersion, -1},
      {"a VST 3 state", vst3State, -1},
      {"garbage", std::vector<uint8_t>(100000, 0x41), -1},
      {"failing at once", good, 0},
      {"failing after a read", good, 1},
  };
  for (const Case& c : table) {
    Instance plug;
    const std::vector<double> before = plug.Values();
    ClapReadStream stream(c.bytes);
    stream.chunkBytes = 16;
    stream.failFromRead = c.failFromRead;
    EXPECT_FALSE(plug.state->load(plug.p, stream.Stream())) << c.what;
    EXPECT_EQ(plug.Values(), before) << c.what;
  }
  Instance plug;
  EXPECT_FALSE(plug.state->load(plug.p, nullptr));
  clap_istream_t noRead{nullptr, nullptr};
  EXPECT_FALSE(plug.state->load(plug.p, &noRead));
}

}  // namespace
