#include "run/converter.h"

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/ordering.h"
#include "outputs/song_copier.h"
#include "outputs/text_lists.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/path_separator.h"
#include "run/output_names.h"
#include "run/target_state.h"
#include "sources/download_scan.h"
#include "sources/songlist_reader.h"

#include <cstring>
#include <new>
#include <string>

namespace valmero {

CConverter::CConverter(IRunHost& host) : m_host(host) {}

int CConverter::InitializeState() {
  StartActivityLog(m_szStartDir);
  ClearTagFields(m_scratch);
  if (m_catalogue.ReadCatalogue(m_szStartDir) == 0) LogMessage("opening products file success");
  SetOptionDefaults();
  return 0;
}

void CConverter::SetOptionDefaults() {
  m_plan = RunPlan();
  LogMessage("initialize all variables");
}

void CConverter::LogWelcome() { LogMessage("=== THIS IS \"VALMERO\" ==="); }

RunOutcome CConverter::OnMake(const char* sourceText, const char* targetText, const RunPlan& plan) {
  // The front end's message pump can deliver MAKE again while a stage
  // works; a nested run would empty the list the outer run is working on.
  if (m_bRunning) return RunOutcome::Refused;
  m_bRunning = true;

  std::memset(m_szSource, 0, sizeof m_szSource);
  std::memset(m_szTarget, 0, sizeof m_szTarget);
  const bool sourceFits = CopyText(m_szSource, sizeof m_szSource, sourceText);
  const bool targetFits = CopyText(m_szTarget, sizeof m_szTarget, targetText);
  m_plan = plan;
  m_bConfigNotWritten = false;

  LogMessage("now status : mode1=%d, mode2=%d, mode3=%d, mode4=%d", m_plan.Renumbers() ? 1 : 0,
             m_plan.KeepsNumbers() ? 1 : 0, m_plan.WritesList() ? 1 : 0, m_plan.copyAll ? 1 : 0);
  // Held until the run ends, so that a second run cannot write into this
  // target folder at the same time.
  CFolderLock targetLock;
  RunOutcome outcome = RunOutcome::Failed;
  if (CanStartRun(sourceText, sourceFits, targetText, targetFits)) {
    if (MakeDirectory(m_szTarget)) LogMessage("Create target folder : %s", m_szTarget);
    if (ClaimTargetFolder(targetLock) && RunStagesWithinMemory() >= 0) outcome = RunOutcome::Finished;
  }
  if (outcome == RunOutcome::Finished) {
    LogMessage("%s", FINISHED_TEXT);
    m_host.ShowFinished(FINISHED_TEXT);
  } else if (m_host.AskError(ERROR_TEXT, ERROR_CAPTION)) {
    OnViewLog();
  }
  m_bRunning = false;
  return outcome;
}

bool CConverter::CanStartRun(const char* sourceText, bool sourceFits, const char* targetText, bool targetFits) {
  // A second program in the same start folder: its runs write nothing at all.
  if (ActivityLogInUse()) return false;
  // A cut path would name another folder: nothing may be created there. Nor
  // is a folder made whose path leaves no room for the files of the run.
  if (!targetFits || !OutputPathFits(m_szTarget, LongestSureName(m_plan))) {
    LogMessage("target folder path is too long : %s", targetText);
    return false;
  }
  // Checked before the target folder is made: a source that cannot be read
  // must leave no trace, and an unlistable folder is no empty collection.
  if (m_plan.ScansDownloadFolder() && !(sourceFits && CanListFolder(m_szSource))) {
    LogMessage(UNREADABLE_FOLDER_FORMAT, sourceText);
    return false;
  }
  if (m_plan.ReadsSonglist() && !sourceFits) {
    LogMessage(UNREADABLE_SONGLIST_FORMAT, sourceText);
    return false;
  }
  return true;
}

bool CConverter::ClaimTargetFolder(CFolderLock& lock) {
  switch (lock.Take(m_szTarget)) {
    case FolderLockResult::InUse:
      LogMessage("target folder is in use : %s", m_szTarget);
      return false;
    case FolderLockResult::Held:
      lock.RemoveLeftTemporaries();
      return true;
    case FolderLockResult::Unavailable:
      // No folder to hold (the stages that need it fail and say so), or a
      // file system without locks: the run goes on as it always did.
      return true;
  }
  return true;
}

int CConverter::ReadSource() {
  return m_plan.ScansDownloadFolder() ? ScanDownloadFolder() : ReadSonglistFile();
}

// Memory that runs out (a collection bigger than the machine, or a limit
// set on the program) fails the run as a stage would: said in the log, the
// error box, and every file being written aside removed on the way out.
int CConverter::RunStagesWithinMemory() {
  try {
    return RunStages();
  } catch (const std::bad_alloc&) {
    ClearSongList(m_songs);
    m_index.ClearIndexArrays();
    LogMessage("%s", OUT_OF_MEMORY_TEXT);
    return -1;
  }
}

int CConverter::RunStages() {
  if (!m_plan.ReadsSource()) return 0;
  if (ReadSource() < 0) return -1;
  SortByNumber();
  if (m_plan.Renumbers()) RenumberSongs();
  if (WouldReplaceSonglist()) return -1;
  if (m_plan.WritesIndex() && BuildIndex() < 0) return -1;
  if (m_plan.WritesList() && WriteListFile() < 0) return -1;
  if (m_plan.WritesConfig()) m_bConfigNotWritten = WriteConfigFile() < 0;
  if (m_plan.Copies()) CopySongsToTarget();
  return 0;
}

// A songlist kept in the target folder under an output's name (list.txt,
// where names ignore case, is LIST.TXT) would be lost to the run's own
// output: the run stops before it writes anything.
bool CConverter::WouldReplaceSonglist() const {
  if (!m_plan.ReadsSonglist()) return false;
  std::string replaced = OutputReplacing(m_szTarget, m_plan, m_songs, m_szSource);
  if (replaced.empty()) return false;
  LogMessage(REPLACED_SONGLIST_FORMAT, m_szSource);
  return true;
}

void CConverter::OnViewLog() {
  // Nothing to show, and no old log of another day to show in its place.
  if (!ActivityLogWritten()) return;
  char path[PATH_SIZE];
  if (m_szStartDir[0] != '\0' && FormatPath(path, sizeof path, "%s" VALMERO_SEP "mirqlog.txt", m_szStartDir)) m_host.OpenDocument(path);
}

void CConverter::Terminate() {
  LogMessage("terminate VALMERO");
  ReleaseAll();
}

void CConverter::ReleaseAll() {
  m_catalogue.Clear();
  ClearSongList(m_songs);
  m_index.ClearIndexArrays();
  LogMessage("%s", LOG_END_LINE);
}

int CConverter::ScanDownloadFolder() {
  return valmero::ScanDownloadFolder(m_szSource, m_plan.jukeList, m_catalogue, m_scratch, m_songs,
                                     m_host);
}

int CConverter::ReadSonglistFile() { return valmero::ReadSonglistFile(m_szSource, m_songs, m_host); }

void CConverter::SortByNumber() { valmero::SortByNumber(m_songs); }

void CConverter::RenumberSongs() { valmero::RenumberSongs(m_songs); }

int CConverter::BuildIndex() {
  return valmero::BuildIndex(m_songs, m_plan.Renumbers(), m_szTarget, m_index);
}

int CConverter::WriteListFile() {
  return valmero::WriteListFile(m_szTarget, m_songs, m_plan.Renumbers());
}

int CConverter::WriteConfigFile() {
  return valmero::WriteConfigFile(m_szTarget, m_songs, m_plan.configRenumber, m_plan.configKeep);
}

void CConverter::CopySongsToTarget() { valmero::CopySongsToTarget(m_songs, m_szTarget, m_host, m_copyCheck); }

}  // namespace valmero
