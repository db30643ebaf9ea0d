#pragma once
// ReadFileBytes: a whole file into memory, with a message naming it when it cannot be read.

#include <cstdint>
#include <string>
#include <vector>

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
