#pragma once
// Lv2Layout: what the LV2 plug-in, its UI and its generated Turtle description must agree on:
// the URIs and the port indices.
//
// The eight parameters come first, each at its own parameter index, so a control port index is
// the parameter index everywhere (adaptor, UI, Turtle). Audio ports follow in the order a host
// feeds a multichannel file to them: main left and right, side chain left and right.

#include <cstdint>

#include "plugin/BraskIdentity.h"

constexpr char kBraskLv2Uri[] = "urn:wyrdworks:brask";
constexpr char kBraskLv2UiUri[] = "urn:wyrdworks:brask:ui";

constexpr uint32_t kLv2ParamPortCount = kBraskParamCount;
// The meter's value: the panel needle's smoothed gain reduction, 0 (none) and up.
constexpr uint32_t kLv2GainReductionPort = kLv2ParamPortCount;
constexpr uint32_t kLv2FirstAudioInPort = kLv2GainReductionPort + 1;
constexpr uint32_t kLv2AudioInCount = 4;
constexpr uint32_t kLv2FirstAudioOutPort = kLv2FirstAudioInPort + kLv2AudioInCount;
constexpr uint32_t kLv2AudioOutCount = 2;
constexpr uint32_t kLv2PortCount = kLv2FirstAudioOutPort + kLv2AudioOutCount;
