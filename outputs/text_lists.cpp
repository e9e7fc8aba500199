#include "outputs/text_lists.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/atomic_file.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// The player's list shows titles in a column of this width.
constexpr std::size_t LIST_TITLE_WIDTH = 38;

// Room for the longest line: an 11-character number, two texts of at most
// TEXT_SIZE - 1 characters, two separators and CR LF.
constexpr std::size_t LINE_SIZE = 16 + 2 * TEXT_SIZE;

// A field holds at most TEXT_SIZE - 1 characters; closing the last byte keeps
// every later use of a field that came in full inside it.
char* TerminatedField(char (&field)[TEXT_SIZE]) {
  field[TEXT_SIZE - 1] = '\0';
  return field;
}

// A title or singer taken from a text line may still carry its line feed; the
// files must not get an extra line from it, and later stages see the cut too.
void CutRecordTexts(SongRecord& song) {
  CutAtLastLineFeed(TerminatedField(song.title));
  CutAtLastLineFeed(TerminatedField(song.singer));
}

// Stored in the record, so that SCDG.CFG of the same run lines up as well.
void FillTitleToListWidth(SongRecord& song) {
  std::size_t length = std::strlen(song.title);
  if (length >= LIST_TITLE_WIDTH) return;
  std::memset(song.title + length, ' ', LIST_TITLE_WIDTH - length);
  song.title[LIST_TITLE_WIDTH] = '\0';
}

// Text files end every line with CR LF on every platform, as the player
// expects from files written on its home system.
bool WriteLine(CAtomicFile& file, const char* format, int number, const SongRecord& song) {
  char line[LINE_SIZE];
  int length = std::snprintf(line, sizeof line, format, number, song.title, song.singer);
  if (length < 0) return false;
  std::size_t size = static_cast<std::size_t>(length) < sizeof line ? static_cast<std::size_t>(length)
                                                                      : sizeof line - 1;
  return file.Write(line, size);
}

// Opens the temporary file for `name` in the target folder; logs and returns
// false when the path does not fit or the file cannot be made.
bool CreateTextFile(CAtomicFile& file, const char* target, const char* name, std::string& path) {
  path = std::string(target) + PATH_SEPARATOR + name;
  char fitted[PATH_SIZE];
  if (!FormatPath(fitted, sizeof fitted, "%s" VALMERO_SEP "%s", target, name) || !file.Create(fitted)) {
    LogMessage("can not create \"%s\" file", path.c_str());
    return false;
  }
  return true;
}

// The file replaces the old one only when every byte reached the disk.
int CommitTextFile(CAtomicFile& file, const std::string& path) {
  if (!file.Commit()) {
    TraceLastError("write the text list");
    LogMessage("can not write \"%s\" file", path.c_str());
    return -1;
  }
  return 0;
}

}  // namespace

int WriteListFile(const char* target, SongList& songs, bool indexRenumber) {
  CAtomicFile file;
  std::string path;
  if (!CreateTextFile(file, target, "LIST.TXT", path)) return -1;
  LogMessage("Create LIST.TXT");

  const std::size_t count = songs.size();
  for (std::size_t i = 0; i < count; ++i) {
    SongRecord& song = *songs[i];
    CutRecordTexts(song);
    FillTitleToListWidth(song);
    // After a failed write the records are still brought into shape, so that
    // they are the same for the later stages whatever happened to the file.
    WriteLine(file, "%05d|%s|%s\r\n", indexRenumber ? song.newNumber : song.songNumber, song);
  }
  return CommitTextFile(file, path);
}

int WriteConfigFile(const char* target, SongList& songs, bool configRenumber, bool configKeep) {
  CAtomicFile file;
  std::string path;
  if (!CreateTextFile(file, target, "SCDG.CFG", path)) return -1;
  LogMessage("Create SCDG.CFG");

  for (auto& record : songs) {
    SongRecord& song = *record;
    CutRecordTexts(song);
    if (configRenumber) {
      WriteLine(file, "%05d#%s#%s\r\n", song.newNumber, song);
    } else if (configKeep) {
      WriteLine(file, "%05d#%s#%s\r\n", song.songNumber, song);
    }
  }
  return CommitTextFile(file, path);
}

}  // namespace valmero
