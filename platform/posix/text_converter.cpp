#include <iconv.h>

#include <cerrno>

#include "platform/text_conversion.h"

namespace valmero {

namespace {

iconv_t HandleOf(void* handle) { return static_cast<iconv_t>(handle); }

}  // namespace

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

}  // namespace valmero
