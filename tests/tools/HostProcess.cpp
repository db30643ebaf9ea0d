#include "HostProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::string Vst3Bundle() { return BRASK_VST3_BUNDLE_PATH; }
std::string Vst2Module() { return BRASK_VST2_MODULE_PATH; }

HostRun RunHost(const std::vector<std::string>& args) { return RunProgram(BRASK_HOST_PATH, args); }

HostRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment) {
  ScratchDir streams;
  const std::string outPath = streams.Path("stdout");
  const std::string errPath = streams.Path("stderr");
  std::vector<char*> argv;
  std::string path = program;
  argv.push_back(path.data());
  std::vector<std::string> copies(args);
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  HostRun run;
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (const std::string& entry : environment) putenv(strdup(entry.c_str()));
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.exitCode = WEXITSTATUS(status);
  }
  run.out = Slurp(outPath);
  run.err = Slurp(errPath);
  return run;
}

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/brask-host-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  dir = made ? made : "/tmp";
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScratchDir::Files() const {
  std::vector<std::string> names;
  DIR* folder = opendir(dir.c_str());
  if (!folder) return names;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}
