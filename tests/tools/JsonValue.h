#pragma once
// JsonValue: a strict little JSON reader for checking brask-host's --json output. Parse fails
// (answers false) on anything that is not one complete JSON value.

#include <map>
#include <memory>
#include <string>
#include <vector>

class JsonValue {
 public:
  enum Kind { Null, Bool, Number, String, Array, Object };

  static bool Parse(const std::string& text, JsonValue* value);

  Kind kind = Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;              ///< Array elements
  std::map<std::string, JsonValue> members;  ///< Object members

  // The member of that name, or a null value when missing.
  const JsonValue& operator[](const std::string& name) const;
};
