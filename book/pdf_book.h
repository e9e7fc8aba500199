// The song book as a PDF, laid out here and drawn with Cairo and Pango in
// DejaVu Sans, with a CJK font for Hangul, kana and kanji: A4 or Letter
// pages, a title page, then each part in columns (three by singer, two by
// title) under a running header with the part and the letters of the page,
// and the page number and the venue's line at the foot. A heading never stands alone
// at the foot of a column: it moves to the next column with what follows it,
// and a singer whose songs go on in the next column is named there again.
#pragma once

#include <string>
#include <vector>

#include "book/song_book.h"

namespace valmero {

// Writes the PDF aside and renames it into place. 0, or -1 with the reason.
// Adds a warning when characters of the book have no font on this system
// (they print as boxes).
int WritePdfBook(const SongBook& book, const std::string& outPath, std::vector<std::string>& warnings,
                 std::string& error);

}  // namespace valmero
