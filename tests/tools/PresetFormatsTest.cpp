// The preset file formats as brask-host and the build read and write them: what is written
// reads back, the generated files follow the published layouts (the class ID as the SDK of
// this platform writes it), and every damaged file is refused with its reason, never read.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FxpFile.h"
#include "VstPresetFile.h"
#include "plugin/BraskIdentity.h"
#include "plugin/BraskPresets.h"
#include "pluginterfaces/base/funknown.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::string& path) {
  Bytes bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(file);
  }
  return bytes;
}

std::string PresetFile(const char* name, const char* extension) {
  return std::string(BRASK_PRESET_FILES_DIR) + "/" + name + extension;
}

VstPreset SomeVstPreset() {
  VstPreset preset;
  preset.classId = "0123456789ABCDEF0123456789ABCDEF";
  preset.chunks = {{"Comp", {1, 2, 3}}, {"Cont", {}}, {"Info", {'<', 'x', '>'}}};
  return preset;
}

void PutLittle32(Bytes* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + size_t(i)] = uint8_t(value >> (8 * i));
}

void PutBig32(Bytes* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

TEST(PresetFormats, WhatIsWrittenReadsBack) {
  VstPreset read;
  std::string error;
  ASSERT_TRUE(ReadVstPreset(WriteVstPreset(SomeVstPreset()), &read, &error)) << error;
  EXPECT_EQ(read.classId, SomeVstPreset().classId);
  ASSERT_EQ(read.chunks.size(), 3u);
  EXPECT_EQ(read.Find("Comp")->data, Bytes({1, 2, 3}));
  EXPECT_TRUE(read.Find("Cont")->data.empty());
  EXPECT_EQ(read.Find("Nope"), nullptr);

  FxpProgram program;
  program.fxId = 0x41424344;
  program.fxVersion = 40000;
  program.numParams = 3;
  program.name = std::string(40, 'n');
  program.chunk = {9, 8, 7};
  FxpProgram back;
  ASSERT_TRUE(ReadFxp(WriteFxp(program), &back, &error)) << error;
  EXPECT_EQ(back.fxId, program.fxId);
  EXPECT_EQ(back.fxVersion, 40000);
  EXPECT_EQ(back.numParams, 3);
  EXPECT_EQ(back.name, std::string(27, 'n')) << "cut to the 28-byte field";
  EXPECT_EQ(back.chunk, program.chunk);
}

// The class is named as this platform's SDK writes an FUID: hosts compare it after reading it
// back with that SDK.
TEST(PresetFormats, GeneratedFilesNameTheClassAsThisPlatformsSdk) {
  Steinberg::TUID id;
  for (int i = 0; i < 16; ++i) id[i] = Steinberg::int8(kBraskVst3ClassId[i]);
  char sdkText[33] = {};
  Steinberg::FUID::fromTUID(id).toString(sdkText);
  EXPECT_EQ(VstClassIdText(kBraskVst3ClassId, COM_COMPATIBLE != 0), sdkText);
  EXPECT_NE(VstClassIdText(kBraskVst3ClassId, true), VstClassIdText(kBraskVst3ClassId, false));
  for (const BraskPreset& entry : kBraskPresets) {
    SCOPED_TRACE(entry.name);
    VstPreset preset;
    std::string error;
    ASSERT_TRUE(ReadVstPreset(FileBytes(PresetFile(entry.name, ".vstpreset")), &preset, &error))
        << error;
    EXPECT_EQ(preset.classId, sdkText);
    EXPECT_TRUE(preset.Find("Comp")->data.empty()) << "the component keeps no state";
    ASSERT_NE(preset.Find("Cont"), nullptr);
    EXPECT_EQ(preset.Find("Cont")->data.size(), 68u);
    ASSERT_NE(preset.Find("Info"), nullptr);
    const std::string info(preset.Find("Info")->data.begin(), preset.Find("Info")->data.end());
    EXPECT_NE(info.find("value=\"" + std::string(entry.name) + "\""), std::string::npos) << info;

    FxpProgram program;
    ASSERT_TRUE(ReadFxp(FileBytes(PresetFile(entry.name, ".fxp")), &program, &error)) << error;
    EXPECT_EQ(program.fxId, kBraskUniqueId);
    EXPECT_EQ(program.fxVersion, 40000);
    EXPECT_EQ(program.numParams, kBraskParamCount);
    EXPECT_EQ(program.name, entry.name);
    EXPECT_EQ(program.chunk.size(), 72u);
  }
}

// Cut anywhere, a file is refused as truncated (or, within its first bytes, as no preset).
TEST(PresetFormats, EveryTruncationIsRefused) {
  const Bytes vst3 = FileBytes(PresetFile("Init", ".vstpreset"));
  const Bytes vst2 = FileBytes(PresetFile("Init", ".fxp"));
  ASSERT_GT(vst3.size(), 100u);
  ASSERT_EQ(vst2.size(), 132u);
  for (size_t length = 0; length < vst3.size(); ++length) {
    VstPreset preset;
    std::string error;
    EXPECT_FALSE(
        ReadVstPreset(Bytes(vst3.begin(), vst3.begin() + ptrdiff_t(length)), &preset, &error));
    EXPECT_EQ(error.rfind("truncated", 0), 0u) << length << ": " << error;
  }
  for (size_t length = 0; length < vst2.size(); ++length) {
    FxpProgram program;
    std::string error;
    EXPECT_FALSE(ReadFxp(Bytes(vst2.begin(), vst2.begin() + ptrdiff_t(length)), &program, &error));
    EXPECT_EQ(error.rfind("truncated", 0), 0u) << length << ": " << error;
  }
}

TEST(PresetFormats, DamagedVst3PresetsAreRefusedWithTheReason) {
  const Bytes good = WriteVstPreset(SomeVstPreset());
  const size_t list = good.size() - 8 - 3 * 20;
  struct Case {
    const char* what;
    void (*damage)(Bytes*, size_t list);
    const char* reason;
  };
  const Case cases[] = {
      {"another format", [](Bytes* b, size_t) { (*b)[3] = '2'; }, "not a VST 3 preset"},
      {"a newer format", [](Bytes* b, size_t) { PutLittle32(b, 4, 2); }, "newer than version 1"},
      {"version 0", [](Bytes* b, size_t) { PutLittle32(b, 4, 0); }, "format version is 0"},
      {"class ID", [](Bytes* b, size_t) { (*b)[20] = 'G'; }, "not 32 hexadecimal digits"},
      {"list inside the header", [](Bytes* b, size_t) { PutLittle32(b, 40, 12); },
       "inside the header"},
      {"no list there", [](Bytes* b, size_t at) { (*b)[at] = 'X'; }, "no chunk list"},
      {"huge count", [](Bytes* b, size_t at) { PutLittle32(b, at + 4, 0xFFFFFFF0u); }, "claims"},
      {"more entries than bytes", [](Bytes* b, size_t at) { PutLittle32(b, at + 4, 9); },
       "truncated"},
      {"chunk past the list", [](Bytes* b, size_t at) { PutLittle32(b, at + 8 + 12, 999); },
       "outside the data area"},
      {"no Comp chunk", [](Bytes* b, size_t at) { (*b)[at + 8] = 'X'; }, "no component state"},
  };
  for (const Case& c : cases) {
    Bytes bytes = good;
    c.damage(&bytes, list);
    VstPreset preset;
    std::string error;
    EXPECT_FALSE(ReadVstPreset(bytes, &preset, &error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
  }
}

TEST(PresetFormats, OtherVst2FilesAreRefusedByName) {
  FxpProgram program;
  program.chunk = {1, 2, 3, 4};
  const Bytes good = WriteFxp(program);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    const char* reason;
  };
  const Case cases[] = {
      {"not a preset", 0, 0x52494646, "not a VST 2 preset"},    // "RIFF"
      {"parameter list", 8, 0x4678436B, "parameter list"},      // "FxCk"
      {"bank", 8, 0x46424368, "a bank of programs"},            // "FBCh"
      {"unknown kind", 8, 0x58585858, "its kind is \"XXXX\""},  // "XXXX"
      {"newer format", 12, 2, "newer than version 1"},
      {"chunk bigger than the file", 56, 5, "truncated"},
      {"negative chunk size", 56, 0xFFFFFFFFu, "truncated"},
  };
  for (const Case& c : cases) {
    Bytes bytes = good;
    PutBig32(&bytes, c.at, c.value);
    FxpProgram read;
    std::string error;
    EXPECT_FALSE(ReadFxp(bytes, &read, &error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
  }
}

}  // namespace
