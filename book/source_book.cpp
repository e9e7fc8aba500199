#include "book/source_book.h"

namespace valmero {

SourceBookResult WriteSourceBook(const char* startDir, const std::string& source, const RunPlan& plan,
                                 const BookSettings& settings, const std::string& outPath, BookOutcome& outcome,
                                 std::string& error) {
  // The preview holds the activity log back: reading the source logs nothing.
  SongPreview preview;
  PreviewSongs(startDir, source, plan, preview);
  if (preview.readResult < 0) {
    error = "can not read the source \"" + source + "\"";
    return SourceBookResult::UnreadableSource;
  }
  if (WriteSongBook(preview.songs, plan.Renumbers(), settings, outPath, outcome, error) < 0) {
    return SourceBookResult::NotWritten;
  }
  return SourceBookResult::Written;
}

}  // namespace valmero
