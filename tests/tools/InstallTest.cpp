// Install rules: where `cmake --install` puts the modules and their presets, and that a host
// can load them there.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "HostProcess.h"
#include "JsonValue.h"

namespace {

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Installs this build tree under prefix, with HOME set to home.
HostRun Install(const std::string& prefix, const std::string& home) {
  return RunProgram(BRASK_CMAKE_COMMAND, {"--install", BRASK_BINARY_DIR, "--prefix", prefix},
                    {"HOME=" + home});
}

std::string FormatOf(const std::string& module) {
  const HostRun run = RunHost({"info", module, "--json"});
  JsonValue info;
  if (run.exitCode != 0 || !JsonValue::Parse(run.out, &info)) return "unloadable: " + run.err;
  return info["format"].text;
}

// How many presets brask-host finds beside the module.
size_t PresetCount(const std::string& module) {
  const HostRun run = RunHost({"presets", module, "--json"});
  JsonValue listing;
  if (run.exitCode != 0 || !JsonValue::Parse(run.out, &listing)) return 0;
  return listing["presets"].items.size();
}

}  // namespace

TEST(Install, HomeFolderGetsTheUserPluginFolders) {
  ScratchDir home;
  const HostRun run = Install(home.Path(""), home.Path(""));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string bundle = home.Path(".vst3/Brask.vst3");
  EXPECT_TRUE(IsFile(bundle + "/Contents/x86_64-linux/Brask.so"));
  EXPECT_TRUE(IsFile(home.Path(".vst/Brask.so")));
  EXPECT_EQ(FormatOf(bundle), "VST 3");
  EXPECT_EQ(FormatOf(home.Path(".vst/Brask.so")), "VST 2");
  EXPECT_FALSE(IsFile(home.Path("lib/vst/Brask.so")));
  EXPECT_TRUE(IsFile(home.Path(".vst3/presets/Wyrdworks/Brask/Drum Bus Glue.vstpreset")));
  EXPECT_TRUE(IsFile(home.Path(".vst3/presets/Wyrdworks/Brask/Drum Bus Glue.fxp")));
  EXPECT_EQ(PresetCount(bundle), 12u);
  EXPECT_EQ(PresetCount(home.Path(".vst/Brask.so")), 12u) << "~/.vst3 beside ~/.vst";
}

TEST(Install, OtherPrefixGetsTheSystemLayout) {
  ScratchDir prefix;
  ScratchDir home;
  const HostRun run = Install(prefix.Path("usr"), home.Path(""));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(IsFile(prefix.Path("usr/lib/vst3/Brask.vst3/Contents/x86_64-linux/Brask.so")));
  EXPECT_TRUE(IsFile(prefix.Path("usr/lib/vst/Brask.so")));
  EXPECT_TRUE(IsFile(prefix.Path("usr/share/doc/brask/README.txt")));
  EXPECT_EQ(FormatOf(prefix.Path("usr/lib/vst3/Brask.vst3")), "VST 3");
  EXPECT_TRUE(IsFile(prefix.Path("usr/share/vst3/presets/Wyrdworks/Brask/Init.vstpreset")));
  EXPECT_EQ(PresetCount(prefix.Path("usr/lib/vst3/Brask.vst3")), 12u);
  EXPECT_EQ(PresetCount(prefix.Path("usr/lib/vst/Brask.so")), 12u);
  EXPECT_FALSE(IsFile(home.Path(".vst/Brask.so"))) << "a prefix install leaves the home alone";
}
