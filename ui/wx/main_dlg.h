// The main dialog: the option boxes, the source and target fields with their
// choosers, MAKE, the log and help buttons. It holds the session (CConverter)
// for the whole life of the program; the option rules live in COptionState,
// the dialog only forwards clicks and mirrors the state onto its controls.
#pragma once

#include <map>

#include <wx/bitmap.h>
#include <wx/dialog.h>

#include "run/converter.h"
#include "ui/wx/gui_host.h"
#include "ui/wx/icon_strip.h"
#include "ui/common/option_state.h"
#include "ui/common/site_address.h"

class wxMenu;
class wxTextCtrl;
class wxEventLoopBase;

namespace valmero {

constexpr const char* ABOUT_ITEM = "&About VALMERO...";
// The About item of the window's context menu (the system menu's item 16 on
// platforms that have one).
constexpr int ID_ABOUT_BOX = 16;
// The song book of the chosen source, from the same context menu.
constexpr const char* MAKE_BOOK_ITEM = "Make song &book\xE2\x80\xA6";  // UTF-8 ellipsis
constexpr int ID_MAKE_BOOK = 1140;

class CMainDlg : public wxDialog {
 public:
  CMainDlg();
  ~CMainDlg() override;

  // Shows the dialog and handles its events until it ends (Exit, the close
  // box); returns wxID_OK for Exit, wxID_CANCEL for the close box.
  int RunDialog();
  void FinishDialog(int result);

  // Ending the dialog: logs "terminate VALMERO" and releases everything, once.
  bool Destroy() override;

  CConverter& Converter() { return m_converter; }
  const COptionState& State() const { return m_state; }
  wxWindow* Control(int id) const;

  // The handlers, public so that tests can drive them without a pointer.
  void OnCheckBox(int id);
  void OnSelectSource();
  void OnSelectTarget();
  void OnMake();
  void OnViewLog();
  void OnHelpButton();
  void OnVisitSite();
  void OnExit();
  void OnAbout();
  // "Check source...": what a run would do with the current paths and boxes.
  void OnCheckSource();
  // Asks where to save the book of the source and the options now shown,
  // writes it and opens it.
  void OnMakeSongBook();
  void PressEscape();
  // The items of the window's context menu.
  void FillContextMenu(wxMenu& menu);

 protected:
  // The run itself; tests put a scripted run in its place.
  virtual RunOutcome RunMake(const char* source, const char* target, const MakeMarks& marks);
  // Shows the check's report in its window; tests read it instead.
  virtual void ShowCheckReport(const std::string& report);
  CGuiHost& Host() { return m_host; }
  // The book's file from a save dialog (empty when cancelled), and opening
  // the finished book; tests put their own in place of both.
  virtual std::string ChooseBookFile();
  virtual void OpenBook(const std::string& path);

 private:
  // The folder browser: the chosen folder, or empty after the log line that
  // says why there is none.
  std::string BrowseForFolder(const char* title, long style);
  void TerminateSession();
  void CreateControls();
  void AddControl(int id, wxWindow* control, int x, int y, int width, int height);
  void FitGroupBox();
  void KeepFieldsRightOfButtons();
  void InitializeDialog();
  void SyncControls();
  void OnPaint(wxPaintEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  wxRect LogoRect() const;

  CGuiHost m_host;
  CConverter m_converter;
  COptionState m_state;
  CIconStrip m_iconStrip;
  wxBitmap m_logo;
  std::map<int, wxWindow*> m_controls;
  wxWindow* m_pGroupBox = nullptr;
  wxTextCtrl* m_pSourceEdit = nullptr;
  wxTextCtrl* m_pTargetEdit = nullptr;
  bool m_bCloseAfterRun = false;
  wxEventLoopBase* m_pLoop = nullptr;
  int m_nResult = wxID_CANCEL;
  bool m_bTerminated = false;
};

}  // namespace valmero
