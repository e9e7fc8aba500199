#include "run/source_check.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "core/fixed_text.h"
#include "core/null_run_host.h"
#include "outputs/singer_index.h"
#include "outputs/song_copier.h"
#include "platform/ascii_case.h"
#include "platform/file_facts.h"
#include "platform/files.h"
#include "platform/folder_listing.h"
#include "platform/path_separator.h"
#include "platform/text_conversion.h"
#include "run/encoding_guess.h"
#include "run/output_names.h"
#include "run/song_preview.h"
#include "run/songlist_shape.h"
#include "run/target_state.h"

namespace valmero {

namespace {

constexpr int64_t PLAYER_NUMBER_LIMIT = 99999;
// How much of a songlist line a finding quotes.
constexpr std::size_t QUOTE_LIMIT = 60;

struct StoredNote {
  RunNoteCode code;
  std::string file;
  int line;
  std::string text;
};

// Hears the reader's notes and shows nothing; never cancels.
class CNoteListener : public CNullHost {
 public:
  void Note(const RunNote& note) override {
    if (IsCopyNote(note.code)) return;
    m_notes.push_back({note.code, note.file, note.line, note.text});
  }
  std::vector<StoredNote> m_notes;
};

// A line as a finding quotes it: NUL bytes and the line end left out.
std::string WithoutLineEnds(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if (c != '\0' && c != '\n' && c != '\r') kept += c;
  }
  return kept;
}

// UTF-8 text cut to its first QUOTE_LIMIT characters.
std::string CutShort(const std::string& text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == QUOTE_LIMIT) return text.substr(0, i) + "...";
  }
  return text;
}

constexpr const char* BYTE_ORDER_MARK = "\xEF\xBB\xBF";
// How a byte-order mark inside a text shows: it has no look of its own.
constexpr const char* BYTE_ORDER_MARK_WORD = "[BOM]";

const char* KindName(int32_t kind) {
  if (kind == KIND_IPS) return "-IPS songs";
  if (kind == KIND_MCG) return "-MCG songs";
  return "pair songs (.MP3 with .MCG)";
}

std::string Format(const char* format, ...) VALMERO_PRINTF(1, 2);
std::string Format(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

// True when what the index holds of a spelled text loses more than the
// filling spaces that tags carry.
bool LosesText(const std::string& spelled) {
  if (spelled.size() <= INDEX_TEXT_LIMIT) return false;
  return spelled.find_first_not_of(' ', INDEX_TEXT_LIMIT) != std::string::npos;
}

// A title or singer as the outputs write it (cut at its last line feed) holds
// a character that breaks the columns of the text lists.
bool HoldsColumnBreaker(const char* text) {
  return TextBeforeLastLineFeed(text).find_first_of("|#\t\r") != std::string::npos;
}

// The number of a numbered song file's name ("00012.MP3", "00012-IPS.MP3",
// "00012.MCG"), or -1.
int64_t NumberOfSongFileName(std::string name) {
  UpperCaseAscii(name.data());
  std::size_t digits = name.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string::npos || digits > 9) return -1;
  std::string rest = name.substr(digits);
  if (rest != ".MP3" && rest != ".MCG" && rest != "-IPS.MP3" && rest != "-MCG.MP3") return -1;
  return std::stoll(name.substr(0, digits));
}

class CCheck {
 public:
  CCheck(const std::string& source, const std::string& target, const RunPlan& plan, const std::string& encoding,
         SourceCheckReport& report)
      : m_source(source), m_target(target), m_plan(plan), m_encoding(encoding), m_report(report) {
    if (!m_texts.Open(encoding.c_str())) m_texts.Open("CP1252");
  }

  void Run(const char* startDir) {
    m_report = SourceCheckReport();
    m_report.source = ShownPath(m_source);
    m_report.encoding = m_encoding;
    m_report.disc = m_plan.ReadsSonglist();
    m_report.target = ShownPath(m_target);
    m_report.indexed = m_plan.WritesIndex();
    m_report.copies = m_plan.Copies();

    CNoteListener listener;
    PreviewSongs(startDir, m_source, m_plan, m_preview, listener);
    m_notes = std::move(listener.m_notes);

    if (m_plan.ReadsSonglist())
      LookAtSonglist();
    else
      LookAtDownloadFolder();
    TakeNotes();
    if (m_report.runFails) {
      m_report.copies = false;
      m_report.indexed = false;
      return;
    }
    m_report.songsTaken = static_cast<int>(m_preview.songs.size());
    if (m_shape.m_bUtf16 && m_preview.songs.empty()) {
      m_report.takesNothing = true;
      m_report.failure = "the songlist is UTF-16, and the run reads no song from it: it would write an empty index";
      return;
    }
    LookAtCodePage();
    if (WouldReplaceSonglist()) return;
    if (!m_target.empty() && !LookAtTargetState()) return;
    LookAtSongs();
    if (!m_target.empty() && CanWriteTarget(m_targetState)) LookAtTarget();
  }

 private:
  // A text of the collection as the report shows it: in UTF-8, a byte-order
  // mark as a word.
  std::string Shown(const std::string& text) {
    std::string shown;
    std::size_t start = 0;
    // A UTF-16 file's mark begins its first line.
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
      shown = BYTE_ORDER_MARK_WORD;
      start = 2;
    }
    for (std::size_t mark = text.find(BYTE_ORDER_MARK); mark != std::string::npos;
         mark = text.find(BYTE_ORDER_MARK, start)) {
      shown += m_texts.ToUtf8(text.substr(start, mark - start)) + BYTE_ORDER_MARK_WORD;
      start = mark + 3;
    }
    return shown + m_texts.ToUtf8(text.substr(start));
  }

  // A line of the songlist as a finding quotes it.
  std::string Quoted(const std::string& line) { return CutShort(Shown(WithoutLineEnds(line))); }

  // Paths are UTF-8 where the system names files so; others are in the
  // collection's code page.
  std::string ShownPath(const std::string& path) { return IsValidUtf8(path) ? path : Shown(path); }

  void Warn(CheckWarningCode code, std::string file, std::string detail, int line = 0) {
    CheckWarning warning;
    warning.code = code;
    warning.file = ShownPath(file);
    warning.line = line;
    warning.detail = std::move(detail);
    m_report.warnings.push_back(std::move(warning));
  }

  // A songlist's song is named at its line, where its texts are mended.
  void WarnAboutSong(CheckWarningCode code, const SongRecord& song, std::string detail) {
    const int line = LineOfSong(song);
    Warn(code, line > 0 ? m_source : song.path, std::move(detail), line);
  }

  void WarnNumber(CheckWarningCode code, const SongRecord& song, int64_t number, std::string detail) {
    WarnAboutSong(code, song, std::move(detail));
    m_report.warnings.back().hasNumber = true;
    m_report.warnings.back().number = number;
  }

  void Drop(const std::string& file, int line, DropReason reason, std::string detail) {
    m_report.dropped.push_back({ShownPath(file), line, reason, std::move(detail)});
  }

  void LookAtDownloadFolder() {
    if (m_preview.readResult < 0) {
      m_report.runFails = true;
      m_report.failure = "the download folder cannot be read";
    }
  }

  void LookAtSonglist() {
    std::vector<int> pieces;
    int endPiece = 0;
    for (const StoredNote& note : m_notes) {
      pieces.push_back(note.line);
      if (note.code == RunNoteCode::ListEnded || note.code == RunNoteCode::ListFailed) endPiece = note.line;
    }
    m_shapeRead = m_shape.Read(m_source, pieces, endPiece);
    if (m_preview.readResult < 0 && endPiece == 0) {
      m_report.runFails = true;
      m_report.failure = "the songlist file cannot be read";
      return;
    }
    if (!m_shapeRead) return;
    const std::string& file = m_source;
    if (m_shape.m_bUtf16) {
      Warn(CheckWarningCode::Utf16File, file,
           "the file is UTF-16 (two bytes a character): the reader stops at its first NUL byte; save it as ANSI "
           "(CP1252, the system's code page): in Notepad, Save as, Encoding ANSI");
    } else if (m_shape.m_bUtf8Mark) {
      Warn(CheckWarningCode::ByteOrderMark, file,
           "the file begins with a UTF-8 byte-order mark ([BOM]): the first line's number is not read; save it as "
           "ANSI (in Notepad: Save as, Encoding ANSI)", 1);
    }
    for (const NulCutLine& cut : m_shape.m_nulCuts) {
      Warn(CheckWarningCode::NulByte, file,
           "a NUL byte cuts the line short: \"" + Quoted(cut.lost) + "\" after it is not read", cut.number);
    }
    if (m_shape.m_nLoneCr > 0 && !m_shape.m_bUtf16) {
      Warn(
          CheckWarningCode::CrOnlyLineEnds, file,
          Format("%zu line ends are a CR alone: the lines they end are read as one; save it with LF or CR LF line ends",
                 m_shape.m_nLoneCr));
    }
  }

  int LineOf(int piece) const {
    const int line = m_shape.FirstEditorLineOfPiece(piece);
    return line > 0 ? line : piece;
  }

  // Why the line that ended the list ended it, in words.
  std::string EndReason(const StoredNote& note) {
    const PhysicalLine* line = m_shape.LineOfPiece(note.line);
    const int number = LineOf(note.line);
    const int last = line != nullptr ? m_shape.LastEditorLineOfPiece(note.line) : number;
    if (note.code == RunNoteCode::ListFailed) {
      if (last > number) {
        return Format("lines %d to %d are read as one line with more than two separators: they end in a CR alone, "
                      "which the run does not take as a line end; save the file with Windows (CR LF) line ends",
                      number, last);
      }
      return Format("line %d has more than two separators: \"%s\"", number, Quoted(note.text).c_str());
    }
    if (line != nullptr && note.line > line->firstPiece) {
      return Format("line %d is longer than %zu characters; its rest is read as a line without separator", number,
                    SONGLIST_LINE_PIECE - 1);
    }
    if (note.text.empty()) return Format("line %d begins with a NUL byte", number);
    if (WithoutLineEnds(note.text).empty()) return Format("line %d is empty", number);
    return Format("line %d has no separator: \"%s\"", number, Quoted(note.text).c_str());
  }

  void TakeNotes() {
    const std::string& source = m_source;
    for (const StoredNote& note : m_notes) {
      switch (note.code) {
        case RunNoteCode::SongOfOtherKind:
          Drop(source + VALMERO_SEP + note.file, 0, DropReason::OtherKind,
               Format("the run takes only %s, the kind of the first MP3 file",
                      m_preview.songs.empty() ? "another kind" : KindName(m_preview.songs.front()->kind)));
          break;
        case RunNoteCode::SongPathTooLong:
          Drop(source + VALMERO_SEP + note.file, 0, DropReason::MissingMp3, "its path is longer than 259 characters");
          break;
        case RunNoteCode::LineWithoutNumber:
          Drop(source, LineOf(note.line), DropReason::BadNumber,
               Format("no song number in \"%s\"", Quoted(note.text).c_str()));
          break;
        case RunNoteCode::LineMissingMp3:
          Drop(note.file, LineOf(note.line), DropReason::MissingMp3, "the .mp3 file is not there");
          break;
        case RunNoteCode::LineMissingMcg:
          Drop(note.file, LineOf(note.line), DropReason::MissingMcg, "the .mcg file is not there");
          break;
        case RunNoteCode::LineTaken:
          m_piecesOfSong[std::make_pair(note.file, note.text)].push_back(note.line);
          break;
        case RunNoteCode::SongNoInformation:
          Warn(CheckWarningCode::NoSongInformation, note.file,
               "no ID3v1 tag and no entry in products.cp: indexed with empty title and singer");
          break;
        case RunNoteCode::ListEnded:
        case RunNoteCode::ListFailed: EndOfList(note); break;
        case RunNoteCode::FileCopied:
        case RunNoteCode::CopyFailed:
        case RunNoteCode::FileInPlace:
        case RunNoteCode::FileMoved: break;
      }
    }
  }

  void EndOfList(const StoredNote& note) {
    std::string why = EndReason(note);
    if (note.code == RunNoteCode::ListFailed) {
      m_report.runFails = true;
      m_report.failure = why + "; the run stops with the error box and writes no index";
    }
    for (const PhysicalLine& line : m_shape.m_lines) {
      // The ending line is a lost song itself when the reader did not see its
      // separators (behind a NUL byte); one with too many is no song.
      bool lost = line.firstPiece > note.line || (line.firstPiece == note.line && note.code == RunNoteCode::ListEnded);
      if (line.text.empty() || !lost) continue;
      // An editor shows one line for each CR alone.
      std::size_t start = 0;
      for (int number = line.number; start <= line.text.size(); ++number) {
        std::size_t end = std::min(line.text.find('\r', start), line.text.size());
        const std::string text = line.text.substr(start, end - start);
        if (text.find_first_of("|#\t") != std::string::npos) {
          Drop(m_source, number, DropReason::ListEndedEarly, "\"" + Quoted(text) + "\" is not read: " + why);
        }
        start = end + 1;
      }
    }
  }

  void LookAtSongs() {
    FindLinesOfSongs();
    std::map<int64_t, const SongRecord*> firstOfNumber;
    CFileFinder finder;
    for (const auto& song : m_preview.songs) {
      int64_t number = PlayerNumber(*song, m_plan.Renumbers());
      if (m_plan.WritesNumbers()) LookAtNumber(*song, number, firstOfNumber);
      if (m_report.indexed) LookAtIndexTexts(*song);
      if ((m_plan.WritesList() || m_plan.WritesConfig()) &&
          (HoldsColumnBreaker(song->title) || HoldsColumnBreaker(song->singer))) {
        WarnAboutSong(CheckWarningCode::SeparatorInText, *song,
             "a |, #, TAB or CR in the title or singer breaks the columns of LIST.TXT and SCDG.CFG");
      }
      if (m_report.copies) CountCopy(*song, finder);
    }
  }

  void LookAtNumber(const SongRecord& song, int64_t number, std::map<int64_t, const SongRecord*>& firstOfNumber) {
    if (number <= 0) {
      WarnNumber(CheckWarningCode::BadNumber, song, number,
                 "no song number in the name: published and copied as number " + std::to_string(number));
    } else if (number > PLAYER_NUMBER_LIMIT) {
      WarnNumber(CheckWarningCode::NumberOver99999, song, number,
                 "the player's five digits cannot show it: the index holds the song, but no guest can key it in and "
                 "the song book leaves it out; give it a number up to 99999, or let the run renumber the songs "
                 "(--index renumber, \"Create new index file with new song numbers\")");
    }
    auto [first, isNew] = firstOfNumber.emplace(number, &song);
    if (!isNew && !m_plan.Renumbers()) {
      const SongRecord& other = *first->second;
      const int otherLine = LineOfSong(other);
      WarnNumber(CheckWarningCode::DuplicateNumber, song, number,
                 "\"" + Shown(TextBeforeLastLineFeed(song.title)) + "\" has the number of \"" +
                     Shown(TextBeforeLastLineFeed(other.title)) + "\" (" +
                     (otherLine > 0 ? "line " + std::to_string(otherLine) : ShownPath(other.path)) +
                     "): the player finds one of them under it, and one copy replaces the other");
    }
  }

  // The editor's line of a songlist's song, 0 for a download song. Two lines
  // of one number name the same file: their titles tell them apart.
  int LineOfSong(const SongRecord& song) const {
    auto line = m_lineOfSong.find(&song);
    return line == m_lineOfSong.end() ? 0 : line->second;
  }

  // Lines that give one file and title go to their songs one each, so that
  // a line repeated word for word is named twice, at both its lines.
  void FindLinesOfSongs() {
    std::map<std::pair<std::string, std::string>, std::size_t> used;
    for (const auto& song : m_preview.songs) {
      const auto key = std::make_pair(std::string(song->path), std::string(song->title));
      auto pieces = m_piecesOfSong.find(key);
      if (pieces == m_piecesOfSong.end()) continue;
      std::size_t& next = used[key];
      if (next < pieces->second.size()) m_lineOfSong[song.get()] = LineOf(pieces->second[next++]);
    }
  }

  void LookAtIndexTexts(const SongRecord& song) {
    const std::string title = IndexSpellingOf(song.title);
    if (LosesText(title)) {
      WarnAboutSong(CheckWarningCode::TitleCut, song,
                    "the player shows \"" + Shown(IndexTextOf(song.title)) + "\" of \"" + Shown(title) + "\"");
    }
    const std::string singer = IndexSpellingOf(song.singer);
    if (LosesText(singer)) {
      WarnAboutSong(CheckWarningCode::SingerCut, song,
                    "the player shows \"" + Shown(IndexTextOf(song.singer)) + "\" of \"" + Shown(singer) + "\"");
    }
  }

  void CountCopy(const SongRecord& song, CFileFinder& finder) {
    uint64_t size = 0;
    if (SizeOfFile(song.path, size)) m_report.copyBytes += size;
    LookAtCopyOf(song, song.path, 0);
    if (song.kind == KIND_IPS || song.kind == KIND_MCG) return;  // no companion to copy
    std::string companion = FindCompanion(song.path, finder);
    if (!CanOpenForReading(companion.c_str())) {
      std::string formed = CompanionPath(song.path);
      Warn(CheckWarningCode::MissingCompanion, song.path,
           "no " + formed.substr(formed.rfind(PATH_SEPARATOR) + 1) +
               " beside it (in any letter case): copied without its graphics");
      return;
    }
    if (SizeOfFile(companion, size)) m_report.copyBytes += size;
    LookAtCopyOf(song, companion, 1);
  }

  // A copy fails when its source is no regular file (a folder, a pipe), or
  // its name in the target is a folder or leaves the path too long.
  void LookAtCopyOf(const SongRecord& song, const std::string& source, std::size_t which) {
    const std::vector<std::string> names = CopyNamesOf(song);
    const std::string& name = names[std::min(which, names.size() - 1)];
    std::string why;
    if (!IsRegularFile(source)) {
      why = ShownPath(source) + " is not a regular file (a folder or a pipe)";
    } else if (!m_target.empty() && !OutputPathFits(m_target.c_str(), name.size())) {
      why = "the path of " + name + " in the target is longer than 259 characters";
    } else if (!m_target.empty() && IsFolder((m_target + VALMERO_SEP + name).c_str())) {
      why = "a folder has the name " + name + " in the target";
    }
    if (!why.empty()) Warn(CheckWarningCode::CopyFails, song.path, why + ": its copy fails");
  }

  // The texts read in the request's code page: UTF-8 ones or ones of
  // another code page are told, with the fix.
  void LookAtCodePage() {
    std::vector<std::string> texts;
    for (const auto& song : m_preview.songs) {
      texts.push_back(TextBeforeLastLineFeed(song->title));
      texts.push_back(TextBeforeLastLineFeed(song->singer));
    }
    const EncodingJudgement judgement = JudgeEncoding(texts, m_encoding);
    if (judgement.verdict == EncodingVerdict::Fits) return;
    Warn(judgement.verdict == EncodingVerdict::Utf8 ? CheckWarningCode::Utf8Text : CheckWarningCode::OtherCodePage,
         m_source, EncodingAdvice(judgement, m_encoding));
  }

  // The names the run writes in the target (all in capitals).
  std::set<std::string> NamesWritten() const {
    std::vector<std::string> names = OutputNamesOf(m_plan, m_preview.songs);
    return std::set<std::string>(names.begin(), names.end());
  }

  // The run refuses to write over its own songlist, and so fails.
  bool WouldReplaceSonglist() {
    if (!m_plan.ReadsSonglist() || m_target.empty()) return false;
    std::string replaced = OutputReplacing(m_target.c_str(), m_plan, m_preview.songs, m_source.c_str());
    if (replaced.empty()) return false;
    RunFails(replaced + " would replace the songlist file itself; the run stops before it writes anything");
    return true;
  }

  // What the run will meet in the target before it writes there. False when
  // the run fails on it (the index or LIST.TXT cannot be written, or the
  // run refuses a target whose path leaves no room for its files); SCDG.CFG
  // and copies that cannot be written only make the run end with failures.
  bool LookAtTargetState() {
    const std::string& target = m_target;
    if (!OutputPathFits(target.c_str(), LongestSureName(m_plan))) {
      RunFails("the target folder's path leaves no room for the names of its files; nothing is created");
      return false;
    }
    m_targetState = TargetStateOf(target.c_str());
    if (CanWriteTarget(m_targetState)) return LookAtOutputsInTheWay();
    std::string why = TargetStateWords(m_targetState, target);
    if (m_plan.WritesIndex() || m_plan.WritesList()) {
      RunFails(why + ": " + (m_plan.WritesIndex() ? "ENGLISH.KVX" : "LIST.TXT") + " cannot be written");
      return false;
    }
    if (m_plan.WritesConfig()) Warn(CheckWarningCode::ConfigFails, target, why + ": SCDG.CFG cannot be written");
    if (m_plan.Copies()) Warn(CheckWarningCode::CopyFails, target, why + ": no song can be copied");
    m_report.copies = false;
    return true;
  }

  // A folder under the name of the index or a list takes its place for good.
  bool LookAtOutputsInTheWay() {
    for (const std::string& name : ListNamesOf(m_plan)) {
      std::string path = m_target + VALMERO_SEP + name;
      if (!IsFolder(path.c_str())) continue;
      if (name == "SCDG.CFG") {
        Warn(CheckWarningCode::ConfigFails, path, "a folder has the name of SCDG.CFG: it cannot be written");
        continue;
      }
      RunFails("a folder has the name of " + name + " in the target: it cannot be written");
      return false;
    }
    return true;
  }

  void RunFails(std::string why) {
    m_report.runFails = true;
    m_report.failure = std::move(why);
    m_report.copies = false;
    m_report.indexed = false;
  }

  void LookAtTarget() {
    const std::string& target = m_target;
    std::set<std::string> written = NamesWritten();
    uint64_t replacedBytes = 0;
    int64_t lastNumber = 0;
    for (const auto& song : m_preview.songs) {
      lastNumber = std::max<int64_t>(lastNumber,
                                     m_report.copies ? song->newNumber : PlayerNumber(*song, m_plan.Renumbers()));
    }
    const std::set<std::string> own = SongFilesIn(target);
    std::vector<FolderEntry> entries;
    ListFolder(target.c_str(), entries);
    for (const FolderEntry& entry : entries) {
      if (entry.isDirectory) continue;
      std::string path = target + VALMERO_SEP + entry.name;
      // Song sticks are mostly FAT, where 00001.mp3 is the 00001.MP3 the run writes.
      std::string upperName = entry.name;
      UpperCaseAscii(upperName.data());
      if (written.count(upperName) != 0) {
        m_report.replaced.push_back(path);
        uint64_t size = 0;
        if (SizeOfFile(path, size) && NumberOfSongFileName(entry.name) >= 0) replacedBytes += size;
      } else if (!written.empty() && own.count(entry.name) == 0 && NumberOfSongFileName(entry.name) > lastNumber) {
        m_report.stale.push_back(path);
      }
    }
    LookAtFreeSpace(replacedBytes);
  }

  // The names of the run's own song files that lie in `folder` (the target
  // can be the songs' folder): they are the user's songs, never stale.
  std::set<std::string> SongFilesIn(const std::string& folder) const {
    std::set<std::string> names;
    std::map<std::string, bool> sameByFolder;
    CFileFinder finder;
    auto nameOf = [](const std::string& path) { return path.substr(path.rfind(PATH_SEPARATOR) + 1); };
    for (const auto& song : m_preview.songs) {
      std::string songFolder = FolderOf(song->path);
      auto known = sameByFolder.find(songFolder);
      if (known == sameByFolder.end()) {
        known = sameByFolder.emplace(songFolder, IsSameFolder(songFolder.c_str(), folder.c_str())).first;
      }
      if (!known->second) continue;
      names.insert(nameOf(song->path));
      std::string companion = finder.Find(CompanionPath(song->path).c_str());
      if (!companion.empty()) names.insert(nameOf(companion));
    }
    return names;
  }

  // The space where the target is, or will be made: its nearest folder that exists.
  void LookAtFreeSpace(uint64_t replacedBytes) {
    uint64_t available = 0;
    if (!FreeSpaceNear(m_target, available)) return;
    m_report.hasTargetFree = true;
    m_report.targetFreeBytes = available;
    uint64_t needed = m_report.copyBytes > replacedBytes ? m_report.copyBytes - replacedBytes : 0;
    if (m_report.copies && needed > available) {
      Warn(CheckWarningCode::NotEnoughSpace, m_target,
           Format("the copies need %llu bytes more, the target has %llu bytes free",
                  static_cast<unsigned long long>(needed), static_cast<unsigned long long>(available)));
    }
  }

  const std::string& m_source;
  const std::string& m_target;
  const RunPlan& m_plan;
  const std::string& m_encoding;
  SourceCheckReport& m_report;
  SongPreview m_preview;
  std::vector<StoredNote> m_notes;
  // The songlist's lines that gave a song, by the song's file and title.
  std::map<std::pair<std::string, std::string>, std::vector<int>> m_piecesOfSong;
  std::map<const SongRecord*, int> m_lineOfSong;
  CTextConverter m_texts;
  CSonglistShape m_shape;
  bool m_shapeRead = false;
  TargetState m_targetState = TargetState::Ready;
};

std::string Thousands(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return digits;
}

// Each code of the report with its name (for scripts: JSON, the text's
// headings) and its words (for a person), in the order the report lists
// them. A new code is one line here.
template <typename Code>
struct CodeText {
  Code code;
  const char* name;
  const char* words;
};

constexpr CodeText<DropReason> DROP_REASONS[] = {
    {DropReason::OtherKind, "other_kind", "Files of another kind than the run's"},
    {DropReason::MissingMp3, "missing_mp3", "Songs whose .mp3 file is missing"},
    {DropReason::MissingMcg, "missing_mcg", "Songs whose .mcg file is missing"},
    {DropReason::BadNumber, "bad_number", "Lines without a song number"},
    {DropReason::ListEndedEarly, "list_ended_early", "Songs after the line that ended the list"},
};

constexpr CodeText<CheckWarningCode> WARNING_CODES[] = {
    {CheckWarningCode::NoSongInformation, "no_song_information", "Songs without title and singer"},
    {CheckWarningCode::BadNumber, "bad_number", "Songs without a usable number"},
    {CheckWarningCode::DuplicateNumber, "duplicate_number", "Songs with the number of another"},
    {CheckWarningCode::NumberOver99999, "number_over_99999", "Numbers over 99999"},
    {CheckWarningCode::TitleCut, "title_cut", "Titles cut to 23 characters"},
    {CheckWarningCode::SingerCut, "singer_cut", "Singers cut to 23 characters"},
    {CheckWarningCode::SeparatorInText, "separator_in_text", "Separators in titles or singers"},
    {CheckWarningCode::ByteOrderMark, "byte_order_mark", "Byte-order mark"},
    {CheckWarningCode::CrOnlyLineEnds, "cr_only_line_ends", "Line ends of a CR alone"},
    {CheckWarningCode::Utf16File, "utf16_file", "UTF-16 songlist"},
    {CheckWarningCode::MissingCompanion, "missing_companion", "Songs without their .MCG companion"},
    {CheckWarningCode::NotEnoughSpace, "not_enough_space", "Not enough space in the target"},
    {CheckWarningCode::NulByte, "nul_byte", "NUL bytes in lines"},
    {CheckWarningCode::CopyFails, "copy_fails", "Copies that fail"},
    {CheckWarningCode::ConfigFails, "config_fails", "SCDG.CFG that cannot be written"},
    {CheckWarningCode::Utf8Text, "utf8_text", "Texts in UTF-8"},
    {CheckWarningCode::OtherCodePage, "other_code_page", "Texts in another code page"},
};

// Every code has its row, in the order of the enum.
template <typename Code, std::size_t N>
constexpr bool HoldsEveryCodeInOrder(const CodeText<Code> (&table)[N], Code last) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(table[i].code) != i) return false;
  }
  return N == static_cast<std::size_t>(last) + 1;
}
static_assert(HoldsEveryCodeInOrder(DROP_REASONS, DropReason::ListEndedEarly), "a drop reason without its row");
static_assert(HoldsEveryCodeInOrder(WARNING_CODES, CheckWarningCode::OtherCodePage), "a warning code without its row");

template <typename Code, std::size_t N>
const CodeText<Code>& RowOf(const CodeText<Code> (&table)[N], Code code) {
  return table[static_cast<std::size_t>(code)];
}

std::string Where(const std::string& file, int line) {
  return line > 0 ? file + ", line " + std::to_string(line) : file;
}

}  // namespace

void CheckSource(const char* startDir, const std::string& source, const std::string& target, const RunPlan& plan,
                 const std::string& encoding, SourceCheckReport& report) {
  CCheck(source, target, plan, encoding, report).Run(startDir);
}

int CheckExitStatus(const SourceCheckReport& report) {
  if (report.runFails || report.takesNothing) return 1;
  return report.HasFindings() ? 3 : 0;
}

const char* DropReasonCode(DropReason reason) { return RowOf(DROP_REASONS, reason).name; }

const char* WarningCodeName(CheckWarningCode code) { return RowOf(WARNING_CODES, code).name; }

namespace {

// Of the texts the index cuts, a real collection has hundreds: a few show
// what they are, the rest would hide the findings that matter.
constexpr std::size_t CUT_EXAMPLES = 5;

bool IsCutText(CheckWarningCode code) { return code == CheckWarningCode::TitleCut || code == CheckWarningCode::SingerCut; }

// " (missing_mcg 3, bad_number 1)": how many of each kind, in report order.
template <typename Code, std::size_t N, typename Findings, typename KindOf>
std::string CountsByKind(const CodeText<Code> (&table)[N], const Findings& findings, KindOf kindOf) {
  std::string counts;
  for (const CodeText<Code>& row : table) {
    std::size_t count = 0;
    for (const auto& finding : findings) count += kindOf(finding) == row.code ? 1 : 0;
    if (count > 0) counts += std::string(counts.empty() ? " (" : ", ") + row.name + " " + Thousands(count);
  }
  return counts.empty() ? counts : counts + ")";
}

}  // namespace

std::string FormatCheckReport(const SourceCheckReport& report, bool all, const std::string& whereTheRest) {
  std::string text = "Source: " + report.source + (report.disc ? " (songlist file)\n" : " (download folder)\n");
  if (!report.target.empty()) text += "Target: " + report.target + "\n";
  if (report.runFails) text += "The run would fail: " + report.failure + ".\n";
  if (report.takesNothing) text += "The run would take no song: " + report.failure + ".\n";
  text += Format("Songs found: %d, %s: %d, dropped: %zu", report.SongsFound(), report.indexed ? "indexed" : "taken",
                 report.songsTaken, report.dropped.size()) +
          CountsByKind(DROP_REASONS, report.dropped, [](const DroppedSong& song) { return song.reason; }) +
          "\n";
  text += "Warnings: " + Thousands(report.warnings.size()) +
          CountsByKind(WARNING_CODES, report.warnings, [](const CheckWarning& warning) { return warning.code; }) +
          "\n";
  if (report.copies) text += "Bytes to copy: " + Thousands(report.copyBytes) + "\n";
  if (report.hasTargetFree) text += "Free in the target: " + Thousands(report.targetFreeBytes) + " bytes\n";
  if (!report.replaced.empty()) text += Format("Files the run replaces: %zu\n", report.replaced.size());
  if (!report.stale.empty()) text += Format("Old numbered song files: %zu\n", report.stale.size());

  for (const CodeText<DropReason>& reason : DROP_REASONS) {
    std::string group;
    for (const DroppedSong& song : report.dropped) {
      if (song.reason == reason.code) group += "  " + Where(song.file, song.line) + ": " + song.detail + "\n";
    }
    if (!group.empty()) text += Format("\nDropped - %s (%s):\n", reason.words, reason.name) + group;
  }
  for (const CodeText<CheckWarningCode>& code : WARNING_CODES) {
    std::string group;
    std::size_t count = 0;
    for (const CheckWarning& warning : report.warnings) {
      if (warning.code != code.code) continue;
      if (all || !IsCutText(code.code) || count < CUT_EXAMPLES) {
        group += "  " + Where(warning.file, warning.line) + ": " + warning.detail + "\n";
      }
      ++count;
    }
    if (!all && IsCutText(code.code) && count > CUT_EXAMPLES) {
      group += "  ... and " + Thousands(count - CUT_EXAMPLES) + " more (" + whereTheRest + ")\n";
    }
    if (!group.empty()) text += Format("\nWarning - %s (%s):\n", code.words, code.name) + group;
  }
  if (!report.replaced.empty()) {
    text += "\nReplaced - files already in the target that the run writes over:\n";
    for (const std::string& path : report.replaced) text += "  " + path + "\n";
  }
  if (!report.stale.empty()) {
    text += "\nStale - numbered song files past the run's last number (the player still finds them):\n";
    for (const std::string& path : report.stale) text += "  " + path + "\n";
  }
  if (!report.runFails && !report.takesNothing && !report.HasFindings()) text += "\nNothing to report.\n";
  return text;
}

}  // namespace valmero
