// ui/common/: what both desktop programs share without a toolkit: this
// controller, the view it drives (dialog_view.h), the option rules
// (option_state.h), the control and menu ids (control_ids.h), the popup
// text, the help lookup and the site address.
//
// The main dialog of both desktop programs without its windows. It owns the
// session (CConverter) and the state of the controls (COptionState), and runs
// every flow of the dialog: choosing the source and the target, MAKE, the
// check, the song book, help, the web site, ESC, Exit and closing during a
// run. The wxWidgets program (ui/wx/) and the Windows program (ui/win32/)
// turn their events into the calls below and the view's requests into
// toolkit calls, nothing more.
#pragma once

#include <functional>
#include <string>

#include "run/converter.h"
#include "ui/common/dialog_view.h"
#include "ui/common/option_state.h"

namespace valmero {

class CDialogController {
 public:
  // The view and the host outlive the controller.
  CDialogController(IDialogView& view, IDesktopRunHost& host);
  ~CDialogController();
  CDialogController(const CDialogController&) = delete;
  CDialogController& operator=(const CDialogController&) = delete;

  // Start-up: the log emptied, the catalogue loaded, the defaults on the
  // controls, the welcome line.
  void Initialize();
  // The end of the dialog: "terminate VALMERO", everything released and the
  // end line; only the first call does it.
  void Terminate();

  // A check box was clicked and now shows `mark`.
  void OnCheckBox(int id, bool mark);
  // The user typed in a path field.
  void OnSourceEdited(const std::string& text);
  void OnTargetEdited(const std::string& text);
  // A button or menu item by its id (control_ids.h); F1 is ID_HELP_BUTTON,
  // F5 ID_CHECK_SOURCE.
  void OnCommand(int id);
  // ESC anywhere in the program: logged, a cancel for a run that pumps, and
  // never the end of the dialog.
  void OnEscape();
  // The close box. During a run the close counts as Cancel and the dialog
  // ends when the run has ended; a view that cannot wait (the window goes
  // whatever is answered) passes false and the dialog ends at once.
  void OnClose(bool canWaitForRun = true);

  const COptionState& State() const { return m_state; }
  CConverter& Converter() { return m_converter; }
  bool IsRunning() const { return m_state.IsRunning() || m_converter.IsRunning(); }

  // The run that MAKE starts; tests put a scripted run in its place.
  using MakeRun = std::function<RunOutcome(const char* source, const char* target, const RunPlan& plan)>;
  void ReplaceRun(MakeRun run) { m_run = std::move(run); }

 private:
  void OnSelectSource();
  void OnSelectTarget();
  // The folder browser: the chosen folder, or empty after the log line that
  // says why there is none.
  std::string BrowseForFolder(const char* title, bool mustExist);
  void OnMake();
  void OnCheckSource();
  void OnMakeSongBook();
  std::string ChooseBookFile(bool pdf);
  void SayWhereTheBookWent(const std::string& path, const BookOutcome& outcome);
  void OnHelp();
  void OnVisitSite();
  void OnExit();
  void ShowState() { m_view.ShowState(m_state); }
  std::string SourcePath() const;
  std::string TargetPath() const;
  void SayThatNoLogIsWritten();

  IDialogView& m_view;
  IDesktopRunHost& m_host;
  CConverter m_converter;
  COptionState m_state;
  MakeRun m_run;
  // The song book dialog's choices, kept from one book to the next.
  BookChoices m_bookChoices;
  bool m_bBookChosen = false;
  bool m_bCloseAfterRun = false;
  bool m_bTerminated = false;
};

}  // namespace valmero
