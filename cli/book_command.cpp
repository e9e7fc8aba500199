#include "cli/book_command.h"

#include <string>

#include "book/book_language.h"
#include "book/source_book.h"

namespace valmero {

BookSettings BookSettingsOf(const CliRequest& request) {
  BookSettings settings;
  settings.title = request.bookTitle;
  settings.footer = request.bookFooter;
  if (!request.bookEncoding.empty()) settings.encoding = request.bookEncoding;
  settings.languageGiven = ParseBookLanguage(request.bookLanguage, settings.language);
  ParsePaperSize(request.bookPaper, settings.paper);
  ParseFontSize(request.bookFontSize, settings.fontSize);
  settings.keepThe = request.keepThe;
  return settings;
}

int RunBookCommand(const CliRequest& request, const char* startDir, std::FILE* err) {
  BookSettings settings = BookSettingsOf(request);
  std::string error;
  if (!CheckBookSettings(settings, request.bookFile, error)) {
    std::fprintf(err, "valmero-cli: %s\n", error.c_str());
    return 2;
  }
  BookOutcome outcome;
  if (WriteSourceBook(startDir, request.source, request.plan, settings, request.bookFile, outcome, error) !=
      SourceBookResult::Written) {
    std::fprintf(err, "valmero-cli: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& warning : outcome.warnings) std::fprintf(err, "valmero-cli: warning: %s\n", warning.c_str());
  std::fprintf(err, "song book of %s written to %s\n", SongCountText(BookLanguage::English, outcome.listed).c_str(),
               request.bookFile.c_str());
  const LeftOutSongs& left = outcome.leftOut;
  if (left.withoutNumber > 0) std::fprintf(err, "  not listed, without a usable number: %zu\n", left.withoutNumber);
  if (left.withoutTexts > 0) std::fprintf(err, "  not listed, without title and singer: %zu\n", left.withoutTexts);
  if (left.duplicates > 0) std::fprintf(err, "  listed once, exact duplicates: %zu\n", left.duplicates);
  return 0;
}

}  // namespace valmero
