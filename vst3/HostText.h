#pragma once
// HostText: the text conversions between the core's 8-bit strings and the UTF-16 strings of
// VST 3 hosts. Widening turns each byte into one unit (sign-extended, as the core's texts are
// plain ASCII); narrowing keeps the low byte of each unit. Both always terminate the result.

#include "pluginterfaces/vst/vsttypes.h"

// Widens text into a String128; at most 127 characters, the 128th unit is the terminator.
inline void WidenToHost(const char* text, Steinberg::Vst::String128 out) {
  int i = 0;
  for (; text && text[i] && i < 127; ++i) out[i] = Steinberg::Vst::TChar(int16_t(text[i]));
  out[i] = 0;
}

// Narrows a host text of at most 128 units into out (outSize bytes with terminator).
inline void NarrowFromHost(const Steinberg::Vst::TChar* text, char* out, int outSize) {
  int i = 0;
  for (; text && i < 128 && text[i] && i < outSize - 1; ++i) out[i] = char(text[i] & 0xFF);
  out[i] = '\0';
}
