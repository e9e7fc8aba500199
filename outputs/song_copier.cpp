#include "outputs/song_copier.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/target_moves.h"
#include "platform/file_copy.h"
#include "platform/file_facts.h"
#include "platform/file_stamp.h"
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

// BASE.mcg beside BASE.mp3: the companion named in the letter case of its
// song's extension, which on a file system that tells case apart is the
// song's own even where BASE.MCG, another song's, lies beside it too.
std::string CompanionInOwnCase(const char* songPath) {
  std::string companion = CompanionPath(songPath);
  const char* slash = std::strrchr(songPath, PATH_SEPARATOR);
  const char* dot = std::strrchr(slash == nullptr ? songPath : slash + 1, '.');
  if (dot == nullptr || dot[1] == '\0') return companion;
  for (const char* c = dot + 1; *c != '\0'; ++c) {
    if (*c >= 'A' && *c <= 'Z') return companion;
  }
  companion.replace(companion.size() - 3, 3, "mcg");
  return companion;
}

// A failed copy costs the user one song, not the whole collection: it is
// logged and the run goes on.
void LogCopyFailure(const std::string& source, const std::string& destination) {
  TraceLastError("copy the song");
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
  CPendingCopies(IRunHost& host, CTargetDates& dates, bool holdUntilAllRead)
      : m_host(host), m_dates(dates), m_hold(holdUntilAllRead) {}
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
    // The copy's date, to give back where the rename may change it.
    FileStamp written;
    const bool watched = m_dates.MayLoseDates() && ReadFileStamp(copy.temporary.c_str(), written);
    if (!RenameReplacing(copy.temporary.c_str(), destination.c_str())) {
      LogCopyFailure(copy.source, destination);
      RemoveFile(copy.temporary.c_str());
      m_host.Note({RunNoteCode::CopyFailed, copy.source.c_str(), 0, destination.c_str()});
    } else {
      if (watched) m_dates.AfterRename(destination, written.modified);
      m_host.Note({RunNoteCode::FileCopied, copy.source.c_str(), 0, destination.c_str()});
    }
  }

  // The temporary name is the destination followed by ".vtmp" and six characters.
  static std::string DestinationOf(const std::string& temporary) {
    return temporary.substr(0, temporary.size() - TEMPORARY_SUFFIX_LENGTH);
  }

  IRunHost& m_host;
  CTargetDates& m_dates;
  bool m_hold;
  std::vector<Pending> m_copies;
};

// A file a run reads that lies in the target folder itself, or is a link to
// a file there, could be replaced by a copy before it is read.
bool TargetHoldsSongs(const std::vector<CopyJob>& jobs, const char* target) {
  std::unordered_map<std::string, bool> sameByFolder;
  auto isTarget = [&](const std::string& folder) {
    auto known = sameByFolder.find(folder);
    if (known == sameByFolder.end()) {
      known = sameByFolder.emplace(folder, IsSameFolder(folder.empty() ? "." : folder.c_str(), target)).first;
    }
    return known->second;
  };
  for (const CopyJob& job : jobs) {
    if (isTarget(FolderOf(job.source.c_str()))) return true;
    const std::string linkedFolder = FolderOfLinkedFile(job.source);
    if (!linkedFolder.empty() && isTarget(linkedFolder)) return true;
  }
  return false;
}

// The files of every song in list order: what the popup shows as its source
// and what is copied where.
struct SongFiles {
  std::vector<std::string> shown;
  std::vector<CopyJob> jobs;
};

SongFiles FilesOfSongs(const SongList& songs, CFileFinder& finder) {
  SongFiles files;
  for (const auto& song : songs) {
    const std::vector<std::string> names = CopyNamesOf(*song);
    files.shown.push_back(song->path);
    files.jobs.push_back(CopyJob{song->path, names.front()});
    if (names.size() == 1) continue;
    files.shown.push_back(CompanionPath(song->path));
    files.jobs.push_back(CopyJob{FindCompanion(song->path, finder), names.back()});
  }
  return files;
}

// Steps the bar and gives the user the chance to cancel; true to go on.
bool StepAndPump(IProgressPopup& popup) {
  popup.StepIt();
  popup.PumpMessages(true);
  return !popup.IsCancelled();
}

// Puts every file the plan found elsewhere in the target under its new
// name, before anything is copied: a copy may go to a name whose file is
// still to move. A move that fails turns into a copy. False when the user
// cancelled meanwhile.
bool MovePlannedFiles(const char* target, const std::vector<CopyJob>& jobs, std::vector<JobPlan>& plans,
                      IProgressPopup& popup, CTargetDates& dates) {
  std::vector<FolderMove> moves;
  std::vector<std::size_t> jobOfMove;
  for (std::size_t j = 0; j < plans.size(); ++j) {
    if (plans[j].way != JobWay::Move) continue;
    moves.push_back(FolderMove{plans[j].from, jobs[j].name});
    jobOfMove.push_back(j);
  }
  if (moves.empty()) return true;
  const std::vector<MoveOutcome> outcomes = MoveWithinFolder(target, moves, [&popup] {
    popup.PumpMessages(true);
    return !popup.IsCancelled();
  });
  for (std::size_t m = 0; m < moves.size(); ++m) {
    JobPlan& plan = plans[jobOfMove[m]];
    if (outcomes[m] != MoveOutcome::Done) plan.way = JobWay::Copy;
    else dates.AfterRename(std::string(target) + VALMERO_SEP + moves[m].to, plan.heldDate);
  }
  return !popup.IsCancelled();
}

// Each file of the stage as its plan says: copied, or kept where it is (or
// was moved to) with its date and permission bits made those of a new copy.
class CFilePlacer {
 public:
  CFilePlacer(IRunHost& host, CTargetDates& dates, bool holdUntilAllRead)
      : m_host(host), m_copies(host, dates, holdUntilAllRead) {}

  void Place(const CopyJob& job, const JobPlan& plan, const std::string& destination) {
    if (plan.way == JobWay::Copy || !MatchStamp(plan, destination)) {
      m_copies.Copy(job.source, destination);
      return;
    }
    RunNoteCode code = plan.way == JobWay::Move ? RunNoteCode::FileMoved : RunNoteCode::FileInPlace;
    m_host.Note({code, job.source.c_str(), 0, destination.c_str()});
  }

  void PutInPlace() { m_copies.PutInPlace(); }
  void Discard() { m_copies.Discard(); }

 private:
  bool MatchStamp(const JobPlan& plan, const std::string& destination) {
    if (plan.dateToSet && !SetFileDate(destination.c_str(), plan.source.modified)) return false;
    // A file system without permission bits (FAT) refuses every file alike:
    // asked once.
    if (plan.modeToSet && m_modesKept && !SetFileMode(destination.c_str(), ModeOfNewCopy(plan.source.mode))) {
      m_modesKept = false;
    }
    return true;
  }

  IRunHost& m_host;
  CPendingCopies m_copies;
  bool m_modesKept = true;
};

}  // namespace

std::string FindCompanion(const char* songPath, CFileFinder& finder) {
  std::string formed = CompanionPath(songPath);
  std::string ownCase = CompanionInOwnCase(songPath);
  if (ownCase != formed && ownCase.size() < PATH_SIZE && CanOpenForReading(ownCase.c_str())) return ownCase;
  std::string found = formed.size() < PATH_SIZE ? finder.Find(formed.c_str()) : std::string();
  return found.empty() ? formed : found;
}

void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host, CopyCheck check) {
  // Nothing to copy and no first song to size the bar by: no popup at all.
  if (songs.empty()) return;

  const int count = static_cast<int>(songs.size());
  const int files = IsSingleFileKind(songs.front()->kind) ? count : 2 * count;
  std::unique_ptr<IProgressPopup> popup = host.CreateProgressPopup(PROGRESS_TITLE, false);
  popup->SetRange(0, files, 1);

  CFileFinder finder;
  const SongFiles songFiles = FilesOfSongs(songs, finder);
  const bool targetHoldsSongs = TargetHoldsSongs(songFiles.jobs, target);
  CTargetDates dates(target);
  std::vector<JobPlan> plans = PlanCopies(songFiles.jobs, target, check, targetHoldsSongs, dates);
  CFilePlacer placer(host, dates, targetHoldsSongs);
  bool cancelled = !MovePlannedFiles(target, songFiles.jobs, plans, *popup, dates);

  std::size_t job = 0;
  auto placeNext = [&](int done, int total) {
    const std::string destination = std::string(target) + VALMERO_SEP + songFiles.jobs[job].name;
    SetProgressText(*popup, COPY_TEXT_FORMAT, songFiles.shown[job].c_str(), destination.c_str(), done, total);
    placer.Place(songFiles.jobs[job], plans[job], destination);
    ++job;
  };
  for (int i = 0; i < count && !cancelled; ++i) {
    if (IsSingleFileKind(songs[static_cast<std::size_t>(i)]->kind)) {
      placeNext(i + 1, count);
    } else {
      placeNext(2 * i + 1, 2 * count);
      if (!StepAndPump(*popup)) {
        cancelled = true;
        break;
      }
      placeNext(2 * i + 2, 2 * count);
    }
    cancelled = !StepAndPump(*popup);
  }

  // What was copied before a cancel stays, as long as that replaces no song
  // of the list: with the songs' own folder as the target, a cancel leaves
  // the folder as it was.
  if (cancelled && targetHoldsSongs) placer.Discard();
  else placer.PutInPlace();
  if (cancelled) host.ShowCancelled(CANCELLED_TEXT);
}

}  // namespace valmero
