// What the dialog controller asks of a desktop program: its toolkit's
// choosers, boxes and shell, and putting the state on the controls. A view
// decides nothing; the controller (dialog_controller.h) runs every flow.
#pragma once

#include <string>
#include <vector>

#include "core/run_host.h"
#include "ui/common/book_choices.h"

namespace valmero {

class COptionState;

// One kind of file a chooser offers: "TEXT file(*.txt)", "*.txt", "txt".
struct FileKind {
  std::string name;
  std::string pattern;
  std::string extension;
};

struct FileRequest {
  std::string title;              // empty: the chooser's own
  std::vector<FileKind> kinds;
  std::string name;               // the name first offered
  const char* defaultExtension = nullptr;  // added by the chooser to a name typed without one
  bool save = false;              // a file to write: replacing one is asked about first
};

struct FileChoice {
  std::string path;  // empty: cancelled
  std::size_t kind = 0;  // the kind chosen in the chooser
};

enum class MessageKind { Information, Error };

// How the dialog ends: Exit, or the close box.
enum class DialogEnd { Exit, Closed };

// The choosers and message boxes of one window.
class IDialogBoxes {
 public:
  virtual ~IDialogBoxes() = default;
  // The folder browser. False when cancelled; true with the folder, which is
  // empty when the chosen item is no folder of the file system.
  virtual bool ChooseFolder(const char* title, bool mustExist, std::string& folder) = 0;
  virtual FileChoice ChooseFile(const FileRequest& request) = 0;
  virtual void ShowMessage(const std::string& text, const char* caption, MessageKind kind) = 0;
};

// A check's report as its window shows it (a few of many cut texts) and as
// "Save as..." keeps it (every finding).
struct CheckReportTexts {
  std::string shown;
  std::string whole;
};

class IDialogView : public IDialogBoxes {
 public:
  // Puts the marks, enabled states and path texts of `state` on the controls.
  virtual void ShowState(const COptionState& state) = 0;
  // The window with the check's report.
  virtual void ShowCheckReport(const CheckReportTexts& report) = 0;
  // The song book's small dialog, showing `choices` and leaving the user's
  // in them. False when cancelled.
  virtual bool AskBookChoices(BookChoices& choices) = 0;
  // Where the book went (UTF-8 text), with a button to open it and one to
  // open its folder.
  virtual BookWrittenAnswer ShowBookWritten(const std::string& text) = 0;
  // The busy cursor while a check or a book reads the source.
  virtual void SetBusy(bool busy) = 0;
  // Opens a file with its associated program, or the web site in the browser.
  virtual void OpenDocument(const std::string& path) = 0;
  virtual void OpenWebSite(const char* address) = 0;
  virtual void ShowAbout() = 0;
  virtual void EndDialog(DialogEnd end) = 0;
};

// A desktop program's host for its runs, with the window's two ways to stop
// one. The state of a cancel is the host's own: popups of another host are
// not touched.
class IDesktopRunHost : public IRunHost {
 public:
  // ESC during a run: cancels the popup that pumps now with ESC allowed.
  virtual void CancelOnEscape() = 0;
  // The window is closed during a run: the next popup that pumps cancels,
  // whatever its ESC setting.
  virtual void RequestRunCancel() = 0;
  // A run starts, or has ended: no request is left over.
  virtual void ClearRunCancel() = 0;
};

}  // namespace valmero
