#include "VstTextBounds.h"

#include <cstring>

void CopyBoundedText(char* dest, const char* text, int bound) {
  if (!dest || bound <= 0) return;
  size_t length = text ? strnlen(text, size_t(bound - 1)) : 0;
  if (length > 0) memcpy(dest, text, length);
  dest[length] = '\0';
}
