#pragma once
// A whole file's bytes for tests; empty when it cannot be read.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(file);
  }
  return bytes;
}
