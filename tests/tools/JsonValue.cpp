#include "JsonValue.h"

#include <cctype>
#include <cstdlib>

namespace {

class Reader {
 public:
  explicit Reader(const std::string& text) : text(text) {}

  bool Document(JsonValue* value) {
    if (!Value(value)) return false;
    SkipSpace();
    return pos == text.size();
  }

 private:
  void SkipSpace() {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  }

  bool Literal(const char* word) {
    const std::string w(word);
    if (text.compare(pos, w.size(), w) != 0) return false;
    pos += w.size();
    return true;
  }

  bool Value(JsonValue* value) {
    SkipSpace();
    if (pos >= text.size()) return false;
    const char c = text[pos];
    if (c == '{') return ObjectValue(value);
    if (c == '[') return ArrayValue(value);
    if (c == '"') {
      value->kind = JsonValue::String;
      return StringValue(&value->text);
    }
    if (Literal("null")) return true;
    if (Literal("true") || Literal("false")) {
      value->kind = JsonValue::Bool;
      value->boolean = text[pos - 1] == 'e' && text[pos - 2] == 'u';
      return true;
    }
    return NumberValue(value);
  }

  bool NumberValue(JsonValue* value) {
    const char* start = text.c_str() + pos;
    char* end = nullptr;
    value->number = std::strtod(start, &end);
    if (end == start) return false;
    value->kind = JsonValue::Number;
    pos += size_t(end - start);
    return true;
  }

  bool StringValue(std::string* out) {
    ++pos;  // opening quote
    while (pos < text.size() && text[pos] != '"') {
      char c = text[pos++];
      if (c == '\\') {
        if (pos >= text.size()) return false;
        const char e = text[pos++];
        if (e == 'u') {
          if (pos + 4 > text.size()) return false;
          c = char(std::strtol(text.substr(pos, 4).c_str(), nullptr, 16));
          pos += 4;
        } else {
          c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
        }
      } else if (static_cast<unsigned char>(c) < 0x20) {
        return false;
      }
      *out += c;
    }
    if (pos >= text.size()) return false;
    ++pos;  // closing quote
    return true;
  }

  bool ArrayValue(JsonValue* value) {
    value->kind = JsonValue::Array;
    ++pos;
    SkipSpace();
    if (pos < text.size() && text[pos] == ']') return ++pos, true;
    while (true) {
      value->items.emplace_back();
      if (!Value(&value->items.back())) return false;
      SkipSpace();
      if (pos < text.size() && text[pos] == ',') {
        ++pos;
      } else {
        break;
      }
    }
    return pos < text.size() && text[pos++] == ']';
  }

  bool ObjectValue(JsonValue* value) {
    value->kind = JsonValue::Object;
    ++pos;
    SkipSpace();
    if (pos < text.size() && text[pos] == '}') return ++pos, true;
    while (true) {
      SkipSpace();
      std::string name;
      if (pos >= text.size() || text[pos] != '"' || !StringValue(&name)) return false;
      SkipSpace();
      if (pos >= text.size() || text[pos++] != ':') return false;
      if (!Value(&value->members[name])) return false;
      SkipSpace();
      if (pos < text.size() && text[pos] == ',') {
        ++pos;
      } else {
        break;
      }
    }
    return pos < text.size() && text[pos++] == '}';
  }

  const std::string& text;
  size_t pos = 0;
};

}  // namespace

bool JsonValue::Parse(const std::string& text, JsonValue* value) {
  *value = JsonValue();
  return Reader(text).Document(value);
}

const JsonValue& JsonValue::operator[](const std::string& name) const {
  static const JsonValue kMissing;
  const auto found = members.find(name);
  return found == members.end() ? kMissing : found->second;
}
