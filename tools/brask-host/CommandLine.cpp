#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool CommandLine::Parse(int argc, char** argv, std::string* error) {
  for (int i = 0; i < argc; ++i) {
    std::string word = argv[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
      positional.push_back(word);
      continue;
    }
    std::string value;
    const size_t equals = word.find('=');
    const bool inlineValue = equals != std::string::npos;
    if (inlineValue) {
      value = word.substr(equals + 1);
      word.resize(equals);
    }
    if (flagOptions.count(word) && !inlineValue) {
      values[word].push_back("");
    } else if (valueOptions.count(word)) {
      if (!inlineValue) {
        if (i + 1 >= argc) {
          *error = word + " needs a value";
          return false;
        }
        value = argv[++i];
      }
      values[word].push_back(value);
    } else {
      *error = "unknown option " + word;
      return false;
    }
  }
  return true;
}

std::string CommandLine::Value(const std::string& option, const std::string& fallback) const {
  const auto found = values.find(option);
  return found == values.end() ? fallback : found->second.back();
}

std::vector<std::string> CommandLine::Values(const std::string& option) const {
  const auto found = values.find(option);
  return found == values.end() ? std::vector<std::string>() : found->second;
}

bool ParseNumber(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtod(text.c_str(), &end);
  return *end == '\0' && errno == 0 && std::isfinite(*value);
}

bool ParseInteger(const std::string& text, long low, long high, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && errno == 0 && *value >= low && *value <= high;
}
