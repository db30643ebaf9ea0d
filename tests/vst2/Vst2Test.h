#pragma once
// Vst2Test: the base of every test that drives the built VST 2 module. The module is loaded once
// per test program; each test gets its own recording host and creates instances through it.

#include <gtest/gtest.h>

#include <memory>

#include "HostedEffect.h"
#include "RecordingHost.h"
#include "VstModule.h"

class Vst2Test : public ::testing::Test {
 protected:
  static VstModule& Module() {
    static VstModule module(BuiltModulePath());
    return module;
  }

  void SetUp() override { ASSERT_TRUE(Module().IsLoaded()) << Module().Error(); }

  // A new instance served by host, created through the named export.
  static std::unique_ptr<HostedEffect> Create(RecordingHost& host,
                                              const char* entry = "VSTPluginMain") {
    return std::make_unique<HostedEffect>(host.Create(Module().Entry(entry)));
  }

  // A new instance, started as hosts start one (44.1 kHz unless said otherwise).
  static std::unique_ptr<HostedEffect> CreateStarted(RecordingHost& host, int blockSize,
                                                     float sampleRate = 44100.0f) {
    auto effect = Create(host);
    if (*effect) effect->Start(sampleRate, blockSize);
    return effect;
  }

  RecordingHost host;
};
