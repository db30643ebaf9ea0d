#include "FileBytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *error = "cannot read " + path + ": it is a folder";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes->clear();
  uint8_t buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
    bytes->insert(bytes->end(), buffer, buffer + got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) *error = "cannot read " + path;
  return !failed;
}
