#include "ui/win32/window_text.h"

namespace valmero {

std::wstring WideFromUtf8(const std::string& text) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
  }
  return text;
}

std::string WithWindowsLineEnds(const std::string& text) {
  std::string shown;
  shown.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') shown += '\r';
    shown += c;
  }
  return shown;
}

void SetControlText(HWND control, const std::string& text) {
  ::SetWindowTextW(control, WideFromUtf8(WithWindowsLineEnds(text)).c_str());
}

std::string ControlText(HWND control) {
  std::wstring wide(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = ::GetWindowTextW(control, &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return Utf8FromWide(wide);
}

}  // namespace valmero
