#include "sources/songlist_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "sources/read_cancel.h"

namespace valmero {

namespace {

constexpr std::size_t LINE_SIZE = 260;
// How many lines go by between two looks for a cancel: a long list keeps
// its windows painted and can be stopped, at no cost worth measuring.
constexpr int LINES_BETWEEN_PUMPS = 256;
constexpr std::size_t SINGER_LIMIT = 51;

bool IsSeparator(char c) { return c == '\t' || c == '#' || c == '|'; }

// Reads a file the way a text-mode stream does (CR LF arrives as LF, a lone
// CR stays) and hands out lines as fgets into a 260-byte buffer would,
// end-of-file flag included.
class CTextLineReader {
 public:
  explicit CTextLineReader(CByteStream& bytes) : m_bytes(bytes) {}

  bool AtEnd() const { return m_eof; }
  bool Failed() const { return m_bytes.Failed(); }

  // Copies the next line (at most 259 characters, its line feed included)
  // into line; false when nothing is left to read.
  bool ReadLine(char (&line)[LINE_SIZE]) {
    std::memset(line, 0, sizeof line);
    if (m_bytes.Peek() < 0) {
      m_eof = true;
      return false;
    }
    std::size_t length = 0;
    while (length < LINE_SIZE - 1) {
      int c = NextTextByte();
      if (c < 0) {
        m_eof = true;
        break;
      }
      line[length++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    return true;
  }

 private:
  int NextTextByte() {
    int c = m_bytes.Next();
    if (c == '\r' && m_bytes.Peek() == '\n') c = m_bytes.Next();
    return c;
  }

  CByteStream& m_bytes;
  bool m_eof = false;
};

int CountSeparators(const char* line) {
  int count = 0;
  for (; *line != '\0'; ++line) count += IsSeparator(*line) ? 1 : 0;
  return count;
}

const char* SkipSpaces(const char* text) {
  while (*text == ' ') ++text;
  return text;
}

// The field that starts at `from`, up to a separator, line feed or the end,
// at most `limit` characters, trailing spaces removed.
std::string TakeField(const char* from, std::size_t limit, bool stopAtLineFeed) {
  const char* end = from;
  while (*end != '\0' && !IsSeparator(*end) && !(stopAtLineFeed && *end == '\n') &&
         static_cast<std::size_t>(end - from) < limit) {
    ++end;
  }
  while (end > from && end[-1] == ' ') --end;
  return std::string(from, static_cast<std::size_t>(end - from));
}

const char* AfterNextSeparator(const char* text) {
  while (*text != '\0' && !IsSeparator(*text)) ++text;
  return *text == '\0' ? nullptr : text + 1;
}

// A number field names a file beside the songlist, never one elsewhere:
// "2024/../../secret/x" must not reach outside the songlist's folder.
bool NamesFileInFolder(const std::string& numberText) {
  return numberText.find('/') == std::string::npos && numberText.find('\\') == std::string::npos &&
         numberText.find("..") == std::string::npos;
}

// The existing song file for a formed path, found without regard to case;
// logs and gives false when it is missing or the path does not fit.
bool FindSongFile(CFileFinder& finder, const std::string& folder, const std::string& numberText,
                  const char* extension, char (&path)[PATH_SIZE], IRunHost& host, int lineNumber,
                  RunNoteCode missing) {
  char formed[PATH_SIZE];
  bool fits = FormatPath(formed, sizeof formed, "%s" VALMERO_SEP "%s.%s", folder.c_str(), numberText.c_str(), extension);
  std::string found = fits && NamesFileInFolder(numberText) ? finder.Find(formed) : std::string();
  if (found.empty() || found.size() >= PATH_SIZE) {
    if (!fits) std::snprintf(formed, sizeof formed, "%s" VALMERO_SEP "%s.%s", folder.c_str(), numberText.c_str(), extension);
    LogMessage("\"%s\" does not exist", formed);
    host.Note({missing, formed, lineNumber, ""});
    return false;
  }
  CopyText(path, sizeof path, found.c_str());
  return true;
}

enum class LineOutcome { Added, Skipped, EndOfList, TooManySeparators };

LineOutcome ReadSongLine(const char* line, int lineNumber, const std::string& folder, CFileFinder& finder,
                         SongList& songs, IRunHost& host) {
  int separators = CountSeparators(line);
  if (separators > 2) {
    LogMessage("line %d : too many separators \"%s\"", lineNumber, line);
    host.Note({RunNoteCode::ListFailed, "", lineNumber, line});
    return LineOutcome::TooManySeparators;
  }
  if (separators == 0) {
    LogMessage("end of file");
    host.Note({RunNoteCode::ListEnded, "", lineNumber, line});
    return LineOutcome::EndOfList;
  }

  // The record is made only for a line that becomes a song: a list whose
  // songs are missing costs no more than one whose songs are there.
  std::string numberText = TakeField(SkipSpaces(line), LINE_SIZE, false);
  const int32_t number = ParseLeadingInt(numberText.c_str());
  if (number == 0) {
    LogMessage("invalid song number : line %d", lineNumber);
    host.Note({RunNoteCode::LineWithoutNumber, "", lineNumber, numberText.c_str()});
    return LineOutcome::Skipped;
  }

  char mp3Path[PATH_SIZE];
  char mcgPath[PATH_SIZE];
  if (!FindSongFile(finder, folder, numberText, "mp3", mp3Path, host, lineNumber, RunNoteCode::LineMissingMp3) ||
      !FindSongFile(finder, folder, numberText, "mcg", mcgPath, host, lineNumber, RunNoteCode::LineMissingMcg)) {
    return LineOutcome::Skipped;
  }

  auto record = MakeSongRecord();
  record->songNumber = number;
  record->newNumber = number;
  CopyText(record->path, sizeof record->path, mp3Path);
  const char* titleStart = AfterNextSeparator(line);
  CopyText(record->title, sizeof record->title, TakeField(SkipSpaces(titleStart), LINE_SIZE, true).c_str());
  if (separators == 2) {
    const char* singerStart = AfterNextSeparator(titleStart);
    CopyText(record->singer, sizeof record->singer, TakeField(SkipSpaces(singerStart), SINGER_LIMIT, true).c_str());
  }

  LogMessage("read %dth line : song number = %d, new number = %d", lineNumber, record->songNumber,
             record->newNumber);
  host.Note({RunNoteCode::LineTaken, record->path, lineNumber, record->title});
  songs.push_back(std::move(record));
  return LineOutcome::Added;
}

}  // namespace

std::string SonglistSongFolder(const char* source) {
  if (std::strchr(source, PATH_SEPARATOR) == nullptr || std::strchr(source, '.') == nullptr) return {};
  return FolderOf(source);
}

namespace {

int ReadSonglistStream(const char* source, CByteStream& bytes, SongList& songs, IRunHost& host) {
  std::string folder = SonglistSongFolder(source);
  auto popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, 1, 1);
  SetProgressText(*popup, "Reading songlist file...");
  LogMessage("Reading songlist file...");

  CFileFinder finder;
  CTextLineReader reader(bytes);
  // The lines' log lines go out a batch at a time, as the scan's do.
  CLogLinesTogether together;
  char line[LINE_SIZE];
  int lineNumber = 0;
  while (!reader.AtEnd()) {
    if (lineNumber % LINES_BETWEEN_PUMPS == LINES_BETWEEN_PUMPS - 1 && UserCancelsRead(*popup, host, together)) {
      return -1;
    }
    bool read = reader.ReadLine(line);
    if (reader.Failed()) {
      // A read error is no end of the list: the songs below it would be lost unsaid.
      LogMessage(UNREADABLE_SONGLIST_FORMAT, source);
      return -1;
    }
    if (!read) {
      LogMessage("no data or end of file : line %d", lineNumber);
      break;
    }
    ++lineNumber;
    if (line[0] == '\0') {
      host.Note({RunNoteCode::ListEnded, "", lineNumber, ""});
      break;
    }
    LineOutcome outcome = ReadSongLine(line, lineNumber, folder, finder, songs, host);
    if (outcome == LineOutcome::TooManySeparators) return -1;
    if (outcome == LineOutcome::EndOfList) break;
  }
  popup->StepIt();
  return 0;
}

}  // namespace

int ReadSonglistFile(const char* source, SongList& songs, IRunHost& host) {
  ClearSongList(songs);
  // Only a regular file is a songlist: a folder would read as an empty list
  // and a named pipe would stop the program for good.
  int fd = OpenRegularForReading(source);
  if (fd < 0) {
    LogMessage(UNREADABLE_SONGLIST_FORMAT, source);
    return -1;
  }
  auto bytes = std::make_unique<CByteStream>(fd);
  int result = ReadSonglistStream(source, *bytes, songs, host);
  CloseFile(fd);
  return result;
}

int ReadSonglistText(const char* source, const std::vector<char>& raw, SongList& songs, IRunHost& host) {
  auto bytes = std::make_unique<CByteStream>(raw.data(), raw.size());
  return ReadSonglistStream(source, *bytes, songs, host);
}

}  // namespace valmero
