// The printable song book of a collection: a title page, the songs by singer
// and the songs by title, each with the number the player shows. Written as
// one self-contained HTML file or, where the build has Cairo and Pango, as a
// PDF; the kind follows the file's extension.
#pragma once

#include <string>
#include <vector>

#include "book/book_order.h"
#include "core/song_list.h"

namespace valmero {

constexpr const char* DEFAULT_BOOK_TITLE = "Karaoke Song Book";
constexpr const char* DEFAULT_BOOK_ENCODING = "CP1252";
constexpr const char* NO_TITLE_TEXT = "(no title)";
constexpr const char* NO_SINGER_TEXT = "(no singer)";
constexpr const char* SINGER_PART_NAME = "By singer";
constexpr const char* TITLE_PART_NAME = "By title";

struct BookSettings {
  std::string title = DEFAULT_BOOK_TITLE;  // UTF-8
  std::string encoding = DEFAULT_BOOK_ENCODING;
  std::string date;  // the title page's date; empty: today
};

// Everything a writer needs, texts in UTF-8.
struct SongBook {
  std::string title;
  std::string date;
  std::vector<BookSong> songs;
  std::vector<BookGroup> singers;  // part one
  std::vector<std::size_t> titles; // part two
};

enum class BookFormat { Html, Pdf, Unknown };

// By the extension, without regard to case: .html or .htm, .pdf.
BookFormat BookFormatOf(const std::string& path);

// True when this build can write PDF books.
bool CanWritePdfBooks();

// False with a reason when the settings cannot make a book, or the book's
// folder does not exist.
bool CheckBookSettings(const BookSettings& settings, const std::string& outPath, std::string& error);

// Orders the songs and converts their texts for display.
bool AssembleSongBook(const SongList& songs, bool renumber, const BookSettings& settings, SongBook& book,
                      std::string& error);

// Writes the book to outPath (aside, then renamed into place). 0 when
// written, -1 with the reason in `error`.
int WriteSongBook(const SongList& songs, bool renumber, const BookSettings& settings, const std::string& outPath,
                  std::string& error);

// The label of a letter heading: "#", "A" to "Z", or "Other".
std::string HeadingLabel(char heading);
// The headings in book order.
const std::vector<char>& AllHeadings();

}  // namespace valmero
