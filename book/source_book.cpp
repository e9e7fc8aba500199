#include "book/source_book.h"

#include <cstring>

#include "log/activity_log.h"

namespace valmero {

namespace {

// Keeps the activity log closed while it lives: reading the source would
// otherwise log every song as a run does.
class CLogSilence {
 public:
  CLogSilence() {
    std::memcpy(m_szSavedPath, g_szLogPath, sizeof m_szSavedPath);
    ResetActivityLog();
  }
  ~CLogSilence() { std::memcpy(g_szLogPath, m_szSavedPath, sizeof m_szSavedPath); }
  CLogSilence(const CLogSilence&) = delete;
  CLogSilence& operator=(const CLogSilence&) = delete;

 private:
  char m_szSavedPath[PATH_SIZE];
};

}  // namespace

SourceBookResult WriteSourceBook(const char* startDir, const PreviewRequest& request, const BookSettings& settings,
                                 const std::string& outPath, std::string& error, std::size_t& songCount) {
  CLogSilence silence;
  SongPreview preview;
  PreviewSongs(startDir, request, preview);
  songCount = preview.songs.size();
  if (preview.readResult < 0) {
    error = "can not read the source \"" + request.source + "\"";
    return SourceBookResult::UnreadableSource;
  }
  if (WriteSongBook(preview.songs, request.renumber, settings, outPath, error) < 0) return SourceBookResult::NotWritten;
  return SourceBookResult::Written;
}

}  // namespace valmero
