// The song book as one HTML file that needs nothing else: the style and the
// few lines of the search box are inside it, and it reads and prints the
// same without script (the search box then stays hidden).
#pragma once

#include <string>

#include "book/song_book.h"

namespace valmero {

// The whole page.
std::string HtmlBookText(const SongBook& book);

// Writes the page aside and renames it into place. 0, or -1 with the reason.
int WriteHtmlBook(const SongBook& book, const std::string& outPath, std::string& error);

// Text with & < > " ' written as character references.
std::string EscapeHtml(const std::string& text);

}  // namespace valmero
