#pragma once
// BraskIdentity: the fixed identity of the Brask plug-in, as compile-time values.
//
// The plug-in constructor hands these to the core; the module entry points and the VST 3 class
// factory report them to hosts before any instance exists, so they live here rather than in the
// plug-in class.

#include <cstdint>

#include "IPlugBase.h"

constexpr char kBraskEffectName[] = "Brask";
constexpr char kBraskProductName[] = "";
constexpr char kBraskMakerName[] = "Wyrdworks";
constexpr int32_t kBraskUniqueId = FourCharCode("Brk1");
constexpr int32_t kBraskMakerId = FourCharCode("Wyrd");
constexpr int32_t kBraskVersion = 0x40000;  // major << 16 | minor << 8 | revision
constexpr char kBraskVersionText[] = "4.0.0";
constexpr char kBraskCategory[] = "Fx|Dynamics";
constexpr int kBraskParamCount = 8;
constexpr int kBraskPresetCount = 1;

// Legal "inputs-outputs" pairs. Inputs 1-2 are the main pair, 3-4 the side chain; VST 3 hosts
// get the side chain as an auxiliary bus, while VST 2 hosts may also take a single output or
// connect only one side-chain channel.
constexpr char kBraskChannelConfigsVST3[] = "2-2 4-2";
constexpr char kBraskChannelConfigsVST2[] = "2-1 3-2 2-2 4-2";

constexpr int kBraskEditorWidth = 796;
constexpr int kBraskEditorHeight = 472;
constexpr int kBraskEditorFrameRate = 25;

// The CLAP plug-in id; CLAP presets name their plug-in by it too.
constexpr char kBraskClapId[] = "com.wyrdworks.brask";

// Byte i (0 first) of a four-character code in reading order.
constexpr uint8_t CodeByte(int32_t code, int i) { return uint8_t(uint32_t(code) >> (24 - 8 * i)); }

// The VST 3 class ID, as the 16 bytes the factory reports: eight fixed bytes, then the maker
// code and the plug-in code in reading order. The preset files name the class by it too.
// clang-format off
constexpr uint8_t kBraskVst3ClassId[16] = {
    0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
    CodeByte(kBraskMakerId, 0), CodeByte(kBraskMakerId, 1),
    CodeByte(kBraskMakerId, 2), CodeByte(kBraskMakerId, 3),
    CodeByte(kBraskUniqueId, 0), CodeByte(kBraskUniqueId, 1),
    CodeByte(kBraskUniqueId, 2), CodeByte(kBraskUniqueId, 3)};
// clang-format on

// The identity for the given plug-in format (PluginApi).
constexpr IPlugIdentity BraskIdentity(int pluginApi) {
  return {kBraskEffectName,
          kBraskProductName,
          kBraskMakerName,
          kBraskUniqueId,
          kBraskMakerId,
          kBraskVersion,
          kBraskParamCount,
          kBraskPresetCount,
          pluginApi == kApiVST2 ? kBraskChannelConfigsVST2 : kBraskChannelConfigsVST3};
}
