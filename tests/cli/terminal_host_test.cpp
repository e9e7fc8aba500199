#include "cli/terminal_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace valmero {
namespace {

// A stream whose bytes the test can read back.
class CCapture {
 public:
  CCapture() : m_file(std::tmpfile()) {}
  ~CCapture() { std::fclose(m_file); }
  std::FILE* File() const { return m_file; }
  std::string Text() const {
    std::fflush(m_file);
    std::string text;
    std::rewind(m_file);
    for (int c; (c = std::fgetc(m_file)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* m_file;
};

TEST(TerminalHostTest, MessageBoxesAreLinesOnTheOutputAndTheErrorBoxIsAnsweredOk) {
  CCapture out, bar;
  CTerminalHost host(out.File(), bar.File(), false);
  host.ShowFinished("Finished Converting");
  EXPECT_TRUE(host.AskError("ERROR: text", "ERROR"));
  host.OpenDocument("/here/mirqlog.txt");
  host.ShowCancelled("Progress Calcelled");
  EXPECT_EQ(out.Text(), "Finished Converting\nERROR: text\n/here/mirqlog.txt\nProgress Calcelled\n");
  EXPECT_EQ(bar.Text(), "");
}

TEST(TerminalHostTest, BarShowsFirstLineOfTextAndPercentOfARangeNotStartingAtZero) {
  CCapture out, bar;
  CTerminalHost host(out.File(), bar.File(), true);
  {
    auto popup = host.CreateProgressPopup("VALMERO", false);
    popup->SetRange(10, 14, 1);
    popup->SetText("copying file : from 'a'\n\tto 'b'");
    popup->SetPos(10);
    popup->StepIt();
    popup->StepIt();
    popup->StepIt();  // 75 %: the same text drawn again only because the percentage changed
  }
  std::string drawn = bar.Text();
  EXPECT_NE(drawn.find("VALMERO [                              ]   0% copying file : from 'a'"), std::string::npos);
  EXPECT_NE(drawn.find("  25% "), std::string::npos);
  EXPECT_NE(drawn.find("  75% "), std::string::npos);
  EXPECT_EQ(drawn.find("to 'b'"), std::string::npos);
  EXPECT_EQ(drawn.substr(drawn.size() - 4), "\r\033[K") << "the bar is wiped when the popup goes";
}

TEST(TerminalHostTest, ACancelRequestIsTakenByTheNextPumpOnly) {
  CCapture out, bar;
  CTerminalHost host(out.File(), bar.File(), false);
  auto popup = host.CreateProgressPopup("VALMERO", false);
  popup->PumpMessages(true);
  EXPECT_FALSE(popup->IsCancelled());
  host.RequestCancel();
  EXPECT_FALSE(popup->IsCancelled()) << "a request waits for a pump, as a key press waits in the queue";
  popup->PumpMessages(false);
  EXPECT_TRUE(popup->IsCancelled());
  auto next = host.CreateProgressPopup("VALMERO", false);
  next->PumpMessages(true);
  EXPECT_FALSE(next->IsCancelled()) << "the request was used up by the first popup";
}

}  // namespace
}  // namespace valmero
