#include "book/song_book.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <initializer_list>
#include <set>
#include <utility>

#include "book/html_book.h"
#include "platform/file_facts.h"
#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/paper_size.h"
#include "platform/text_conversion.h"
#include "run/encoding_guess.h"
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

std::string LowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Today(BookLanguage language) {
  const std::tm local = LocalTimeOf(std::time(nullptr));
  return DateText(language, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

BookLanguage LanguageOf(const BookSettings& settings) {
  return settings.languageGiven ? settings.language : LanguageOfEncoding(settings.encoding);
}

std::vector<std::string> TextsOf(const std::vector<BookSong>& songs) {
  std::vector<std::string> texts;
  texts.reserve(2 * songs.size());
  for (const BookSong& song : songs) {
    texts.push_back(song.title);
    texts.push_back(song.singer);
  }
  return texts;
}

// The standard headings, and after them in their order those of the part's
// names that are not among them.
std::vector<PartHeading> PartHeadings(const SongBook& book, const std::set<int>& present,
                                      const std::vector<LetterHeading>& used) {
  std::vector<PartHeading> headings;
  std::set<int> listed;
  for (const LetterHeading& heading : StandardHeadings(book.language)) {
    headings.push_back({heading, present.count(heading.rank) > 0});
    listed.insert(heading.rank);
  }
  for (const LetterHeading& heading : used) {
    if (listed.insert(heading.rank).second) headings.push_back({heading, true});
  }
  std::stable_sort(headings.begin(), headings.end(),
                   [](const PartHeading& a, const PartHeading& b) { return a.heading < b.heading; });
  return headings;
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

// The value named, without regard to case.
template <typename Value>
bool ParseNamed(const std::string& name, std::initializer_list<std::pair<const char*, Value>> named, Value& value) {
  for (const auto& [text, meaning] : named) {
    if (LowerAscii(name) == text) {
      value = meaning;
      return true;
    }
  }
  return false;
}

bool ParsePaperSize(const std::string& name, PaperSize& paper) {
  return ParseNamed(name, {{"a4", PaperSize::A4}, {"letter", PaperSize::Letter}}, paper);
}

PaperSize LocalePaperSize() { return LocalePrintsOnLetter() ? PaperSize::Letter : PaperSize::A4; }

bool ParseFontSize(const std::string& name, FontSize& size) {
  return ParseNamed(name, {{"small", FontSize::Small}, {"medium", FontSize::Medium}, {"large", FontSize::Large}},
                    size);
}

double SongPoints(FontSize size) {
  switch (size) {
    case FontSize::Medium: return 9.5;
    case FontSize::Large: return 11;
    case FontSize::Small: break;
  }
  return 8;
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
    error = "unknown encoding '" + settings.encoding + "' (for example CP1252, CP949, SHIFT_JIS, UTF-8)";
    return false;
  }
  // Found out before a run, not after it.
  const std::string folder = ParentFolderOf(outPath);
  if (!folder.empty() && !IsFolder(folder.c_str())) {
    error = "the book's folder " + folder + " does not exist";
    return false;
  }
  return true;
}

bool AssembleSongBook(const SongList& songs, bool renumber, const BookSettings& settings, SongBook& book,
                      BookOutcome& outcome, std::string& error) {
  CTextConverter converter;
  if (!converter.Open(settings.encoding.c_str())) {
    error = "unknown encoding '" + settings.encoding + "'";
    return false;
  }
  book.language = LanguageOf(settings);
  // The title and footer come from a command line or a window: meant as
  // UTF-8, but any byte that is not is shown, not passed on to break the page.
  CTextConverter utf8;
  const bool utf8Open = utf8.Open("UTF-8");
  const std::string title = settings.title.empty() ? WordsOf(book.language).defaultTitle : settings.title;
  book.title = utf8Open ? utf8.ToUtf8(title) : title;
  book.footer = utf8Open ? utf8.ToUtf8(settings.footer) : settings.footer;
  book.date = settings.date.empty() ? Today(book.language) : settings.date;
  book.paper = settings.paper;
  book.fontSize = settings.fontSize;

  std::vector<BookSong> all = BookSongsOf(songs, renumber);
  book.songs = ListableSongs(all, book.leftOut);
  outcome = BookOutcome();
  outcome.leftOut = book.leftOut;
  outcome.listed = book.songs.size();
  const std::string advice = EncodingAdvice(JudgeEncoding(TextsOf(book.songs), settings.encoding), settings.encoding);
  if (!advice.empty()) outcome.warnings.push_back(advice);
  for (BookSong& song : book.songs) {
    song.title = converter.ToUtf8(song.title);
    song.singer = converter.ToUtf8(song.singer);
  }
  OrderBook(book.songs, {settings.keepThe, book.language}, book.singers, book.titles);
  return true;
}

int WriteSongBook(const SongList& songs, bool renumber, const BookSettings& settings, const std::string& outPath,
                  BookOutcome& outcome, std::string& error) {
  if (!CheckBookSettings(settings, outPath, error)) return -1;
  SongBook book;
  if (!AssembleSongBook(songs, renumber, settings, book, outcome, error)) return -1;
#if VALMERO_HAVE_PDF_BOOK
  if (BookFormatOf(outPath) == BookFormat::Pdf) return WritePdfBook(book, outPath, outcome.warnings, error);
#endif
  return WriteHtmlBook(book, outPath, error);
}

std::vector<PartHeading> SingerPartHeadings(const SongBook& book) {
  std::set<int> present;
  std::vector<LetterHeading> used;
  for (const BookGroup& group : book.singers) {
    if (present.insert(group.heading.rank).second) used.push_back(group.heading);
  }
  return PartHeadings(book, present, used);
}

std::vector<PartHeading> TitlePartHeadings(const SongBook& book) {
  std::set<int> present;
  std::vector<LetterHeading> used;
  for (std::size_t position : book.titles) {
    const LetterHeading& heading = book.songs[position].titleHeading;
    if (present.insert(heading.rank).second) used.push_back(heading);
  }
  return PartHeadings(book, present, used);
}

}  // namespace valmero
