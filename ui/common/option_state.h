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
#include "ui/common/control_ids.h"

namespace valmero {

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
  // path fields, Exit, the check and the book are locked; the rest of the
  // state is untouched.
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
