#include "PendingFile.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

PendingFile::~PendingFile() {
  if (!tempPath.empty() && !committed) unlink(tempPath.c_str());
}

int PendingFile::Create(std::string* error) {
  // Same folder as the final file, so the rename cannot cross file systems.
  std::string pattern = finalPath + ".partial-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = "cannot create " + finalPath + ": " + std::strerror(errno);
    return -1;
  }
  // mkstemp creates the file for its owner only; an output file gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  tempPath = name.data();
  return fd;
}

bool PendingFile::Commit(std::string* error) {
  if (tempPath.empty() || std::rename(tempPath.c_str(), finalPath.c_str()) != 0) {
    *error = "cannot write " + finalPath + ": " + std::strerror(errno);
    return false;
  }
  committed = true;
  return true;
}
