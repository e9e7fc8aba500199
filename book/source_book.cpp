#include "book/source_book.h"

namespace valmero {

SourceBookResult WriteSourceBook(const char* startDir, const PreviewRequest& request, const BookSettings& settings,
                                 const std::string& outPath, BookOutcome& outcome, std::string& error) {
  // The preview holds the activity log back: reading the source logs nothing.
  SongPreview preview;
  PreviewSongs(startDir, request, preview);
  if (preview.readResult < 0) {
    error = "can not read the source \"" + request.source + "\"";
    return SourceBookResult::UnreadableSource;
  }
  if (WriteSongBook(preview.songs, request.renumber, settings, outPath, outcome, error) < 0) return SourceBookResult::NotWritten;
  return SourceBookResult::Written;
}

}  // namespace valmero
