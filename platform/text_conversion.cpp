#include "platform/text_conversion.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace valmero {

namespace {

// Control characters (C0, DEL and C1) would break the markup or show as
// nothing; some code pages map their undefined bytes to C1 controls.
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

#ifndef _WIN32
iconv_t HandleOf(void* handle) { return static_cast<iconv_t>(handle); }
#endif

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                          : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    // Overlong three- and four-byte forms, surrogates, and code points past U+10FFFF.
    const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90)) {
      return false;
    }
    i += length;
  }
  return true;
}

#ifndef _WIN32

CTextConverter::~CTextConverter() {
  if (m_handle) iconv_close(HandleOf(m_handle));
}

bool CTextConverter::Open(const char* encoding) {
  if (m_handle) iconv_close(HandleOf(m_handle));
  m_handle = nullptr;
  iconv_t handle = iconv_open("UTF-8", encoding);
  if (handle == reinterpret_cast<iconv_t>(-1)) return false;
  m_handle = handle;
  return true;
}

std::string CTextConverter::ToUtf8(std::string_view text) {
  std::string out;
  if (!m_handle) return out;
  iconv_t handle = HandleOf(m_handle);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPos = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t result = iconv(handle, &in, &inLeft, &outPos, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPos - buffer));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ: a byte the code page does not map; EINVAL: a sequence cut
    // short by the end of the text. Either way one byte is shown as U+FFFD.
    out += REPLACEMENT_CHARACTER;
    ++in;
    --inLeft;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  char* outPos = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(handle, nullptr, nullptr, &outPos, &outLeft);
  out.append(buffer, static_cast<std::size_t>(outPos - buffer));
  ReplaceControlCharacters(out);
  return out;
}

#else  // Windows has no iconv; its own conversions know the code pages by number.

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

#endif

}  // namespace valmero
