// Texts for the Windows program's windows: the check's report, the song
// book's messages and the venue's name are UTF-8 and may hold any letter, so
// they go through the wide functions; a multi-line control breaks at CR LF.
#pragma once

#include <windows.h>

#include <string>

namespace valmero {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string WithWindowsLineEnds(const std::string& text);

// A control's text set and read as UTF-8.
void SetControlText(HWND control, const std::string& text);
std::string ControlText(HWND control);

}  // namespace valmero
