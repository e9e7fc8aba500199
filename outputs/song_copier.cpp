#include "outputs/song_copier.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/file_copy.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "platform/temporary_file.h"

namespace valmero {

namespace {

constexpr const char* COPY_TEXT_FORMAT = "copying file : from '%s' \n\tto '%s' \n\n\tnow transferring %d/%d";

bool IsSingleFileKind(int32_t kind) { return kind == KIND_IPS || kind == KIND_MCG; }

}  // namespace

std::vector<std::string> CopyNamesOf(const SongRecord& song) {
  char name[32];
  if (IsSingleFileKind(song.kind)) {
    std::snprintf(name, sizeof name, song.kind == KIND_IPS ? "%05d-IPS.MP3" : "%05d-MCG.MP3", song.newNumber);
    return {name};
  }
  std::snprintf(name, sizeof name, "%05d.MP3", song.newNumber);
  std::vector<std::string> names{name};
  std::snprintf(name, sizeof name, "%05d.MCG", song.newNumber);
  names.push_back(name);
  return names;
}

std::string CompanionPath(const char* songPath) {
  const char* slash = std::strrchr(songPath, PATH_SEPARATOR);
  const char* name = slash == nullptr ? songPath : slash + 1;
  const char* dot = std::strrchr(name, '.');
  const char* end = dot == nullptr ? name + std::strlen(name) : dot;
  return std::string(songPath, static_cast<std::size_t>(end - songPath)) + ".MCG";
}

namespace {

// A failed copy costs the user one song, not the whole collection: it is
// logged and the run goes on.
void LogCopyFailure(const std::string& source, const std::string& destination) {
  TraceLastError("copy");
  LogMessage("can not copy \"%s\" to \"%s\"", source.c_str(), destination.c_str());
}

// The copies of one stage, each complete under a temporary name beside its
// destination before it replaces anything. The target folder may be the
// songs' own folder, where a song's new name can be the file of a song not
// read yet: then the copies are held until every song has been read, and the
// stage puts them all in place. Elsewhere each goes in place as it is made, so
// a cancel is answered at once and the list of copies does not grow.
class CPendingCopies {
 public:
  CPendingCopies(IRunHost& host, bool holdUntilAllRead) : m_host(host), m_hold(holdUntilAllRead) {}
  CPendingCopies(const CPendingCopies&) = delete;
  CPendingCopies& operator=(const CPendingCopies&) = delete;
  ~CPendingCopies() { Discard(); }

  // Copies source aside of destination; a failure is logged.
  void Copy(const std::string& source, const std::string& destination) {
    std::string temporary;
    bool copied = source.size() < PATH_SIZE && destination.size() < PATH_SIZE &&
                  CopyFileAside(source.c_str(), destination.c_str(), temporary);
    if (!copied) {
      LogCopyFailure(source, destination);
      m_host.Note({RunNoteCode::CopyFailed, source.c_str(), 0, destination.c_str()});
      return;
    }
    Pending copy{std::move(temporary), source};
    if (m_hold) m_copies.push_back(std::move(copy));
    else PutOneInPlace(copy);
  }

  // Renames every held copy over its destination, in the order they were made.
  void PutInPlace() {
    for (const Pending& copy : m_copies) PutOneInPlace(copy);
    m_copies.clear();
  }

  void Discard() {
    for (const Pending& copy : m_copies) RemoveFile(copy.temporary.c_str());
    m_copies.clear();
  }

 private:
  struct Pending {
    std::string temporary;
    std::string source;
  };

  void PutOneInPlace(const Pending& copy) {
    std::string destination = DestinationOf(copy.temporary);
    if (!RenameReplacing(copy.temporary.c_str(), destination.c_str())) {
      LogCopyFailure(copy.source, destination);
      RemoveFile(copy.temporary.c_str());
      m_host.Note({RunNoteCode::CopyFailed, copy.source.c_str(), 0, destination.c_str()});
    } else {
      m_host.Note({RunNoteCode::FileCopied, copy.source.c_str(), 0, destination.c_str()});
    }
  }

  // The temporary name is the destination followed by ".vtmp" and six characters.
  static std::string DestinationOf(const std::string& temporary) {
    return temporary.substr(0, temporary.size() - TEMPORARY_SUFFIX_LENGTH);
  }

  IRunHost& m_host;
  bool m_hold;
  std::vector<Pending> m_copies;
};

// True when a song of the list lies in the target folder itself.
bool TargetHoldsSongs(const SongList& songs, const char* target) {
  std::unordered_map<std::string, bool> sameByFolder;
  for (const auto& song : songs) {
    std::string folder = FolderOf(song->path);
    auto known = sameByFolder.find(folder);
    if (known == sameByFolder.end()) {
      known = sameByFolder.emplace(folder, IsSameFolder(folder.empty() ? "." : folder.c_str(), target)).first;
    }
    if (known->second) return true;
  }
  return false;
}

// The companion's name is formed in capitals; on a file system that tells
// case apart, 00042.mcg beside 00042.mp3 is the same companion.
std::string ExistingCompanion(const std::string& formed, CFileFinder& finder) {
  std::string found = formed.size() < PATH_SIZE ? finder.Find(formed.c_str()) : std::string();
  return found.empty() ? formed : found;
}

// Steps the bar and gives the user the chance to cancel; true to go on.
bool StepAndPump(IProgressPopup& popup) {
  popup.StepIt();
  popup.PumpMessages(true);
  return !popup.IsCancelled();
}

}  // namespace

void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host) {
  // Nothing to copy and no first song to size the bar by: no popup at all.
  if (songs.empty()) return;

  const int count = static_cast<int>(songs.size());
  const int files = IsSingleFileKind(songs.front()->kind) ? count : 2 * count;
  std::unique_ptr<IProgressPopup> popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, files, 1);

  const bool targetHoldsSongs = TargetHoldsSongs(songs, target);
  CFileFinder finder;
  CPendingCopies copies(host, targetHoldsSongs);
  bool cancelled = false;
  for (int i = 0; i < count && !cancelled; ++i) {
    const SongRecord& song = *songs[static_cast<std::size_t>(i)];
    const std::vector<std::string> names = CopyNamesOf(song);
    const std::string songDestination = std::string(target) + VALMERO_SEP + names.front();
    if (IsSingleFileKind(song.kind)) {
      SetProgressText(*popup, COPY_TEXT_FORMAT, song.path, songDestination.c_str(), i + 1, count);
      copies.Copy(song.path, songDestination);
    } else {
      std::string companion = CompanionPath(song.path);
      std::string companionDestination = std::string(target) + VALMERO_SEP + names.back();
      SetProgressText(*popup, COPY_TEXT_FORMAT, song.path, songDestination.c_str(), 2 * i + 1, 2 * count);
      copies.Copy(song.path, songDestination);
      if (!StepAndPump(*popup)) {
        cancelled = true;
        break;
      }
      SetProgressText(*popup, COPY_TEXT_FORMAT, companion.c_str(), companionDestination.c_str(), 2 * i + 2,
                      2 * count);
      copies.Copy(ExistingCompanion(companion, finder), companionDestination);
    }
    cancelled = !StepAndPump(*popup);
  }

  // What was copied before a cancel stays, as long as that replaces no song
  // of the list: with the songs' own folder as the target, a cancel leaves
  // the folder as it was.
  if (cancelled && targetHoldsSongs) copies.Discard();
  else copies.PutInPlace();
  if (cancelled) host.ShowCancelled(CANCELLED_TEXT);
}

}  // namespace valmero
