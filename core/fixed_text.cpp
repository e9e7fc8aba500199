#include "core/fixed_text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace valmero {

bool CopyText(char* dst, std::size_t size, const char* src) {
  if (size == 0) return false;
  std::size_t length = std::strlen(src);
  bool fits = length < size;
  if (!fits) length = size - 1;
  std::memcpy(dst, src, length);
  dst[length] = '\0';
  return fits;
}

bool FormatPath(char* dst, std::size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(dst, size, format, args);
  va_end(args);
  if (written < 0 || static_cast<std::size_t>(written) >= size) {
    if (size > 0) dst[0] = '\0';
    return false;
  }
  return true;
}

void CutAtLastLineFeed(char* text) {
  char* lineFeed = std::strrchr(text, '\n');
  if (lineFeed != nullptr) *lineFeed = '\0';
}

std::string TextBeforeLastLineFeed(const char* text) {
  const char* lineFeed = std::strrchr(text, '\n');
  return lineFeed != nullptr ? std::string(text, lineFeed) : std::string(text);
}

std::size_t BoundedLength(const char* text, std::size_t size) {
  const void* nul = std::memchr(text, '\0', size);
  return nul == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(nul) - text);
}

int ParseLeadingInt(const char* text) {
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  // One past the largest magnitude: 2147483648 for a negative number.
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > limit) return 0;
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace valmero
