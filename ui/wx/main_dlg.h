// The wxWidgets view of the main dialog: the option boxes, the source and
// target fields with their choosers, MAKE, the log and help buttons, the
// logo and the context menu. Every event goes to the dialog controller
// (ui/common/dialog_controller.h); this class only builds the controls and
// answers the controller's requests with wxWidgets calls.
#pragma once

#include <map>

#include <wx/bitmap.h>
#include <wx/dialog.h>

#include "ui/common/dialog_controller.h"
#include "ui/wx/gui_host.h"
#include "ui/wx/icon_strip.h"

class wxMenu;
class wxTextCtrl;
class wxEventLoopBase;

namespace valmero {

constexpr const char* ABOUT_ITEM = "&About VALMERO...";
constexpr const char* CHECK_SOURCE_ITEM = "&Check source\xE2\x80\xA6\tF5";  // UTF-8 ellipsis
constexpr const char* MAKE_BOOK_ITEM = "Make song &book\xE2\x80\xA6";

class CMainDlg : public wxDialog, public IDialogView {
 public:
  CMainDlg();
  ~CMainDlg() override;

  // Shows the dialog and handles its events until it ends (Exit, the close
  // box); returns wxID_OK for Exit, wxID_CANCEL for the close box.
  int RunDialog();

  // Ending the dialog: logs "terminate VALMERO" and releases everything, once.
  bool Destroy() override;

  CDialogController& Controller() { return m_controller; }
  wxWindow* Control(int id) const;
  // The items of the window's context menu.
  void FillContextMenu(wxMenu& menu);

  // The view.
  void ShowState(const COptionState& state) override;
  bool ChooseFolder(const char* title, bool mustExist, std::string& folder) override;
  FileChoice ChooseFile(const FileRequest& request) override;
  void ShowMessage(const std::string& text, const char* caption, MessageKind kind) override;
  void ShowCheckReport(const CheckReportTexts& report) override;
  bool AskBookChoices(BookChoices& choices) override;
  BookWrittenAnswer ShowBookWritten(const std::string& text) override;
  void SetBusy(bool busy) override;
  void OpenDocument(const std::string& path) override;
  void OpenWebSite(const char* address) override;
  void ShowAbout() override;
  void EndDialog(DialogEnd end) override;

 protected:
  CGuiHost& Host() { return m_host; }

 private:
  void CreateControls();
  void AddControl(int id, wxWindow* control, int x, int y, int width, int height);
  void FitGroupBox();
  void KeepFieldsRightOfButtons();
  void InitializeDialog();
  void OnPaint(wxPaintEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  wxRect LogoRect() const;

  CGuiHost m_host;
  CDialogController m_controller;
  CIconStrip m_iconStrip;
  wxBitmap m_logo;
  std::map<int, wxWindow*> m_controls;
  wxWindow* m_pGroupBox = nullptr;
  wxTextCtrl* m_pSourceEdit = nullptr;
  wxTextCtrl* m_pTargetEdit = nullptr;
  wxEventLoopBase* m_pLoop = nullptr;
  int m_nResult = wxID_CANCEL;
};

}  // namespace valmero
