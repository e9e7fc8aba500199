#include "support/fake_dialog_view.h"

namespace valmero::testing {

bool CFakeDialogView::ChooseFolder(const char* title, bool, std::string& chosen) {
  events.push_back(std::string("folder: ") + title);
  chosen = folder;
  return folderChosen;
}

FileChoice CFakeDialogView::ChooseFile(const FileRequest& request) {
  events.push_back("file: " + request.title);
  fileRequests.push_back(request);
  return file;
}

void CFakeDialogView::ShowMessage(const std::string& text, const char* caption, MessageKind) {
  events.push_back(std::string("message: ") + caption + ": " + text);
}

void CFakeDialogView::ShowState(const COptionState& state) {
  sourceShown = state.SourceText();
  targetShown = state.TargetText();
  ++statesShown;
}

void CFakeDialogView::ShowCheckReport(const CheckReportTexts& texts) {
  events.push_back("report");
  report = texts.shown;
  wholeReport = texts.whole;
}

bool CFakeDialogView::AskBookChoices(BookChoices& choices) {
  events.push_back("book choices");
  bookChoicesShown = choices;
  if (bookChoices) bookChoices(choices);
  return bookAccepted;
}

BookWrittenAnswer CFakeDialogView::ShowBookWritten(const std::string& text) {
  events.push_back("book written: " + text);
  return bookWrittenAnswer;
}

void CFakeDialogView::SetBusy(bool busy) {
  if (busy) events.push_back("busy");
}

void CFakeDialogView::OpenDocument(const std::string& path) { events.push_back("open: " + path); }

void CFakeDialogView::OpenWebSite(const char* address) { events.push_back(std::string("site: ") + address); }

void CFakeDialogView::ShowAbout() { events.push_back("about"); }

void CFakeDialogView::EndDialog(DialogEnd end) {
  events.push_back(end == DialogEnd::Exit ? "end: exit" : "end: closed");
}

}  // namespace valmero::testing
