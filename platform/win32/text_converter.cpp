// Windows has no iconv; its own conversions know the code pages by number.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "platform/text_conversion.h"

namespace valmero {

namespace {

// "CP949", "WINDOWS-1252", "SHIFT_JIS", "UTF-8" -> the code page's number, 0 when unknown.
UINT CodePageOf(const char* encoding) {
  std::string name;
  for (const char* c = encoding; *c; ++c) name += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 32 : *c);
  if (name == "UTF-8" || name == "UTF8") return CP_UTF8;
  if (name == "SHIFT_JIS" || name == "SJIS") return 932;
  const char* digits = name.compare(0, 2, "CP") == 0 ? name.c_str() + 2
                       : name.compare(0, 8, "WINDOWS-") == 0 ? name.c_str() + 8 : nullptr;
  if (digits == nullptr || *digits == '\0') return 0;
  char* end = nullptr;
  unsigned long number = std::strtoul(digits, &end, 10);
  return *end == '\0' && number < 65536 && IsValidCodePage(static_cast<UINT>(number)) ? static_cast<UINT>(number) : 0;
}

void AppendUtf8(std::string& out, const wchar_t* wide, int count) {
  char buffer[16];
  int length = WideCharToMultiByte(CP_UTF8, 0, wide, count, buffer, sizeof buffer, nullptr, nullptr);
  out.append(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace

CTextConverter::~CTextConverter() = default;

bool CTextConverter::Open(const char* encoding) {
  m_handle = reinterpret_cast<void*>(static_cast<std::uintptr_t>(CodePageOf(encoding)));
  return m_handle != nullptr;
}

std::string CTextConverter::ToUtf8(std::string_view text) {
  const UINT codePage = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(m_handle));
  std::string out;
  if (codePage == 0) return out;
  // One character at a time, so that a byte that does not convert becomes
  // one U+FFFD and the rest still converts.
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t length = 1;
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (codePage == CP_UTF8) {
      length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    } else if (IsDBCSLeadByteEx(codePage, byte)) {
      length = 2;
    }
    wchar_t wide[4];
    int count = i + length <= text.size()
                    ? MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data() + i, static_cast<int>(length),
                                          wide, 4)
                    : 0;
    if (count > 0) {
      AppendUtf8(out, wide, count);
      i += length;
    } else {
      out += REPLACEMENT_CHARACTER;
      ++i;
    }
  }
  ReplaceControlCharacters(out);
  return out;
}

}  // namespace valmero
