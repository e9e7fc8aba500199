#include "platform/text_conversion.h"

#include <string>

#include <utf8proc.h>

namespace valmero {

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t c = 0;
    // Overlong forms, surrogates and code points past U+10FFFF are errors too.
    const utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &c);
    if (length <= 0) return false;
    bytes += length;
    left -= length;
  }
  return true;
}

void ReplaceControlCharacters(std::string& text) {
  std::string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    bool c1 = byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (byte < 0x20 || byte == 0x7F || c1) {
      clean += REPLACEMENT_CHARACTER;
      if (c1) ++i;
    } else {
      clean += text[i];
    }
  }
  text.swap(clean);
}

}  // namespace valmero
