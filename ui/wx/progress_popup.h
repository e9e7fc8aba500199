// The progress popup that long loops of a run put up: a top-most window with
// four lines of text, a bar and a Cancel button, the percentage done in its
// caption. It never disables its owner; the loop calls PumpMessages once per
// pass so that every window stays painted and Cancel and ESC are noticed.
//
// A loop may pass tens of thousands of files a second; nobody reads text that
// changes faster than the screen does. Text, bar and caption are kept as
// given and put on screen at most once a frame, and the window system's
// queue is looked at once a frame; every call still costs next to nothing.
#pragma once

#include <chrono>
#include <string>

#include <wx/button.h>
#include <wx/font.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include "core/run_host.h"
#include "ui/common/popup_text.h"

namespace valmero {

class CProgressPopup;

// What the popups of one host share: the popup that pumps right now, which
// ESC cancels, and the request of a main window closed during a run.
class CRunCancel {
 public:
  // ESC pressed somewhere in the program: cancels the popup that is pumping
  // right now with ESC allowed; otherwise nothing happens.
  void NoticeEscape();
  // The main window was closed during a run: the next popup that pumps
  // cancels, whatever its ESC setting. Cleared when a run starts.
  void RequestRunCancel() { m_bRunCancelRequested = true; }
  void ClearRunCancel() { m_bRunCancelRequested = false; }

 private:
  friend class CProgressPopup;
  CProgressPopup* m_pPumping = nullptr;
  bool m_bRunCancelRequested = false;
};

class CProgressPopup : public IProgressPopup {
 public:
  // owner may be null: then the application's top window, if any, owns it.
  CProgressPopup(CRunCancel& cancel, wxWindow* owner, const char* title, bool smooth);
  ~CProgressPopup() override;
  CProgressPopup(const CProgressPopup&) = delete;
  CProgressPopup& operator=(const CProgressPopup&) = delete;

  void SetRange(int lower, int upper, int step) override;
  void SetText(const char* text) override;
  int SetPos(int position) override;
  int StepIt() override;
  void PumpMessages(bool allowEscape) override;
  bool IsCancelled() const override { return m_bCancelled; }

  void Show();
  void Hide();

  // For tests and screenshots: the window, showing everything set so far.
  wxFrame* Window() {
    ShowLatest();
    return m_pFrame;
  }
  std::string Caption() const { return m_caption.Text(); }
  void OnCancelButton();

  // Where the popup keeps its place between uses: section "Settings" of the
  // application's configuration.
  static constexpr const char* CONFIG_X = "/Settings/X";
  static constexpr const char* CONFIG_Y = "/Settings/Y";

 private:
  friend class CRunCancel;
  void CreateControls(bool smooth);
  void LayoutControls(int lines, int width);
  void RestorePosition();
  void SavePosition();
  void OnCharHook(wxKeyEvent& event);
  int GaugeValue(int position) const;
  // Puts the latest text, bar position and caption on the window.
  void ShowLatest();
  void ShowLatestIfFrameDue();

  using Clock = std::chrono::steady_clock;

  bool m_bCancelled = false;
  int m_nPos = 0;
  int m_nStep = 1;
  int m_nUpper = 100;
  int m_nLower = 0;
  int m_nTextLines = 4;
  bool m_bEscapeAllowed = false;
  std::string m_strText;
  bool m_bTextChanged = false;
  bool m_bCaptionChanged = false;
  Clock::time_point m_lastShown{};
  Clock::time_point m_lastPumped{};

  CRunCancel& m_cancel;
  wxWindow* m_pOwner = nullptr;
  wxFrame* m_pFrame = nullptr;
  wxStaticText* m_pText = nullptr;
  wxGauge* m_pBar = nullptr;
  wxButton* m_pCancel = nullptr;
  CPercentCaption m_caption;
  wxString m_strCancelText = " Cancel ";
  wxFont m_font;
};

}  // namespace valmero
