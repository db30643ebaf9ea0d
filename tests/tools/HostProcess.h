#pragma once
// HostProcess: runs the built brask-host program (or CMake) with arguments, as a user or script
// would, and collects its exit code and both output streams. Also a scratch folder per test,
// removed with its contents.

#include <string>
#include <vector>

struct HostRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

HostRun RunHost(const std::vector<std::string>& args);
// Runs any program the same way, with extra NAME=VALUE environment entries.
HostRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment = {});

// The modules under test (paths fixed at build time).
std::string Vst3Bundle();
std::string Vst2Module();

// A fresh empty folder, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Path(const std::string& name) const { return dir + "/" + name; }
  // Names of the files in the folder, sorted.
  std::vector<std::string> Files() const;

 private:
  std::string dir;
};
