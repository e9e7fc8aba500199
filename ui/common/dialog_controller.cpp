#include "ui/common/dialog_controller.h"

#include "book/source_book.h"
#include "log/activity_log.h"
#include "platform/code_page.h"
#include "platform/log_file.h"
#include "platform/path_separator.h"
#include "platform/program_folder.h"
#include "platform/text_conversion.h"
#include "run/source_check.h"
#include "ui/common/control_ids.h"
#include "ui/common/help_file.h"
#include "ui/common/site_address.h"

namespace valmero {

namespace {

const char* const BOOK_CAPTION = "Song book";

// The busy cursor for the life of the object.
class CBusy {
 public:
  explicit CBusy(IDialogView& view) : m_view(view) { m_view.SetBusy(true); }
  ~CBusy() { m_view.SetBusy(false); }
  CBusy(const CBusy&) = delete;
  CBusy& operator=(const CBusy&) = delete;

 private:
  IDialogView& m_view;
};

std::string CurrentFolderText() {
  char folder[PATH_SIZE] = {};
  CurrentFolder(folder, sizeof folder);
  return folder;
}

}  // namespace

CDialogController::CDialogController(IDialogView& view, IDesktopRunHost& host)
    : m_view(view), m_host(host), m_converter(host) {}

// A dialog that goes without its end still ends its session properly.
CDialogController::~CDialogController() { Terminate(); }

void CDialogController::Initialize() {
  m_converter.InitializeState();
  if (!ActivityLogWritten()) SayThatNoLogIsWritten();
  m_state.ApplyDefaultMarks();
  m_state.SetSourceText(std::string());
  ShowState();
  m_converter.LogWelcome();
}

// A desktop program has no standard error to say it on: the user would
// otherwise be sent to a log that is not there, or to an old one.
void CDialogController::SayThatNoLogIsWritten() {
  const std::string folder = m_converter.m_szStartDir;
  std::string text;
  if (ActivityLogInUse()) {
    text = "The activity log mirqlog.txt in " + folder +
           " is in use by another VALMERO started in the same folder. This one keeps no log, and its MAKE writes "
           "nothing.";
  } else if (folder.empty()) {
    text = "The folder VALMERO was started in cannot be told, so no activity log is kept.";
  } else {
    text = "The activity log mirqlog.txt cannot be written in " + folder +
           ". VALMERO works without a log; start it from a folder you may write in to keep one.";
  }
  m_view.ShowMessage(text, "VALMERO", MessageKind::Error);
}

void CDialogController::Terminate() {
  if (m_bTerminated) return;
  m_bTerminated = true;
  m_converter.Terminate();
}

// The fields as typed, with '/' taken as a separator where a backslash is one.
std::string CDialogController::SourcePath() const { return WithNativeSeparators(m_state.SourceText()); }
std::string CDialogController::TargetPath() const { return WithNativeSeparators(m_state.TargetText()); }

void CDialogController::OnCheckBox(int id, bool mark) {
  // A click that slipped through a lock only puts the mark back.
  if (m_state.IsEnabled(id)) m_state.OnClick(id, mark);
  ShowState();
}

void CDialogController::OnSourceEdited(const std::string& text) { m_state.SetSourceText(text); }

void CDialogController::OnTargetEdited(const std::string& text) { m_state.SetTargetText(text); }

void CDialogController::OnCommand(int id) {
  switch (id) {
    case ID_VISIT_SITE: OnVisitSite(); break;
    case ID_HELP_BUTTON: OnHelp(); break;
    case ID_SELECT_SOURCE: OnSelectSource(); break;
    case ID_SELECT_TARGET: OnSelectTarget(); break;
    case ID_MAKE: OnMake(); break;
    case ID_VIEW_LOG: m_converter.OnViewLog(); break;
    case ID_EXIT: OnExit(); break;
    case ID_CHECK_SOURCE: OnCheckSource(); break;
    case ID_MAKE_BOOK: OnMakeSongBook(); break;
    case ID_ABOUT_BOX: m_view.ShowAbout(); break;
    default: break;
  }
}

void CDialogController::OnSelectSource() {
  if (!m_state.IsEnabled(ID_SELECT_SOURCE)) return;
  if (m_state.IsChecked(ID_SOURCE_DISC)) {
    FileRequest request;
    request.kinds = {{"TEXT file(*.txt)", "*.txt", "txt"}};
    const std::string path = m_view.ChooseFile(request).path;
    if (path.empty()) {
      LogMessage("wrong file name");
      return;
    }
    m_state.ChooseSource(path);
    ShowState();
    LogMessage("select file is \"%s\"", path.c_str());
  } else if (m_state.IsChecked(ID_SOURCE_DOWNLOAD)) {
    const std::string path = BrowseForFolder("Select Source Folder", true);
    if (path.empty()) return;
    m_state.ChooseSource(path);
    ShowState();
    LogMessage("select folder is \"%s\"", path.c_str());
  }
}

std::string CDialogController::BrowseForFolder(const char* title, bool mustExist) {
  std::string folder;
  if (!m_view.ChooseFolder(title, mustExist, folder)) {
    LogMessage("Cancel\n");
    return {};
  }
  if (folder.empty()) LogMessage("invalid folder\n");
  return folder;
}

void CDialogController::OnSelectTarget() {
  if (!m_state.IsEnabled(ID_SELECT_TARGET)) return;
  const std::string path = BrowseForFolder("Select Target Folder", false);
  if (path.empty()) return;
  m_state.ChooseTarget(path);
  ShowState();
  LogMessage("select folder is \"%s\"", path.c_str());
}

void CDialogController::OnMake() {
  if (IsRunning()) return;
  // The run takes the fields as they are now; the controls are locked while
  // it pumps messages, so the paths a stage reads cannot change under it.
  const std::string source = SourcePath();
  const std::string target = TargetPath();
  const RunPlan plan = m_state.Plan();
  m_host.ClearRunCancel();
  m_state.BeginRun();
  ShowState();
  if (m_run) {
    m_run(source.c_str(), target.c_str(), plan);
  } else {
    m_converter.OnMake(source.c_str(), target.c_str(), plan);
  }
  m_state.EndRun();
  ShowState();
  m_host.ClearRunCancel();
  if (m_bCloseAfterRun) m_view.EndDialog(DialogEnd::Closed);
}

void CDialogController::OnCheckSource() {
  if (IsRunning()) return;
  // A Windows collection's tags and songlists are in the system's code page.
  const std::string encoding = SystemCodePage().empty() ? DEFAULT_CHECK_ENCODING : SystemCodePage();
  SourceCheckReport report;
  {
    CBusy reading(m_view);
    CheckSource(m_converter.m_szStartDir, SourcePath(), TargetPath(), m_state.Plan(), encoding, report);
  }
  m_view.ShowCheckReport({FormatCheckReport(report, false, "Save as\xE2\x80\xA6 keeps them all"),
                          FormatCheckReport(report, true)});
}

void CDialogController::OnMakeSongBook() {
  if (IsRunning()) return;
  const std::string source = SourcePath();
  if (source.empty()) {
    m_view.ShowMessage("Choose the source first: the book lists its songs.", BOOK_CAPTION, MessageKind::Information);
    return;
  }
  // A Windows collection's tags and songlists are in the system's code page.
  if (!m_bBookChosen) m_bookChoices = InitialBookChoices(SystemCodePage(), LocalePaperSize());
  m_bBookChosen = true;
  if (!m_view.AskBookChoices(m_bookChoices)) return;
  const std::string path = ChooseBookFile(m_bookChoices.pdf && m_bookChoices.pdfOffered);
  if (path.empty()) return;
  std::string error;
  BookOutcome outcome;
  SourceBookResult result;
  {
    CBusy writing(m_view);
    result = WriteSourceBook(m_converter.m_szStartDir, source, m_state.Plan(), SettingsOfChoices(m_bookChoices), path,
                             outcome, error);
  }
  if (result != SourceBookResult::Written) {
    m_view.ShowMessage(error, BOOK_CAPTION, MessageKind::Error);
    return;
  }
  SayWhereTheBookWent(path, outcome);
}

// A viewer may not open, or open somewhere else: the program says where the
// book is and offers to open it or its folder.
void CDialogController::SayWhereTheBookWent(const std::string& path, const BookOutcome& outcome) {
  // Paths are in the system's code page where it names one; the text is UTF-8.
  std::string shownPath = path;
  CTextConverter converter;
  if (!SystemCodePage().empty() && converter.Open(SystemCodePage().c_str())) shownPath = converter.ToUtf8(path);
  switch (m_view.ShowBookWritten(BookWrittenText(shownPath, outcome))) {
    case BookWrittenAnswer::OpenBook:
      m_view.OpenDocument(path);
      break;
    case BookWrittenAnswer::OpenFolder: {
      const std::size_t separator = path.find_last_of(PATH_SEPARATOR == '\\' ? "\\/" : "/");
      m_view.OpenDocument(separator == std::string::npos ? CurrentFolderText() : path.substr(0, separator));
      break;
    }
    case BookWrittenAnswer::Close: break;
  }
}

// The kind chosen in the book's dialog is the one offered; a name typed
// without the extension of a book gets its extension.
std::string CDialogController::ChooseBookFile(bool pdf) {
  FileRequest request;
  request.title = "Make song book";
  request.kinds = {pdf ? FileKind{"PDF document (*.pdf)", "*.pdf", ".pdf"}
                       : FileKind{"HTML page (*.html)", "*.html", ".html"}};
  request.name = pdf ? "songbook.pdf" : "songbook.html";
  request.defaultExtension = pdf ? "pdf" : "html";
  request.save = true;
  FileChoice choice = m_view.ChooseFile(request);
  if (!choice.path.empty() && BookFormatOf(choice.path) == BookFormat::Unknown) {
    choice.path += request.kinds.front().extension;
  }
  return choice.path;
}

void CDialogController::OnHelp() {
  const std::string help = FindHelpFile(CurrentFolderText(), ProgramFolder());
  if (!help.empty()) m_view.OpenDocument(help);
}

void CDialogController::OnVisitSite() {
  if (!HAS_SITE) {
    OnHelp();
    LogMessage("visit help.htm");
    return;
  }
  m_view.OpenWebSite(SITE_ADDRESS);
  LogMessage("visit %s", SITE_HOST);
}

void CDialogController::OnExit() {
  if (m_state.IsEnabled(ID_EXIT)) m_view.EndDialog(DialogEnd::Exit);
}

void CDialogController::OnEscape() {
  LogMessage("press esc key");
  if (IsRunning()) m_host.CancelOnEscape();
}

void CDialogController::OnClose(bool canWaitForRun) {
  if (m_state.IsRunning()) {
    // The window cannot go while a run works on its data.
    m_bCloseAfterRun = true;
    m_host.RequestRunCancel();
    if (canWaitForRun) return;
  }
  m_view.EndDialog(DialogEnd::Closed);
}

}  // namespace valmero
