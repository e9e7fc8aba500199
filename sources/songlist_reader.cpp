#include "sources/songlist_reader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/files.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

constexpr std::size_t LINE_SIZE = 260;
constexpr std::size_t SINGER_LIMIT = 51;

bool IsSeparator(char c) { return c == '\t' || c == '#' || c == '|'; }

// Reads a file the way a text-mode stream does (CR LF arrives as LF) and
// hands out lines as fgets into a 260-byte buffer would, end-of-file flag
// included.
class CTextLineReader {
 public:
  explicit CTextLineReader(std::vector<char> text) : m_text(std::move(text)) {}

  bool AtEnd() const { return m_eof; }

  // Copies the next line (at most 259 characters, its line feed included)
  // into line; false when nothing is left to read.
  bool ReadLine(char (&line)[LINE_SIZE]) {
    std::memset(line, 0, sizeof line);
    if (m_offset >= m_text.size()) {
      m_eof = true;
      return false;
    }
    std::size_t length = 0;
    while (length < LINE_SIZE - 1) {
      if (m_offset >= m_text.size()) {
        m_eof = true;
        break;
      }
      char c = m_text[m_offset++];
      line[length++] = c;
      if (c == '\n') break;
    }
    return true;
  }

 private:
  std::vector<char> m_text;
  std::size_t m_offset = 0;
  bool m_eof = false;
};

std::vector<char> ToTextMode(const std::vector<char>& raw) {
  std::vector<char> text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
  return text;
}

bool ReadWholeFile(const char* path, std::vector<char>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char chunk[64 * 1024];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return true;
}

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

// The existing song file for a formed path, found without regard to case;
// logs and gives false when it is missing or the path does not fit.
bool FindSongFile(CFileFinder& finder, const std::string& folder, const std::string& numberText,
                  const char* extension, char (&path)[PATH_SIZE]) {
  char formed[PATH_SIZE];
  bool fits = FormatPath(formed, sizeof formed, "%s" VALMERO_SEP "%s.%s", folder.c_str(), numberText.c_str(), extension);
  std::string found = fits ? finder.Find(formed) : std::string();
  if (found.empty() || found.size() >= PATH_SIZE) {
    if (!fits) std::snprintf(formed, sizeof formed, "%s" VALMERO_SEP "%s.%s", folder.c_str(), numberText.c_str(), extension);
    LogMessage("\"%s\" does not exist", formed);
    return false;
  }
  CopyText(path, sizeof path, found.c_str());
  return true;
}

enum class LineOutcome { Added, Skipped, EndOfList, TooManySeparators };

LineOutcome ReadSongLine(const char* line, int lineNumber, const std::string& folder, CFileFinder& finder,
                         SongList& songs) {
  int separators = CountSeparators(line);
  if (separators > 2) {
    LogMessage("line %d : too many separators \"%s\"", lineNumber, line);
    return LineOutcome::TooManySeparators;
  }
  if (separators == 0) {
    LogMessage("end of file");
    return LineOutcome::EndOfList;
  }

  auto record = MakeSongRecord();
  std::string numberText = TakeField(SkipSpaces(line), LINE_SIZE, false);
  record->songNumber = ParseLeadingInt(numberText.c_str());
  record->newNumber = record->songNumber;
  if (record->songNumber == 0) {
    LogMessage("invalid song number : line %d", lineNumber);
    return LineOutcome::Skipped;
  }

  char mcgPath[PATH_SIZE];
  if (!FindSongFile(finder, folder, numberText, "mp3", record->path) ||
      !FindSongFile(finder, folder, numberText, "mcg", mcgPath)) {
    return LineOutcome::Skipped;
  }

  const char* titleStart = AfterNextSeparator(line);
  CopyText(record->title, sizeof record->title, TakeField(SkipSpaces(titleStart), LINE_SIZE, true).c_str());
  if (separators == 2) {
    const char* singerStart = AfterNextSeparator(titleStart);
    CopyText(record->singer, sizeof record->singer, TakeField(SkipSpaces(singerStart), SINGER_LIMIT, true).c_str());
  }

  LogMessage("read %dth line : song number = %d, new number = %d", lineNumber, record->songNumber,
             record->newNumber);
  songs.push_back(std::move(record));
  return LineOutcome::Added;
}

}  // namespace

std::string SonglistSongFolder(const char* source) {
  if (std::strchr(source, PATH_SEPARATOR) == nullptr || std::strchr(source, '.') == nullptr) return {};
  return FolderOf(source);
}

int ReadSonglistFile(const char* source, SongList& songs, IRunHost& host) {
  ClearSongList(songs);
  std::vector<char> raw;
  if (!ReadWholeFile(source, raw)) {
    LogMessage("can not read songlist file : %s", source);
    return -1;
  }
  return ReadSonglistText(source, raw, songs, host);
}

int ReadSonglistText(const char* source, const std::vector<char>& raw, SongList& songs, IRunHost& host) {
  std::string folder = SonglistSongFolder(source);
  auto popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, 1, 1);
  SetProgressText(*popup, "Reading songlist file...");
  LogMessage("Reading songlist file...");

  CFileFinder finder;
  CTextLineReader reader(ToTextMode(raw));
  char line[LINE_SIZE];
  int lineNumber = 0;
  while (!reader.AtEnd()) {
    if (!reader.ReadLine(line)) {
      LogMessage("no data or end of file : line %d", lineNumber);
      break;
    }
    ++lineNumber;
    if (line[0] == '\0') break;
    LineOutcome outcome = ReadSongLine(line, lineNumber, folder, finder, songs);
    if (outcome == LineOutcome::TooManySeparators) return -1;
    if (outcome == LineOutcome::EndOfList) break;
  }
  popup->StepIt();
  return 0;
}

}  // namespace valmero
