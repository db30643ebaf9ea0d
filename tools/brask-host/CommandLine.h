#pragma once
// CommandLine: the arguments of one brask-host command: positional words and --options, some
// taking a value ("--block 256" or "--block=256"), some repeatable ("--set A=1 --set B=2").
// Unknown options are refused by name.

#include <map>
#include <set>
#include <string>
#include <vector>

class CommandLine {
 public:
  // valueOptions take a value; flagOptions take none. Names include the leading dashes.
  CommandLine(std::set<std::string> valueOptions, std::set<std::string> flagOptions)
      : valueOptions(std::move(valueOptions)), flagOptions(std::move(flagOptions)) {}

  bool Parse(int argc, char** argv, std::string* error);

  const std::vector<std::string>& Positional() const { return positional; }
  bool Has(const std::string& option) const { return values.count(option) > 0; }
  // The last value given for an option, or fallback.
  std::string Value(const std::string& option, const std::string& fallback = "") const;
  // Every value given for a repeatable option, in order.
  std::vector<std::string> Values(const std::string& option) const;

 private:
  std::set<std::string> valueOptions;
  std::set<std::string> flagOptions;
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> values;
};

// Reads a whole decimal number; false for empty text or trailing characters.
bool ParseNumber(const std::string& text, double* value);
// Reads a whole integer within [low, high].
bool ParseInteger(const std::string& text, long low, long high, long* value);
