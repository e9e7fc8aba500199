// run/: one run and its choices: the session below, the plan it follows
// (run_plan.h), and what asks the same plan without writing: the check
// (source_check.h) and the preview (song_preview.h).
//
// One conversion session: the paths, the plan of the last run, the
// catalogue, the song list and the index tables, with the stages of a run
// under their own names. A front end owns one and forwards MAKE to OnMake
// with the text of its path fields and the plan of its boxes.
#pragma once

#include <cstdint>

#include "core/run_host.h"
#include "run/run_plan.h"
#include "core/song_list.h"
#include "outputs/copy_plan.h"
#include "outputs/singer_index.h"
#include "sources/catalogue.h"

namespace valmero {

class CFolderLock;

enum class RunOutcome { Finished, Failed, Refused };

constexpr const char* FINISHED_TEXT = "Finished Converting";
constexpr const char* ERROR_CAPTION = "ERROR";
constexpr const char* OUT_OF_MEMORY_TEXT = "not enough memory for the run";
constexpr const char* ERROR_TEXT =
    "ERROR: File names are not as required for ENGLISH.kvx.\nPlease view the logfile.";

class CConverter {
 public:
  explicit CConverter(IRunHost& host);
  virtual ~CConverter() = default;
  CConverter(const CConverter&) = delete;
  CConverter& operator=(const CConverter&) = delete;

  // Start-up: empties the log in the current directory, clears the tag
  // scratch, loads the catalogue and takes the default plan.
  int InitializeState();
  void SetOptionDefaults();
  // The last line of start-up.
  void LogWelcome();

  // MAKE: one whole run. Refused (nothing done) while a run is in progress.
  RunOutcome OnMake(const char* sourceText, const char* targetText, const RunPlan& plan);
  bool IsRunning() const { return m_bRunning; }

  // Asks the host to open the activity log.
  void OnViewLog();

  // Shutdown: "terminate VALMERO", then everything released and the end line.
  void Terminate();
  void ReleaseAll();

  // The stages, in the order a run calls them. Virtual so that tests can
  // watch the order and script failures.
  virtual int ScanDownloadFolder();
  virtual int ReadSonglistFile();
  virtual void SortByNumber();
  virtual void RenumberSongs();
  virtual int BuildIndex();
  virtual int WriteListFile();
  virtual int WriteConfigFile();
  virtual void CopySongsToTarget();

  char m_szStartDir[PATH_SIZE] = {};
  char m_szSource[PATH_SIZE] = {};
  char m_szTarget[PATH_SIZE] = {};
  // The plan of the run in progress or the last one.
  RunPlan m_plan;
  CSongCatalogue m_catalogue;
  SongList m_songs;
  SingerIndex m_index;
  TagScratch m_scratch = {};
  // How copies already in the target are recognised (the command line's --verify).
  CopyCheck m_copyCheck = CopyCheck::Quick;
  // Set by a run whose SCDG.CFG could not be written (the run still finishes).
  bool m_bConfigNotWritten = false;

 protected:
  IRunHost& m_host;

 private:
  bool CanStartRun(const char* sourceText, bool sourceFits, const char* targetText, bool targetFits);
  bool ClaimTargetFolder(CFolderLock& lock);
  int ReadSource();
  int RunStagesWithinMemory();
  int RunStages();
  bool WouldReplaceSonglist() const;
  bool m_bRunning = false;
};

}  // namespace valmero
