#include "sources/download_scan.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/file_reading.h"
#include "platform/folder_listing.h"
#include "platform/path_separator.h"
#include "sources/id3v1_reader.h"
#include "sources/read_cancel.h"

namespace valmero {

namespace {

constexpr std::size_t SUFFIX_LENGTH = 4;

// The kind the first MP3 file of a scan fixes for all the others.
class CRunKind {
 public:
  // True when a file of this kind belongs to the run; the first call fixes it.
  bool Admits(int kind) {
    if (!m_bFixed) {
      m_bFixed = true;
      m_nKind = kind;
    }
    return kind == m_nKind;
  }

 private:
  bool m_bFixed = false;
  int m_nKind = 0;
};

// A song file: its full path, and its name in the open folder.
struct CSongFile {
  const char* path;
  int folderFd;
  const char* name;
};

// The song information of a file: its tag, else the catalogue's entry for its
// number. False when there is neither; the scratch then stays empty.
bool FindSongInformation(const CSongFile& file, int32_t number, const CSongCatalogue& catalogue,
                         TagScratch& scratch) {
  if (ReadId3v1TagAt(file.folderFd, file.name, file.path, scratch) == 0) return true;
  return catalogue.LookupCatalogue(number, scratch) == 0;
}

// Builds the record of one song file, or nothing when it is to be passed
// over for want of song information.
std::unique_ptr<SongRecord> MakeDownloadedSong(const CSongFile& file, int kind, bool jukeList,
                                               const CSongCatalogue& catalogue, TagScratch& scratch,
                                               IRunHost& host) {
  const char* path = file.path;
  auto record = MakeSongRecord();
  ClearTagFields(scratch);
  CopyText(record->path, sizeof record->path, path);

  int number = SongNumberFromFileName(path, kind);
  if (number > 0) record->songNumber = number;
  else LogMessage("can not read song number");

  if (!FindSongInformation(file, record->songNumber, catalogue, scratch)) {
    if (jukeList) {
      LogMessage("cannot find song information. \"%s\" file is passed", path);
      return nullptr;
    }
    host.Note({RunNoteCode::SongNoInformation, path, 0, ""});
  }
  record->newNumber = record->songNumber;
  CopyTagBlock(scratch, *record);
  record->kind = kind;
  return record;
}

}  // namespace

bool IsMp3FileName(const char* upperName) {
  const char* dot = std::strrchr(upperName, '.');
  return dot != nullptr && std::strncmp(dot + 1, "MP3", 3) == 0;
}

int SongKindOfFileName(const char* upperName) {
  const char* dash = std::strrchr(upperName, '-');
  if (dash == nullptr) return KIND_PAIR;
  if (std::strncmp(dash, "-IPS", SUFFIX_LENGTH) == 0) return KIND_IPS;
  if (std::strncmp(dash, "-MCG", SUFFIX_LENGTH) == 0) return KIND_MCG;
  return KIND_PAIR;
}

int SongNumberFromFileName(const char* path, int kind) {
  const char* slash = std::strrchr(path, PATH_SEPARATOR);
  const char* dot = std::strrchr(path, '.');
  std::string base;
  if (slash != nullptr && dot != nullptr && dot > slash) base.assign(slash + 1, dot);
  if (kind == KIND_IPS || kind == KIND_MCG) {
    base.resize(base.size() < SUFFIX_LENGTH ? 0 : base.size() - SUFFIX_LENGTH);
  }
  int number = ParseLeadingInt(base.c_str());
  return number > 0 ? number : -1;
}

int ScanDownloadFolder(const char* folder, bool jukeList, const CSongCatalogue& catalogue,
                       TagScratch& scratch, SongList& songs, IRunHost& host) {
  ClearSongList(songs);
  std::unique_ptr<IProgressPopup> popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, 1, 1);
  popup->SetText(SCANNING_TEXT);
  LogMessage("%s", SCANNING_TEXT);

  // A folder that cannot be listed is no empty collection: a run that went on
  // would replace good outputs with empty ones.
  // An empty path names no folder (Windows would list the root of the drive).
  std::vector<FolderEntry> entries;
  if (folder[0] == '\0' || !ListFolder(folder, entries)) {
    LogMessage(UNREADABLE_FOLDER_FORMAT, folder);
    return -1;
  }
  // Songs are opened by name in the folder, not by walking its path again;
  // where the folder cannot be held open, by their full paths.
  CHeldFolder held(folder);

  CRunKind runKind;
  // The songs' lines (tag, number, addition) go to the log a batch at a
  // time; whatever is held is written before a cancel is logged.
  CLogLinesTogether together;
  for (const FolderEntry& entry : entries) {
    if (entry.isDirectory) continue;
    std::string upperName = entry.name;
    UpperCaseAscii(upperName.data());
    if (!IsMp3FileName(upperName.c_str())) continue;
    int kind = SongKindOfFileName(upperName.c_str());
    if (!runKind.Admits(kind)) {
      host.Note({RunNoteCode::SongOfOtherKind, entry.name.c_str(), 0, ""});
      continue;
    }

    char path[PATH_SIZE];
    if (!FormatPath(path, sizeof path, "%s" VALMERO_SEP "%s", folder, entry.name.c_str())) {
      // A cut path would name another file, or none.
      LogMessage("\"%s" VALMERO_SEP "%s\" does not exist", folder, entry.name.c_str());
      host.Note({RunNoteCode::SongPathTooLong, entry.name.c_str(), 0, ""});
      continue;
    }
    const CSongFile file{path, held.Fd(), held.Fd() == CURRENT_FOLDER ? path : entry.name.c_str()};
    std::unique_ptr<SongRecord> song = MakeDownloadedSong(file, kind, jukeList, catalogue, scratch, host);
    if (song == nullptr) continue;
    songs.push_back(std::move(song));
    LogMessage("add data : %s", path);
    if (UserCancelsRead(*popup, host, together)) return -1;
  }
  popup->StepIt();
  return 0;
}

}  // namespace valmero
