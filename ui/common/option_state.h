// The state of the main dialog's controls and the rules that keep the check
// boxes and the two path fields consistent. No windows here: the controller
// forwards each click and the view copies the state back onto its controls,
// so the rules run the same with or without a display. The marks are the
// run's options: Plan() is what MAKE, the check and the book take.
#pragma once

#include <map>
#include <set>
#include <string>

#include "run/run_plan.h"
#include "ui/common/control_ids.h"

namespace valmero {

// Every check box of the dialog, hidden ones included.
bool IsCheckBox(int id);

class COptionState {
 public:
  COptionState();

  // After start-up: the marks of the default plan (the download source, the
  // index with new numbers).
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

  // The plan of the boxes as they are now.
  RunPlan Plan() const;

 private:
  void SetMark(int id, bool mark) { m_marks[id] = mark; }
  void SetEnabled(int id, bool enabled);
  void OnSourceKind(int id, bool mark);
  void OnExclusive(int id, bool mark, int otherId);
  void OnTargetSubfolder(bool mark);
  void ApplySubfolderRule();
  static bool IsLockedDuringRun(int id);

  std::map<int, bool> m_marks;
  std::set<int> m_disabled;
  std::string m_sourceText;
  std::string m_targetText;
  bool m_bRunning = false;
};

}  // namespace valmero
