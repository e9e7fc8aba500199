// Texts for display: the tags and songlists hold bytes in a code page
// (CP1252, CP949, SHIFT_JIS ...); the song book and the check's report are
// written in UTF-8. Only they convert; the run itself never changes a text.
#pragma once

#include <string>
#include <string_view>

namespace valmero {

// True when the text is valid UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view text);

// U+FFFD, the replacement character, in UTF-8.
constexpr const char* REPLACEMENT_CHARACTER = "\xEF\xBF\xBD";

// Control characters (C0, DEL and C1) in a UTF-8 text become U+FFFD: they
// would break the markup or show as nothing, and some code pages map their
// undefined bytes to C1 controls.
void ReplaceControlCharacters(std::string& text);

// The conversion itself is the system's: iconv (platform/posix/text_converter.cpp)
// or the Windows code pages (platform/win32/text_converter.cpp).
class CTextConverter {
 public:
  CTextConverter() = default;
  ~CTextConverter();
  CTextConverter(const CTextConverter&) = delete;
  CTextConverter& operator=(const CTextConverter&) = delete;

  // False when the system does not know the code page.
  bool Open(const char* encoding);

  // The text in UTF-8. A byte or sequence that does not convert, and a
  // control character, becomes one U+FFFD: nothing is dropped unseen.
  std::string ToUtf8(std::string_view text);

 private:
  void* m_handle = nullptr;
};

}  // namespace valmero
