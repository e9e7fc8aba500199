// The Windows forms of the song book's two windows (templates 106 and 107):
// the small dialog of its settings, and the message that says where the book
// went. Their rules are the dialog controller's (ui/common/book_choices.h).
#pragma once

#include <windows.h>

#include <string>

#include "ui/common/book_choices.h"

namespace valmero {

// False when cancelled; otherwise `choices` holds what the user chose.
bool AskBookChoicesOver(HWND owner, BookChoices& choices);

BookWrittenAnswer ShowBookWrittenOver(HWND owner, const std::string& text);

}  // namespace valmero
