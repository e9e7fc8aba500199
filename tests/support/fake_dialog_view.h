// A desktop program's window without a window, for the dialog controller
// under test: it answers the choosers as scripted and records what the
// controller asked of it. The host records the cancels a window gives a run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "ui/common/dialog_view.h"
#include "ui/common/option_state.h"

namespace valmero::testing {

class CFakeDialogView : public IDialogView {
 public:
  // The folder browser's answer: cancelled, or this folder (empty: an item
  // that is no folder of the file system).
  bool folderChosen = true;
  std::string folder;
  // The file chooser's answer (an empty path: cancelled).
  FileChoice file;
  // The song book's dialog: changes it makes to what it shows (no change
  // when null), cancelled when false; and the button that answers the
  // message that says where the book went.
  std::function<void(BookChoices&)> bookChoices;
  bool bookAccepted = true;
  BookWrittenAnswer bookWrittenAnswer = BookWrittenAnswer::OpenBook;
  BookChoices bookChoicesShown;

  // "folder: TITLE", "file: TITLE", "report", "message: CAPTION: TEXT",
  // "book choices", "book written: TEXT", "busy", "open: PATH",
  // "site: ADDRESS", "about", "end: exit|closed".
  std::vector<std::string> events;
  std::vector<FileRequest> fileRequests;
  std::string report;
  std::string wholeReport;  // as "Save as..." keeps it
  // What the controls last showed.
  std::string sourceShown;
  std::string targetShown;
  int statesShown = 0;

  bool ChooseFolder(const char* title, bool mustExist, std::string& chosen) override;
  FileChoice ChooseFile(const FileRequest& request) override;
  void ShowMessage(const std::string& text, const char* caption, MessageKind kind) override;
  void ShowState(const COptionState& state) override;
  void ShowCheckReport(const CheckReportTexts& texts) override;
  bool AskBookChoices(BookChoices& choices) override;
  BookWrittenAnswer ShowBookWritten(const std::string& text) override;
  void SetBusy(bool busy) override;
  void OpenDocument(const std::string& path) override;
  void OpenWebSite(const char* address) override;
  void ShowAbout() override;
  void EndDialog(DialogEnd end) override;
};

// The scripted run host of the core's tests, recording the cancels a window
// gives a run.
class CFakeDesktopHost : public IDesktopRunHost {
 public:
  CFakeHost run;
  int escapes = 0;
  bool runCancelRequested = false;

  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override {
    return run.CreateProgressPopup(title, smooth);
  }
  void ShowFinished(const char* text) override { run.ShowFinished(text); }
  bool AskError(const char* text, const char* caption) override { return run.AskError(text, caption); }
  void ShowCancelled(const char* text) override { run.ShowCancelled(text); }
  void OpenDocument(const char* path) override { run.OpenDocument(path); }
  void CancelOnEscape() override { ++escapes; }
  void RequestRunCancel() override { runCancelRequested = true; }
  void ClearRunCancel() override { runCancelRequested = false; }
};

}  // namespace valmero::testing
