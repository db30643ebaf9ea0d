#pragma once
// ProbeLog: the probe modules' record of what their host did, one line per event, appended to
// the file that BRASK_PROBE_LOG names (nothing is written when it is unset). The host tests
// run brask-host with it set and read the lines back.

#include <cstdio>
#include <cstdlib>
#include <string>

inline void ProbeLog(const std::string& line) {
  const char* path = std::getenv("BRASK_PROBE_LOG");
  if (!path) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}
