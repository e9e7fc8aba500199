#include "book/song_book.h"

#include <cctype>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "book/html_book.h"
#include "book/text_conversion.h"
#if VALMERO_HAVE_PDF_BOOK
#include "book/pdf_book.h"
#endif

namespace valmero {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& ending) {
  if (text.size() < ending.size()) return false;
  for (std::size_t i = 0; i < ending.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[text.size() - ending.size() + i]);
    if (std::tolower(c) != ending[i]) return false;
  }
  return true;
}

std::string Today() {
  std::time_t now = std::time(nullptr);
  std::tm local = {};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[64];
  std::size_t length = std::strftime(text, sizeof text, "%d %B %Y", &local);
  std::string date(text, length);
  return date.empty() || date[0] != '0' ? date : date.substr(1);
}

}  // namespace

BookFormat BookFormatOf(const std::string& path) {
  if (EndsWithNoCase(path, ".html") || EndsWithNoCase(path, ".htm")) return BookFormat::Html;
  if (EndsWithNoCase(path, ".pdf")) return BookFormat::Pdf;
  return BookFormat::Unknown;
}

bool CanWritePdfBooks() {
#if VALMERO_HAVE_PDF_BOOK
  return true;
#else
  return false;
#endif
}

bool CheckBookSettings(const BookSettings& settings, const std::string& outPath, std::string& error) {
  BookFormat format = BookFormatOf(outPath);
  if (format == BookFormat::Unknown) {
    error = "the book's file name must end in .html or .pdf";
    return false;
  }
  if (format == BookFormat::Pdf && !CanWritePdfBooks()) {
    error = "this build writes HTML books only (no Cairo and Pango); name the book .html";
    return false;
  }
  CTextConverter converter;
  if (!converter.Open(settings.encoding.c_str())) {
    error = "unknown encoding '" + settings.encoding + "' (for example CP1252, CP949, SHIFT_JIS)";
    return false;
  }
  // Found out before a run, not after it.
  std::filesystem::path folder = std::filesystem::path(outPath).parent_path();
  std::error_code missing;
  if (!folder.empty() && !std::filesystem::is_directory(folder, missing)) {
    error = "the book's folder " + folder.string() + " does not exist";
    return false;
  }
  return true;
}

bool AssembleSongBook(const SongList& songs, bool renumber, const BookSettings& settings, SongBook& book,
                      std::string& error) {
  CTextConverter converter;
  if (!converter.Open(settings.encoding.c_str())) {
    error = "unknown encoding '" + settings.encoding + "'";
    return false;
  }
  // The title comes from a command line or a window: meant as UTF-8, but
  // any byte that is not is shown, not passed on to break the page.
  CTextConverter utf8;
  book.title = utf8.Open("UTF-8") ? utf8.ToUtf8(settings.title) : settings.title;
  book.date = settings.date.empty() ? Today() : settings.date;
  book.songs = BookSongsOf(songs, renumber);
  book.singers = GroupBySinger(book.songs);
  book.titles = OrderByTitle(book.songs);
  // Ordered on the source's bytes, as the player orders them; converted after.
  for (BookSong& song : book.songs) {
    song.title = converter.ToUtf8(song.title);
    song.singer = converter.ToUtf8(song.singer);
  }
  for (BookGroup& group : book.singers) group.name = converter.ToUtf8(group.name);
  return true;
}

int WriteSongBook(const SongList& songs, bool renumber, const BookSettings& settings, const std::string& outPath,
                  std::string& error) {
  if (!CheckBookSettings(settings, outPath, error)) return -1;
  SongBook book;
  if (!AssembleSongBook(songs, renumber, settings, book, error)) return -1;
#if VALMERO_HAVE_PDF_BOOK
  if (BookFormatOf(outPath) == BookFormat::Pdf) return WritePdfBook(book, outPath, error);
#endif
  return WriteHtmlBook(book, outPath, error);
}

std::string HeadingLabel(char heading) {
  if (heading == '~') return "Other";
  return std::string(1, heading);
}

const std::vector<char>& AllHeadings() {
  static const std::vector<char> headings = [] {
    std::vector<char> all{'#'};
    for (char letter = 'A'; letter <= 'Z'; ++letter) all.push_back(letter);
    all.push_back('~');
    return all;
  }();
  return headings;
}

}  // namespace valmero
