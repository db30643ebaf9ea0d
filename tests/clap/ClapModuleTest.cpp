// Brask.clap as CLAP hosts load it: through clap_entry, its factory, the instance record and the
// extensions, natively and under Wine. The audio is compared with the VST 3 module's.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ClapPlugin.h"
#include "SharedLibrary.h"
#include "public.sdk/source/common/memorystream.h"
#include "vst3/Vst3Plugin.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kMaxBlock = 256;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<ClapPlugin> LoadBrask() {
  std::string error;
  auto plugin = ClapPlugin::Load(BRASK_CLAP_MODULE_PATH, "", &error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

// A settings state: every parameter's plain value, in index order.
using Settings = std::vector<double>;
const Settings kDefaults = {0, 0, 10, 400, 100, 20, 1, 0};
const Settings kHeavy = {24, 3, 2, 900, 80, 60, 1, 0};
const Settings kKeyed = {18, 0, 5, 300, 100, 120, 1, 1};

std::vector<uint8_t> ProgramChunk(const Settings& values) {
  std::vector<uint8_t> bytes = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  for (double v : values) {
    uint8_t raw[8];
    std::memcpy(raw, &v, 8);
    bytes.insert(bytes.end(), raw, raw + 8);
  }
  return bytes;
}

double Signal(int channel, long frame) {
  return 0.7 * std::sin(0.013 * double(frame) * (channel + 1)) * (frame % 4000 < 2000 ? 1.0 : 0.05);
}

// One instance with buffers of four inputs and two outputs for blocks of up to kMaxBlock.
struct ClapRig {
  explicit ClapRig(bool use64 = true, bool sideChain = true) : is64(use64) {
    plugin = LoadBrask();
    ProcessSettings settings;
    settings.sampleRate = kRate;
    settings.maxBlock = kMaxBlock;
    settings.use64 = use64;
    settings.sideChain = sideChain;
    std::string error;
    EXPECT_TRUE(plugin && plugin->Prepare(settings, &error)) << error;
    for (auto* v : {&in64, &out64}) v->assign(4, std::vector<double>(kMaxBlock));
    for (auto* v : {&in32, &out32}) v->assign(4, std::vector<float>(kMaxBlock));
  }
  void Load(const Settings& values) {
    std::string error;
    ASSERT_TRUE(plugin->LoadState(ProgramChunk(values), &error)) << error;
  }
  // Renders frames from frame start of the signal with the given events, as a host's process
  // call; answers the left output, then the right.
  std::vector<double> Render(long start, int frames, const ClapEventList* events = nullptr) {
    double* i64[4];
    double* o64[2];
    float* i32[4];
    float* o32[2];
    for (int c = 0; c < 4; ++c) {
      for (int s = 0; s < frames; ++s) {
        in64[c][s] = Signal(c, start + s);
        in32[c][s] = float(in64[c][s]);
      }
      i64[c] = in64[c].data();
      i32[c] = in32[c].data();
      if (c < 2) {
        o64[c] = out64[c].data();
        o32[c] = out32[c].data();
      }
    }
    clap_audio_buffer_t ins[2] = {{is64 ? nullptr : i32, is64 ? i64 : nullptr, 2, 0, 0},
                                  {is64 ? nullptr : i32 + 2, is64 ? i64 + 2 : nullptr, 2, 0, 0}};
    clap_audio_buffer_t outs[1] = {{is64 ? nullptr : o32, is64 ? o64 : nullptr, 2, 0, 0}};
    clap_process_t process{};
    process.frames_count = uint32_t(frames);
    process.audio_inputs = ins;
    process.audio_inputs_count = 2;
    process.audio_outputs = outs;
    process.audio_outputs_count = 1;
    process.in_events = events ? events->Input() : nullptr;
    const clap_plugin_t* p = plugin->Instance();
    EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE);
    std::vector<double> out;
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < frames; ++s) out.push_back(is64 ? out64[c][s] : double(out32[c][s]));
    }
    return out;
  }
  bool is64;
  std::unique_ptr<ClapPlugin> plugin;
  std::vector<std::vector<double>> in64, out64;
  std::vector<std::vector<float>> in32, out32;
};

// ---entry and factory---

TEST(ClapEntry, InitIsCountedAndOnlyItsFactoriesAreOffered) {
  SharedLibrary library;
  std::string error;
  ASSERT_TRUE(library.Open(BRASK_CLAP_MODULE_PATH, &error)) << error;
  const auto* entry = static_cast<const clap_plugin_entry_t*>(library.Symbol("clap_entry"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->clap_version.major, 1u);
  EXPECT_EQ(entry->clap_version.minor, 2u);
  ASSERT_TRUE(entry->init("Brask.clap"));
  ASSERT_TRUE(entry->init(nullptr));  // a second caller in the same process
  entry->deinit();
  EXPECT_NE(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr) << "one init is still open";
  for (const char* id : {"clap.preset-discovery-factory/3", "", "clap.plugin-factory "}) {
    EXPECT_EQ(entry->get_factory(id), nullptr) << id;
  }
  EXPECT_EQ(entry->get_factory(nullptr), nullptr);
  const auto* factory =
      static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  ASSERT_EQ(factory->get_plugin_count(factory), 1u);
  const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  EXPECT_STREQ(d->id, "com.wyrdworks.brask");
  EXPECT_STREQ(d->name, "Brask");
  EXPECT_STREQ(d->vendor, "Wyrdworks");
  EXPECT_STREQ(d->version, "4.0.0");
  std::vector<std::string> features;
  for (int i = 0; d->features[i]; ++i) features.push_back(d->features[i]);
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "compressor", "stereo"}));

  ClapHost host;
  EXPECT_EQ(factory->create_plugin(factory, nullptr, d->id), nullptr) << "a NULL host";
  EXPECT_EQ(factory->create_plugin(factory, host.Record(), "com.wyrdworks.other"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Record(), nullptr), nullptr);
  const clap_plugin_t* plugin = factory->create_plugin(factory, host.Record(), d->id);
  ASSERT_NE(plugin, nullptr);
  plugin->destroy(plugin);
  entry->deinit();
  EXPECT_EQ(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr) << "every init was closed";
}

// ---parameters---

TEST(ClapParams, EightPlainParametersWithTheirRangesAndDefaults) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  struct Expected {
    const char* name;
    double min, max, def;
    bool stepped;
  };
  const Expected table[] = {{"Input", 0, 40, 0, false},   {"Output", -20, 20, 0, false},
                            {"Attack", 1, 50, 10, false}, {"Release", 100, 3000, 400, false},
                            {"Mix", 0, 100, 100, false},  {"HPF", 20, 500, 20, false},
                            {"Bypass", 0, 1, 1, true},    {"Sidechain", 0, 1, 0, true}};
  const auto* params = plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  ASSERT_NE(params, nullptr);
  ASSERT_EQ(params->count(plugin->Instance()), 8u);
  for (uint32_t i = 0; i < 8; ++i) {
    clap_param_info_t info{};
    ASSERT_TRUE(params->get_info(plugin->Instance(), i, &info));
    EXPECT_EQ(info.id, i);
    EXPECT_STREQ(info.name, table[i].name);
    EXPECT_EQ(info.min_value, table[i].min);
    EXPECT_EQ(info.max_value, table[i].max);
    EXPECT_EQ(info.default_value, table[i].def);
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE) << table[i].name;
    EXPECT_EQ((info.flags & CLAP_PARAM_IS_STEPPED) != 0, table[i].stepped) << table[i].name;
    EXPECT_FALSE(info.flags & CLAP_PARAM_IS_BYPASS) << "1 means processing, not bypassed";
    double value = -1;
    ASSERT_TRUE(params->get_value(plugin->Instance(), i, &value));
    EXPECT_EQ(value, table[i].def);
  }
  clap_param_info_t info{};
  EXPECT_FALSE(params->get_info(plugin->Instance(), 8, &info));
  EXPECT_FALSE(params->get_info(plugin->Instance(), 0, nullptr));
  double value = 0;
  EXPECT_FALSE(params->get_value(plugin->Instance(), 8, &value));
  EXPECT_FALSE(params->get_value(plugin->Instance(), 0, nullptr));
}

TEST(ClapParams, TextsInRealUnitsReadBackWithOrWithoutTheUnit) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  const auto* params = plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  const clap_plugin_t* p = plugin->Instance();
  struct Case {
    clap_id id;
    double value;
    const char* text;
    const char* bare;  // the number alone, read back the same
  };
  const Case table[] = {
      {0, 12.5, "12.50 dB", "12.5"},
      {1, -6, "-6.00 dB", "-6"},
      {2, 10, "5.00 ms", "5"},
      {2, 1, "0.50 ms", "0.5"},
      {2, 50, "25.00 ms", "25"},
      {3, 100, "0.400 s", "0.4"},
      {3, 3000, "1.000 s", "1"},
      {4, 70, "70.0 %", "70"},
      {5, 120, "120.0 Hz", "120"},
      {6, 1, "on", "1"},
      {6, 0, "off", "0"},
      {7, 1, "on", "1"},
  };
  for (const Case& c : table) {
    char text[64] = {};
    ASSERT_TRUE(params->value_to_text(p, c.id, c.value, text, sizeof text)) << c.text;
    EXPECT_STREQ(text, c.text);
    for (const char* written : {c.text, c.bare}) {
      double back = kNaN;
      ASSERT_TRUE(params->text_to_value(p, c.id, written, &back)) << written;
      EXPECT_NEAR(back, c.value, 1e-9 * std::max(1.0, std::fabs(c.value))) << written;
    }
  }
  // Out of range clamps; garbage, another unit, NaN and tiny buffers are refused.
  double back = 0;
  ASSERT_TRUE(params->text_to_value(p, 2, "1000 ms", &back));
  EXPECT_EQ(back, 50.0);
  for (const char* bad : {"", "loud", "5 dB", "nan", "inf ms", "on"}) {
    EXPECT_FALSE(params->text_to_value(p, 2, bad, &back)) << bad;
  }
  EXPECT_FALSE(params->text_to_value(p, 6, "maybe", &back));
  EXPECT_FALSE(params->text_to_value(p, 9, "1", &back));
  EXPECT_FALSE(params->text_to_value(p, 0, nullptr, &back));
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(params->value_to_text(p, 3, 400, small, sizeof small));
  EXPECT_EQ(small[0], '\0');
  EXPECT_FALSE(params->value_to_text(p, 0, kNaN, small, sizeof small));
  EXPECT_FALSE(params->value_to_text(p, 0, 1, nullptr, 16));
}

// ---ports, latency, tail, remote controls---

TEST(ClapPorts, MainAndSideChainInStereoOneStereoOutLatencyAndTailZero) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  const auto* ports = plugin->Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  const clap_plugin_t* p = plugin->Instance();
  ASSERT_EQ(ports->count(p, true), 2u);
  ASSERT_EQ(ports->count(p, false), 1u);
  struct Port {
    bool input;
    uint32_t index;
    const char* name;
    bool main;
  };
  for (const Port& expected : {Port{true, 0, "Main Input", true}, Port{true, 1, "Sidechain", false},
                               Port{false, 0, "Output", true}}) {
    clap_audio_port_info_t info{};
    ASSERT_TRUE(ports->get(p, expected.index, expected.input, &info));
    EXPECT_STREQ(info.name, expected.name);
    EXPECT_EQ(info.channel_count, 2u);
    EXPECT_STREQ(info.port_type, "stereo");
    EXPECT_EQ((info.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0, expected.main) << expected.name;
    EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
  }
  clap_audio_port_info_t info{};
  EXPECT_FALSE(ports->get(p, 2, true, &info));
  EXPECT_FALSE(ports->get(p, 1, false, &info));
  EXPECT_EQ(plugin->Ext<clap_plugin_latency_t>(CLAP_EXT_LATENCY)->get(p), 0u);
  EXPECT_EQ(plugin->Ext<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(p), 0u);

  for (const char* id : {CLAP_EXT_REMOTE_CONTROLS, CLAP_EXT_REMOTE_CONTROLS_COMPAT}) {
    const auto* remote = plugin->Ext<clap_plugin_remote_controls_t>(id);
    ASSERT_NE(remote, nullptr) << id;
    ASSERT_EQ(remote->count(p), 1u);
    clap_remote_controls_page_t page{};
    ASSERT_TRUE(remote->get(p, 0, &page));
    for (clap_id k = 0; k < 8; ++k) EXPECT_EQ(page.param_ids[k], k);
    EXPECT_FALSE(remote->get(p, 1, &page));
  }
  EXPECT_EQ(p->get_extension(p, "clap.note-ports"), nullptr);
  EXPECT_EQ(p->get_extension(p, nullptr), nullptr);
}

// ---life cycle: calls out of order are refused---

TEST(ClapLifeCycle, CallsInTheWrongStageAreRefused) {
  auto plugin = LoadBrask();
  ASSERT_TRUE(plugin);
  const clap_plugin_t* p = plugin->Instance();
  EXPECT_FALSE(p->init(p)) << "init twice";
  clap_process_t process{};
  process.frames_count = 16;
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_ERROR) << "process before activate";
  EXPECT_FALSE(p->start_processing(p)) << "start before activate";
  for (double rate : {0.0, -1.0, kNaN, kInf}) EXPECT_FALSE(p->activate(p, rate, 1, 256)) << rate;
  EXPECT_FALSE(p->activate(p, kRate, 1, 0));
  EXPECT_FALSE(p->activate(p, kRate, 512, 256));
  ASSERT_TRUE(p->activate(p, kRate, 1, 256));
  EXPECT_FALSE(p->activate(p, kRate, 1, 256)) << "activate twice";
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_ERROR) << "process before start_processing";
  ASSERT_TRUE(p->start_processing(p));
  EXPECT_FALSE(p->start_processing(p));
  EXPECT_EQ(p->process(p, nullptr), CLAP_PROCESS_ERROR);
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE) << "a block without ports";
  p->reset(p);
  p->stop_processing(p);
  p->stop_processing(p);
  p->deactivate(p);
  p->deactivate(p);
  EXPECT_FALSE(p->start_processing(p));
  // A record without plug-in data, and no record, get neutral answers.
  clap_plugin_t cleared = *p;
  cleared.plugin_data = nullptr;
  EXPECT_FALSE(p->init(&cleared));
  EXPECT_EQ(p->process(nullptr, &process), CLAP_PROCESS_ERROR);
  EXPECT_EQ(p->get_extension(nullptr, CLAP_EXT_PARAMS), nullptr);
}

// ---audio---

// The VST 3 module renders the same input and settings, its state set to the same values.
std::vector<double> RenderVst3(const Settings& values, bool is64, int blocks, int frames) {
  Vst3Plugin vst3;
  vst3.Prepare(kRate, kMaxBlock, is64 ? Steinberg::Vst::kSample64 : Steinberg::Vst::kSample32,
               true);
  std::vector<uint8_t> state = ProgramChunk(values);
  state.erase(state.begin(), state.begin() + 8);
  state.insert(state.end(), {0, 0, 0, 0});
  Steinberg::MemoryStream stream(state.data(), Steinberg::TSize(state.size()));
  vst3.controller->setState(&stream);
  ProcessRig rig(kMaxBlock, is64);
  std::vector<double> out;
  for (int b = 0; b < blocks; ++b) {
    rig.FillInputs(frames, long(b) * frames, Signal);
    vst3.processor->process(rig.Data(frames, 2, 1));
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < frames; ++s) out.push_back(rig.Output(c, s));
    }
  }
  return out;
}

TEST(ClapAudio, WithoutEventsBitIdenticalToTheVst3ModuleInBothPrecisions) {
  for (bool is64 : {false, true}) {
    for (const Settings* values : {&kDefaults, &kHeavy, &kKeyed}) {
      ClapRig rig(is64);
      rig.Load(*values);
      std::vector<double> clap;
      for (int b = 0; b < 20; ++b) {
        std::vector<double> block = rig.Render(long(b) * kMaxBlock, kMaxBlock);
        clap.insert(clap.end(), block.begin(), block.end());
      }
      const std::vector<double> vst3 = RenderVst3(*values, is64, 20, kMaxBlock);
      ASSERT_EQ(clap.size(), vst3.size());
      size_t differing = 0;
      for (size_t i = 0; i < clap.size(); ++i) {
        differing += std::memcmp(&clap[i], &vst3[i], sizeof(double)) != 0 ? 1 : 0;
      }
      EXPECT_EQ(differing, 0u) << (is64 ? "64" : "32") << "-bit, settings " << (*values)[0];
      EXPECT_NE(clap[300], Signal(0, 300)) << "the output is processed";
    }
  }
}

// Events at frames 37, 100 and 200 of one block sound as blocks cut at those frames, with the
// changes at the start of each, in both precisions. "Sidechain" goes on at 37: a 32-bit block
// widens the side chain only while it is heard, so from there on it must hear the current one.
TEST(ClapAudio, EventsApplyAtTheirFrameAsShorterBlocksWould) {
  struct Change {
    uint32_t at;
    clap_id id;
    double value;
  };
  const Change changes[] = {{37, 0, 30}, {37, 7, 1}, {100, 2, 1}, {100, 4, 40}, {200, 6, 0}};
  const uint32_t edges[] = {0, 37, 100, 200, kMaxBlock};
  for (bool is64 : {false, true}) {
    ClapRig whole(is64), pieces(is64);
    for (ClapRig* rig : {&whole, &pieces}) {
      rig->Load(kHeavy);
      rig->Render(0, kMaxBlock);
    }
    ClapEventList events;
    for (const Change& c : changes) events.AddParamValue(c.id, c.value, c.at);
    const std::vector<double> oneBlock = whole.Render(kMaxBlock, kMaxBlock, &events);
    std::vector<double> left, right;
    for (int e = 0; e + 1 < 5; ++e) {
      ClapEventList atStart;
      for (const Change& c : changes) {
        if (c.at == edges[e]) atStart.AddParamValue(c.id, c.value);
      }
      const int frames = int(edges[e + 1] - edges[e]);
      const std::vector<double> part = pieces.Render(kMaxBlock + edges[e], frames, &atStart);
      left.insert(left.end(), part.begin(), part.begin() + frames);
      right.insert(right.end(), part.begin() + frames, part.end());
    }
    left.insert(left.end(), right.begin(), right.end());
    ASSERT_EQ(oneBlock.size(), left.size());
    EXPECT_EQ(std::memcmp(oneBlock.data(), left.data(), left.size() * sizeof(double)), 0)
        << (is64 ? "64" : "32") << "-bit";
    EXPECT_NE(oneBlock[50], whole.Render(2 * kMaxBlock, kMaxBlock)[50]) << "the audio moves on";
    double bypass = 1;
    whole.plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)
        ->get_value(whole.plugin->Instance(), 6, &bypass);
    EXPECT_EQ(bypass, 0.0);
  }
}

}  // namespace
