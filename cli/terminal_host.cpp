#include "cli/terminal_host.h"

#include <csignal>
#include <cstring>
#include <string>

#include "platform/console.h"

namespace valmero {

namespace {

class CTerminalProgress : public IProgressPopup {
 public:
  CTerminalProgress(CTerminalHost& host, std::FILE* bar, bool show, const char* title)
      : m_host(host), m_bar(bar), m_show(show), m_title(title) {}
  ~CTerminalProgress() override {
    if (m_drawn) std::fputs("\r\033[K", m_bar);
  }

  void SetRange(int lower, int upper, int step) override {
    m_lower = lower;
    m_upper = upper;
    m_step = step;
  }
  void SetText(const char* text) override {
    // The first line is enough for a terminal; the rest names the transfer.
    const char* end = std::strchr(text, '\n');
    m_text.assign(text, end == nullptr ? std::strlen(text) : static_cast<std::size_t>(end - text));
    m_dirty = true;
  }
  int SetPos(int position) override {
    int previous = m_pos;
    m_pos = position;
    Draw();
    return previous;
  }
  int StepIt() override { return SetPos(m_pos + m_step); }
  void PumpMessages(bool) override {
    if (m_cancelled) return;
    if (m_host.TakeCancelRequest()) {
      m_cancelled = true;
      if (m_drawn) std::fputs("\r\033[K", m_bar);
      m_drawn = false;
    }
  }
  bool IsCancelled() const override { return m_cancelled; }

 private:
  void Draw() {
    if (!m_show) return;
    int percent = ProgressPercent(m_pos, m_lower, m_upper);
    if (percent == m_lastPercent && !m_dirty) return;
    m_lastPercent = percent;
    m_dirty = false;
    int filled = percent < 0 ? 0 : (percent > 100 ? 30 : percent * 30 / 100);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(30, ' ');
    std::string text = m_text.size() > 40 ? m_text.substr(0, 37) + "..." : m_text;
    std::fprintf(m_bar, "\r\033[K%s [%s] %3d%% %s", m_title.c_str(), bar.c_str(), percent, text.c_str());
    std::fflush(m_bar);
    m_drawn = true;
  }

  CTerminalHost& m_host;
  std::FILE* m_bar;
  bool m_show;
  std::string m_title;
  std::string m_text;
  int m_lower = 0;
  int m_upper = 100;
  int m_step = 1;
  int m_pos = 0;
  int m_lastPercent = -1;
  bool m_dirty = false;
  bool m_drawn = false;
  bool m_cancelled = false;
};

}  // namespace

CTerminalHost::CTerminalHost(std::FILE* out, std::FILE* bar, bool showBar)
    : m_out(out), m_bar(bar), m_showBar(showBar) {}

std::unique_ptr<IProgressPopup> CTerminalHost::CreateProgressPopup(const char* title, bool) {
  return std::make_unique<CTerminalProgress>(*this, m_bar, m_showBar, title);
}

void CTerminalHost::ShowFinished(const char* text) {
  std::fprintf(m_out, "%s\n", text);
  std::fflush(m_out);
}

bool CTerminalHost::AskError(const char* text, const char*) {
  std::fprintf(m_out, "%s\n", text);
  std::fflush(m_out);
  return true;  // OK: the log's path follows through OpenDocument.
}

void CTerminalHost::Note(const RunNote& note) {
  if (IsDroppedSong(note.code)) ++m_tally.dropped;
  if (note.code == RunNoteCode::FileCopied) ++m_tally.filesCopied;
  if (note.code == RunNoteCode::CopyFailed) ++m_tally.copiesFailed;
  if (note.code == RunNoteCode::FileInPlace) ++m_tally.filesInPlace;
  if (note.code == RunNoteCode::FileMoved) ++m_tally.filesMoved;
}

void CTerminalHost::ShowCancelled(const char* text) {
  m_tally.cancelled = true;
  std::fprintf(m_out, "%s\n", text);
  std::fflush(m_out);
}

void CTerminalHost::OpenDocument(const char* path) {
  std::fprintf(m_out, "%s\n", path);
  std::fflush(m_out);
}

CTerminalHost::~CTerminalHost() {
  if (m_bInterruptTaken) TurnInterruptIntoFlag(nullptr);
}

void CTerminalHost::TurnInterruptIntoCancel() {
  TurnInterruptIntoFlag(&m_cancelPending);
  m_bInterruptTaken = true;
}

bool CTerminalHost::TakeCancelRequest() {
  if (!m_cancelPending) return false;
  if (m_cancelPending > 0) m_cancelSignal = m_cancelPending;
  m_cancelPending = 0;
  return true;
}

}  // namespace valmero
