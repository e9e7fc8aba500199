#include "ui/wx/progress_popup.h"

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <wx/config.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include "display/shots.h"

namespace valmero {
namespace {

using testing::LetWindowsSettle;

class ProgressPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wxConfigBase::Get()->DeleteGroup("/Settings");
    m_pOwner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(100, 100), wxSize(500, 400));
    m_pOwner->Show();
  }
  void TearDown() override {
    m_pOwner->Destroy();
    LetWindowsSettle();
  }

  // The loop a running dialog has; PumpMessages dispatches through it.
  wxEventLoop m_loop;
  wxEventLoopActivator m_active{&m_loop};
  wxFrame* m_pOwner = nullptr;
  CRunCancel m_cancel;
};

wxRect ChildRect(wxFrame* frame, int id) { return frame->FindWindow(id)->GetRect(); }

TEST_F(ProgressPopupTest, CaptionShowsWholePercentageOnceItChanges) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.SetRange(0, 3, 1);
  EXPECT_EQ(popup.Window()->GetTitle(), "VALMERO");
  popup.StepIt();
  EXPECT_EQ(popup.Window()->GetTitle(), "VALMERO [33%]");
  popup.StepIt();
  EXPECT_EQ(popup.Window()->GetTitle(), "VALMERO [67%]");
  popup.StepIt();
  popup.StepIt();
  EXPECT_EQ(popup.Window()->GetTitle(), "VALMERO [133%]");
  auto* bar = static_cast<wxGauge*>(popup.Window()->FindWindow(12));
  EXPECT_EQ(bar->GetValue(), bar->GetRange());
}

TEST_F(ProgressPopupTest, LayoutHoldsFourLinesAndNothingOverlapsOrIsClipped) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  LetWindowsSettle();
  wxFrame* frame = popup.Window();
  wxRect client(frame->GetClientSize());
  wxRect text = ChildRect(frame, 11);
  wxRect bar = ChildRect(frame, 12);
  wxRect cancel = ChildRect(frame, 10);
  for (const wxRect& rect : {text, bar, cancel}) EXPECT_TRUE(client.Contains(rect)) << rect.x << "," << rect.y;
  EXPECT_FALSE(text.Intersects(bar));
  EXPECT_FALSE(text.Intersects(cancel));
  EXPECT_FALSE(bar.Intersects(cancel));
  EXPECT_GE(cancel.GetWidth(), frame->FindWindow(10)->GetBestSize().GetWidth());
  EXPECT_GE(cancel.GetHeight(), frame->FindWindow(10)->GetBestSize().GetHeight());
  EXPECT_EQ(text.GetWidth(), 390);
  EXPECT_GE(text.GetHeight(), 4 * frame->GetCharHeight());
  EXPECT_EQ(static_cast<wxButton*>(frame->FindWindow(10))->GetLabel(), " Cancel ");
}

TEST_F(ProgressPopupTest, TextKeepsLinesAndLaysOutTabs) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.SetText("copy\t1 of 2\nA & B");
  EXPECT_EQ(static_cast<wxStaticText*>(popup.Window()->FindWindow(11))->GetLabelText(), "copy    1 of 2\nA & B");
}

TEST_F(ProgressPopupTest, NeverDisablesItsOwner) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.PumpMessages(true);
  EXPECT_TRUE(m_pOwner->IsEnabled());
  EXPECT_TRUE(popup.Window()->IsShown());
  EXPECT_TRUE(popup.Window()->HasFlag(wxSTAY_ON_TOP));
}

TEST_F(ProgressPopupTest, CancelButtonHidesAndEndsPumping) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  wxCommandEvent click(wxEVT_BUTTON, 10);
  click.SetEventObject(popup.Window()->FindWindow(10));
  popup.Window()->FindWindow(10)->GetEventHandler()->ProcessEvent(click);
  EXPECT_TRUE(popup.IsCancelled());
  EXPECT_FALSE(popup.Window()->IsShown());
  // Still usable afterwards: a step shows it again.
  popup.StepIt();
  EXPECT_TRUE(popup.Window()->IsShown());
  EXPECT_TRUE(popup.IsCancelled());
}

// ESC counts only while a loop pumps with ESC allowed; the key arrives as an
// event that the pump itself dispatches.
TEST_F(ProgressPopupTest, EscapeCancelsOnlyWhilePumpingWithEscapeAllowed) {
  struct Case {
    const char* name;
    bool pump;
    bool allowEscape;
    bool cancelled;
  };
  const Case cases[] = {
      {"pumping, ESC allowed", true, true, true},
      {"pumping, ESC not allowed", true, false, false},
      {"not pumping", false, true, false},
  };
  for (const Case& c : cases) {
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    if (c.pump) {
      popup.Window()->CallAfter([this] { m_cancel.NoticeEscape(); });
      popup.PumpMessages(c.allowEscape);
    } else {
      m_cancel.NoticeEscape();
    }
    EXPECT_EQ(popup.IsCancelled(), c.cancelled) << c.name;
    LetWindowsSettle();
  }
}

TEST_F(ProgressPopupTest, ClosingTheMainWindowCancelsTheNextPumpOfTheRun) {
  m_cancel.RequestRunCancel();
  {
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    EXPECT_FALSE(popup.IsCancelled());
    popup.PumpMessages(false);
    EXPECT_TRUE(popup.IsCancelled());
  }
  m_cancel.ClearRunCancel();
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.PumpMessages(false);
  EXPECT_FALSE(popup.IsCancelled());
}

TEST_F(ProgressPopupTest, PositionIsKeptAndRestoredOnlyWhenOnScreen) {
  wxConfigBase* config = wxConfigBase::Get();
  {
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    popup.Window()->Move(40, 50);
  }
  EXPECT_EQ(config->ReadLong(CProgressPopup::CONFIG_X, -1), 40);
  EXPECT_EQ(config->ReadLong(CProgressPopup::CONFIG_Y, -1), 50);
  {
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    EXPECT_EQ(popup.Window()->GetPosition(), wxPoint(40, 50));
  }

  config->Write(CProgressPopup::CONFIG_X, 0L);
  config->Write(CProgressPopup::CONFIG_Y, 0L);
  {
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    EXPECT_EQ(popup.Window()->GetPosition(), wxPoint(0, 0));
  }

  const wxSize screen = wxGetDisplaySize();
  const long offScreen[][2] = {{-1, 10}, {10, -1}, {screen.GetWidth(), 10}, {10, screen.GetHeight()}};
  for (const auto& place : offScreen) {
    config->Write(CProgressPopup::CONFIG_X, place[0]);
    config->Write(CProgressPopup::CONFIG_Y, place[1]);
    CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
    // Centred over the owner instead.
    wxPoint centre = popup.Window()->GetRect().GetPosition() + popup.Window()->GetSize() / 2;
    wxPoint ownerCentre = m_pOwner->GetRect().GetPosition() + m_pOwner->GetSize() / 2;
    EXPECT_NEAR(centre.x, ownerCentre.x, 2) << place[0] << "," << place[1];
    EXPECT_NEAR(centre.y, ownerCentre.y, 2) << place[0] << "," << place[1];
  }
}

// A copy passes files faster than a screen shows them: what the window shows
// may lag by a frame, never stay behind once the loop pauses.
TEST_F(ProgressPopupTest, ShowsTheLatestTextBarAndCaptionAfterABurst) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  wxFrame* frame = popup.Window();
  popup.SetRange(0, 2000, 1);
  for (int file = 1; file <= 2000; ++file) {
    SetProgressText(popup, "now transferring %d/%d", file, 2000);
    popup.StepIt();
    popup.PumpMessages(true);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  popup.PumpMessages(true);
  EXPECT_EQ(static_cast<wxStaticText*>(frame->FindWindow(11))->GetLabelText(), "now transferring 2000/2000");
  EXPECT_EQ(frame->GetTitle(), "VALMERO [100%]");
  auto* bar = static_cast<wxGauge*>(frame->FindWindow(12));
  EXPECT_EQ(bar->GetValue(), bar->GetRange());
}

TEST_F(ProgressPopupTest, MouseClickOnCancelIsSeenInTheMiddleOfABurst) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.SetRange(0, 1000000, 1);
  LetWindowsSettle();
  wxWindow* button = popup.Window()->FindWindow(10);
  wxUIActionSimulator mouse;
  mouse.MouseMove(button->ClientToScreen(wxPoint(button->GetSize().x / 2, button->GetSize().y / 2)));
  mouse.MouseClick();
  // No pauses: the click must be picked up by the pumps of the loop itself.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int file = 0;
  while (!popup.IsCancelled() && std::chrono::steady_clock::now() < end) {
    SetProgressText(popup, "now transferring %d/%d", ++file, 1000000);
    popup.StepIt();
    popup.PumpMessages(true);
  }
  EXPECT_TRUE(popup.IsCancelled()) << file << " files";
}

TEST_F(ProgressPopupTest, LooksRightDuringACopy) {
  CProgressPopup popup(m_cancel, m_pOwner, "VALMERO", false);
  popup.SetRange(0, 6, 1);
  SetProgressText(popup, "copying file : from '%s' \n\tto '%s' \n\n\tnow transferring %d/%d",
                  "/home/me/Songs/12.mcg", "/home/me/Songs/KVX/00002.MCG", 4, 6);
  for (int step = 0; step < 4; ++step) popup.StepIt();
  testing::SaveShot("popup_during_copy");
  EXPECT_EQ(popup.Window()->GetTitle(), "VALMERO [67%]");
}

}  // namespace
}  // namespace valmero
