// The small song-book dialog of both desktop programs, without its windows:
// what it offers (title, the venue's line, the code page from a list, HTML
// or PDF where the build writes PDF, paper, print size), how its choices
// become a book's settings, and what the program says once the book is
// written.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "book/song_book.h"

namespace valmero {

struct BookCodePage {
  std::string name;   // as the book's settings name it: "CP1252"
  std::string label;  // as the list shows it: "Western European (CP1252)"
};

// The code pages the list offers, the system's own first where it is not
// among them.
std::vector<BookCodePage> BookCodePages(const std::string& systemCodePage);

struct BookChoices {
  std::string title;   // UTF-8
  std::string footer;  // UTF-8: the venue's line
  std::vector<BookCodePage> codePages;
  std::size_t codePage = 0;  // in codePages
  bool pdfOffered = false;   // the build writes PDF books
  bool pdf = false;
  PaperSize paper = PaperSize::A4;
  FontSize fontSize = FontSize::Small;
};

// A session's first choices: the default title, the system's code page (a
// Windows collection's tags and songlists are in it; CP1252 elsewhere), the
// paper of the user's locale, HTML, small print.
BookChoices InitialBookChoices(const std::string& systemCodePage, PaperSize localePaper);

// The book's settings: the words and headings follow the code page, and so
// does the title while it is the English default.
BookSettings SettingsOfChoices(const BookChoices& choices);

// What the program says when the book is written: where it went (`shownPath`,
// UTF-8), what it lists and leaves out, and a code page the texts do not fit.
std::string BookWrittenText(const std::string& shownPath, const BookOutcome& outcome);

// The buttons of that message.
enum class BookWrittenAnswer { Close, OpenBook, OpenFolder };

}  // namespace valmero
