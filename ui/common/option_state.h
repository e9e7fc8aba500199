// The state of the main dialog's controls and the rules that keep the check
// boxes, the option flags and the two path fields consistent. No windows
// here: the dialog forwards each click and copies the state back onto its
// controls, so the rules run the same with or without a display.
#pragma once

#include <map>
#include <set>
#include <string>

#include "run/converter.h"
#include "run/run_options.h"

namespace valmero {

// Control ids of the main dialog.
enum ControlId : int {
  ID_VISIT_SITE = 1000,
  ID_HELP_BUTTON = 1001,
  ID_JUKE_LIST = 1002,
  ID_INDEX_FILE = 1003,
  ID_COPY_MP3 = 1004,
  ID_MOVE_MP3 = 1005,
  ID_SELECT_SOURCE = 1006,
  ID_SOURCE_EDIT = 1007,
  ID_SELECT_TARGET = 1008,
  ID_TARGET_EDIT = 1009,
  ID_TARGET_SUBFOLDER = 1010,
  ID_MAKE = 1011,
  ID_VIEW_LOG = 1012,
  ID_EXIT = 1013,
  ID_SOURCE_DOWNLOAD = 1014,
  ID_SOURCE_DISC = 1015,
  ID_INDEX_RENUMBER = 1020,
  ID_INDEX_KEEP = 1021,
  ID_LIST_FILE = 1022,
  ID_COPY_ALL = 1023,
  ID_CONFIG_RENUMBER = 1024,
  ID_CONFIG_KEEP = 1025,
};

// Every check box of the dialog, hidden ones included.
bool IsCheckBox(int id);

class COptionState {
 public:
  // The flags live in the session (options); the state keeps them in step
  // with the marks.
  explicit COptionState(RunOptions& options);

  // After start-up: the marks that follow the default flags are set from them
  // (the download source box is always checked).
  void ApplyDefaultMarks();

  // A check box was clicked and now shows `mark`; applies its rule.
  void OnClick(int id, bool mark);

  // The text of a path field changed by typing.
  void SetSourceText(const std::string& text) { m_sourceText = text; }
  void SetTargetText(const std::string& text) { m_targetText = text; }

  // A chooser picked a path.
  void ChooseSource(const std::string& path);
  void ChooseTarget(const std::string& path);

  // While a run pumps messages, MAKE, the choosers, the option boxes, the
  // path fields and Exit are locked; the rest of the state is untouched.
  void BeginRun() { m_bRunning = true; }
  void EndRun() { m_bRunning = false; }
  bool IsRunning() const { return m_bRunning; }

  bool IsChecked(int id) const;
  bool IsEnabled(int id) const;
  const std::string& SourceText() const { return m_sourceText; }
  const std::string& TargetText() const { return m_targetText; }

  // The marks a run re-reads at MAKE.
  MakeMarks Marks() const;

 private:
  void SetMark(int id, bool mark) { m_marks[id] = mark; }
  void SetEnabled(int id, bool enabled);
  void OnSourceKind(int id, bool mark);
  void OnExclusive(int id, bool mark, int32_t& flag, int otherId, int32_t& otherFlag);
  void OnTargetSubfolder(bool mark);
  void ApplySubfolderRule();
  static bool IsLockedDuringRun(int id);

  RunOptions& m_options;
  std::map<int, bool> m_marks;
  std::set<int> m_disabled;
  std::string m_sourceText;
  std::string m_targetText;
  bool m_bRunning = false;
};

}  // namespace valmero
