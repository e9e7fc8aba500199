#include "ui/wx/progress_popup.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/log.h>
#include <wx/settings.h>

#include "ui/common/control_ids.h"

namespace valmero {

namespace {

constexpr int POPUP_WIDTH = 390;
constexpr int POPUP_HEIGHT = 130;
// A pump hands on what is waiting, but an event source that never runs dry
// (a window repainting itself forever) must not keep the loop from working.
constexpr int MAX_DISPATCHES_PER_PUMP = 1000;
// How often the window is brought up to date and the window system's queue
// looked at: a screen frame. Cancel and ESC are seen within a frame too.
constexpr std::chrono::milliseconds FRAME_INTERVAL(16);

int EdgeSize(wxSystemMetric metric) {
  int size = wxSystemSettings::GetMetric(metric);
  return size > 0 ? size : 2;
}

}  // namespace

CProgressPopup::CProgressPopup(CRunCancel& cancel, wxWindow* owner, const char* title, bool smooth)
    : m_cancel(cancel), m_pOwner(owner), m_caption(title != nullptr ? title : "Progress") {
  if (m_pOwner == nullptr && wxTheApp != nullptr) m_pOwner = wxTheApp->GetTopWindow();
  m_font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  long style = wxCAPTION | wxSTAY_ON_TOP | wxFRAME_TOOL_WINDOW;
  if (m_pOwner != nullptr) style |= wxFRAME_FLOAT_ON_PARENT;
  m_pFrame = new wxFrame(m_pOwner, wxID_ANY, wxString::FromUTF8(m_caption.Text()), wxPoint(0, 0),
                         wxSize(POPUP_WIDTH, POPUP_HEIGHT), style);
  m_pFrame->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  m_pFrame->SetCursor(wxCursor(wxCURSOR_ARROWWAIT));
  CreateControls(smooth);
  LayoutControls(m_nTextLines, POPUP_WIDTH);
  RestorePosition();
  Show();
}

void CProgressPopup::CreateControls(bool smooth) {
  m_pText = new wxStaticText(m_pFrame, ID_PROGRESS_TEXT, wxEmptyString, wxPoint(0, 0), wxSize(10, 10),
                             wxST_NO_AUTORESIZE | wxALIGN_LEFT);
  m_pBar = new wxGauge(m_pFrame, ID_PROGRESS_BAR, 100, wxPoint(0, 0), wxSize(10, 10),
                       wxGA_HORIZONTAL | (smooth ? wxGA_SMOOTH : 0));
  m_pCancel = new wxButton(m_pFrame, ID_PROGRESS_CANCEL, m_strCancelText, wxPoint(0, 0), wxSize(10, 10));
  m_pText->SetFont(m_font);
  m_pCancel->SetFont(m_font);
  m_pCancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancelButton(); });
  m_pFrame->Bind(wxEVT_CHAR_HOOK, &CProgressPopup::OnCharHook, this);
  // The close box or the window manager's close: the same as Cancel; the
  // window itself belongs to the loop that made it.
  m_pFrame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    if (event.CanVeto()) event.Veto();
    OnCancelButton();
  });
}

void CProgressPopup::LayoutControls(int lines, int width) {
  const int cxEdge = EdgeSize(wxSYS_EDGE_X);
  const int cyEdge = EdgeSize(wxSYS_EDGE_Y);
  wxClientDC dc(m_pFrame);
  dc.SetFont(m_font);
  wxString probe = "M";
  for (int line = 1; line < lines; ++line) probe += "\nM";
  const int textHeight = dc.GetMultiLineTextExtent(probe).GetHeight();
  const wxRect text(10, 10, width, textHeight);

  wxSize label = dc.GetTextExtent(m_strCancelText + "  ");
  wxSize best = m_pCancel->GetBestSize();
  // GTK buttons carry more padding than the measured label; never clip it.
  const int buttonWidth = std::max(label.GetWidth() + 4 * cxEdge, best.GetWidth());
  const int buttonHeight = std::max(label.GetHeight() + 3 * cyEdge, best.GetHeight());
  const wxRect cancel(text.GetRight() + 1 - buttonWidth, text.GetBottom() + 1 + 10, buttonWidth, buttonHeight);

  const int barHeight = std::min(std::max(buttonHeight - 2 * cyEdge, m_pBar->GetBestSize().GetHeight()),
                                 buttonHeight);
  const wxRect bar(text.GetLeft(), cancel.GetTop() + (buttonHeight - barHeight) / 2,
                   cancel.GetLeft() - 10 - text.GetLeft(), barHeight);

  m_pFrame->SetClientSize(text.GetWidth() + 20, text.GetHeight() + buttonHeight + 30);
  m_pBar->SetSize(bar);
  m_pCancel->SetSize(cancel);
  m_pText->SetSize(text);
}

void CProgressPopup::RestorePosition() {
  wxConfigBase* config = wxConfigBase::Get();
  long x = config != nullptr ? config->ReadLong(CONFIG_X, -1) : -1;
  long y = config != nullptr ? config->ReadLong(CONFIG_Y, -1) : -1;
  wxSize screen = wxGetDisplaySize();
  if (x < 0 || x >= screen.GetWidth() || y < 0 || y >= screen.GetHeight()) {
    if (m_pOwner != nullptr) {
      m_pFrame->CentreOnParent();
    } else {
      m_pFrame->CentreOnScreen();
    }
  } else {
    m_pFrame->Move(static_cast<int>(x), static_cast<int>(y));
  }
}

void CProgressPopup::SavePosition() {
  wxConfigBase* config = wxConfigBase::Get();
  if (config == nullptr || m_pFrame == nullptr) return;
  // A place that cannot be kept is no reason to stop a run with a message box.
  wxLogNull quiet;
  wxPoint corner = m_pFrame->GetPosition();
  config->Write(CONFIG_X, static_cast<long>(corner.x));
  config->Write(CONFIG_Y, static_cast<long>(corner.y));
  config->Flush();
}

CProgressPopup::~CProgressPopup() {
  if (m_cancel.m_pPumping == this) m_cancel.m_pPumping = nullptr;
  SavePosition();
  m_pFrame->Unbind(wxEVT_CHAR_HOOK, &CProgressPopup::OnCharHook, this);
  m_pFrame->Hide();
  m_pFrame->Destroy();
}

void CProgressPopup::SetRange(int lower, int upper, int step) {
  m_nUpper = upper;
  m_nLower = lower;
  m_nStep = step;
  m_pBar->SetRange(std::max(upper - lower, 1));
  m_pBar->SetValue(GaugeValue(m_nPos));
}

int CProgressPopup::GaugeValue(int position) const {
  if (m_nUpper <= m_nLower) return 0;
  return std::clamp(position - m_nLower, 0, m_nUpper - m_nLower);
}

void CProgressPopup::SetText(const char* text) {
  m_strText.assign(text);
  m_bTextChanged = true;
  ShowLatestIfFrameDue();
}

int CProgressPopup::SetPos(int position) {
  Show();
  int previous = m_nPos;
  m_nPos = position;
  if (m_caption.Update(position, m_nLower, m_nUpper)) m_bCaptionChanged = true;
  ShowLatestIfFrameDue();
  return previous;
}

void CProgressPopup::ShowLatestIfFrameDue() {
  if (Clock::now() - m_lastShown >= FRAME_INTERVAL) ShowLatest();
}

void CProgressPopup::ShowLatest() {
  m_lastShown = Clock::now();
  if (m_bTextChanged) {
    m_bTextChanged = false;
    // Label text, not markup: '&' in a song title is not a mnemonic.
    std::string expanded = ExpandTabs(m_strText.c_str());
    wxString shown(expanded.c_str(), *wxConvFileName);
    // Titles and singers are bytes of whatever code page the collection used;
    // show them byte for byte rather than not at all.
    if (shown.empty() && !expanded.empty()) shown = wxString(expanded.c_str(), wxConvISO8859_1);
    m_pText->SetLabelText(shown);
  }
  if (m_bCaptionChanged) {
    m_bCaptionChanged = false;
    m_pFrame->SetTitle(wxString::FromUTF8(m_caption.Text()));
  }
  const int value = GaugeValue(m_nPos);
  if (m_pBar->GetValue() != value) m_pBar->SetValue(value);
}

int CProgressPopup::StepIt() {
  Show();
  return SetPos(m_nPos + m_nStep);
}

void CProgressPopup::Show() {
  if (m_pFrame->IsShown()) return;
  m_pFrame->ShowWithoutActivating();
  m_pFrame->Update();
}

void CProgressPopup::Hide() {
  if (m_pFrame->IsShown()) m_pFrame->Hide();
}

void CProgressPopup::PumpMessages(bool allowEscape) {
  if (m_cancel.m_bRunCancelRequested && !m_bCancelled) OnCancelButton();
  if (m_bCancelled) return;
  // Events the program posted to itself (a close request, a call queued for
  // later) are handed on at once; the window system's once a frame.
  const Clock::time_point now = Clock::now();
  const bool frameDue = now - m_lastPumped >= FRAME_INTERVAL;
  if (!frameDue && (wxTheApp == nullptr || !wxTheApp->HasPendingEvents())) return;
  if (frameDue) {
    m_lastPumped = now;
    ShowLatest();
  }
  CProgressPopup* outer = m_cancel.m_pPumping;
  m_cancel.m_pPumping = this;
  m_bEscapeAllowed = allowEscape;
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  for (int dispatched = 0; !m_bCancelled && loop != nullptr && dispatched < MAX_DISPATCHES_PER_PUMP;
       ++dispatched) {
    if (!loop->Pending()) break;
    // A quit request stays with the loop it was meant for.
    if (!loop->Dispatch()) break;
    if (m_cancel.m_bRunCancelRequested && !m_bCancelled) OnCancelButton();
  }
  if (!m_bCancelled && wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
  m_bEscapeAllowed = false;
  m_cancel.m_pPumping = outer;
}

void CRunCancel::NoticeEscape() {
  if (m_pPumping != nullptr && m_pPumping->m_bEscapeAllowed && !m_pPumping->m_bCancelled) {
    m_pPumping->OnCancelButton();
  }
}

void CProgressPopup::OnCancelButton() {
  SavePosition();
  m_bCancelled = true;
  Hide();
  wxWindow* main = m_pOwner != nullptr ? m_pOwner : (wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr);
  if (main != nullptr) main->Raise();
}

void CProgressPopup::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() != WXK_ESCAPE) {
    event.Skip();
    return;
  }
  // The main window sees every ESC of the program (it logs it); hand the key
  // on to it, or notice it here when there is no main window.
  if (m_pOwner != nullptr) {
    wxKeyEvent forwarded(event);
    forwarded.SetEventObject(m_pOwner);
    forwarded.SetId(m_pOwner->GetId());
    m_pOwner->GetEventHandler()->ProcessEvent(forwarded);
  } else {
    m_cancel.NoticeEscape();
  }
}

}  // namespace valmero
