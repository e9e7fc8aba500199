// book/: the song book, on top of the run: its order (book_order.h),
// headings, languages and the HTML and PDF writers.
//
// The printable song book of a collection: a title page, the songs by singer
// and the songs by title, each with the number the player shows. Written as
// one self-contained HTML file or, where the build has Cairo and Pango, as a
// PDF; the kind follows the file's extension.
#pragma once

#include <string>
#include <vector>

#include "book/book_language.h"
#include "book/book_order.h"
#include "core/song_list.h"

namespace valmero {

constexpr const char* DEFAULT_BOOK_ENCODING = "CP1252";

enum class PaperSize { A4, Letter };
enum class FontSize { Small, Medium, Large };

struct BookSettings {
  std::string title;   // UTF-8; empty: the language's own "Karaoke Song Book"
  std::string footer;  // UTF-8: the venue's line, on the title page and at the foot of every page
  std::string encoding = DEFAULT_BOOK_ENCODING;
  bool languageGiven = false;  // else the language follows the encoding
  BookLanguage language = BookLanguage::English;
  PaperSize paper = PaperSize::A4;
  FontSize fontSize = FontSize::Small;
  bool keepThe = false;
  std::string date;  // the title page's date; empty: today
};

// Everything a writer needs, texts in UTF-8.
struct SongBook {
  std::string title;
  std::string footer;
  std::string date;
  BookLanguage language = BookLanguage::English;
  PaperSize paper = PaperSize::A4;
  FontSize fontSize = FontSize::Small;
  std::vector<BookSong> songs;      // the songs listed
  std::vector<BookGroup> singers;   // part one
  std::vector<std::size_t> titles;  // part two
  LeftOutSongs leftOut;
};

// What became of a book that was written.
struct BookOutcome {
  std::size_t listed = 0;
  LeftOutSongs leftOut;
  // What the user should know about the book: texts that do not look like
  // the code page they are read in, characters no font here can print.
  std::vector<std::string> warnings;
};

enum class BookFormat { Html, Pdf, Unknown };

// By the extension, without regard to case: .html or .htm, .pdf.
BookFormat BookFormatOf(const std::string& path);

// True when this build can write PDF books.
bool CanWritePdfBooks();

bool ParsePaperSize(const std::string& name, PaperSize& paper);  // "A4", "Letter"
// The paper of the user's locale, for a desktop program's default.
PaperSize LocalePaperSize();
bool ParseFontSize(const std::string& name, FontSize& size);      // "small", "medium", "large"
// The size of a song's line in points.
double SongPoints(FontSize size);

// False with a reason when the settings cannot make a book, or the book's
// folder does not exist.
bool CheckBookSettings(const BookSettings& settings, const std::string& outPath, std::string& error);

// Leaves out what guests cannot key in, converts the texts and orders them.
bool AssembleSongBook(const SongList& songs, bool renumber, const BookSettings& settings, SongBook& book,
                      BookOutcome& outcome, std::string& error);

// Writes the book to outPath (aside, then renamed into place). 0 when
// written, -1 with the reason in `error`.
int WriteSongBook(const SongList& songs, bool renumber, const BookSettings& settings, const std::string& outPath,
                  BookOutcome& outcome, std::string& error);

// The headings of a part in book order: the standard ones of the book's
// language and any other that holds names; `present` says which hold names.
struct PartHeading {
  LetterHeading heading;
  bool present = false;
};
std::vector<PartHeading> SingerPartHeadings(const SongBook& book);
std::vector<PartHeading> TitlePartHeadings(const SongBook& book);

}  // namespace valmero
