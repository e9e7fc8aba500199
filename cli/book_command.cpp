#include "cli/book_command.h"

#include <string>

#include "book/source_book.h"

namespace valmero {

BookSettings BookSettingsOf(const CliRequest& request) {
  BookSettings settings;
  if (!request.bookTitle.empty()) settings.title = request.bookTitle;
  if (!request.bookEncoding.empty()) settings.encoding = request.bookEncoding;
  return settings;
}

int RunBookCommand(const CliRequest& request, const char* startDir, std::FILE* err) {
  BookSettings settings = BookSettingsOf(request);
  std::string error;
  if (!CheckBookSettings(settings, request.bookFile, error)) {
    std::fprintf(err, "valmero-cli: %s\n", error.c_str());
    return 2;
  }
  std::size_t songCount = 0;
  if (WriteSourceBook(startDir, request.source, request.plan, settings, request.bookFile, error, songCount) !=
      SourceBookResult::Written) {
    std::fprintf(err, "valmero-cli: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(err, "song book of %zu songs written to %s\n", songCount, request.bookFile.c_str());
  return 0;
}

}  // namespace valmero
