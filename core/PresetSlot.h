#pragma once
// PresetSlot: one stored preset of the instance: a name, whether it holds a state, and the
// state itself as SaveState wrote it.

#include <cstring>

#include "StateChunk.h"

struct PresetSlot {
  static constexpr int kNameSize = 256;  // terminator included

  bool initialized = false;
  char name[kNameSize] = "empty";
  StateChunk chunk;

  // Names longer than the field are cut to fit.
  void SetName(const char* text) {
    size_t length = text ? strnlen(text, kNameSize - 1) : 0;
    if (length > 0) memcpy(name, text, length);
    name[length] = '\0';
  }
};
