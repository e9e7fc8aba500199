#include "support/fake_host.h"

namespace valmero::testing {

namespace {

class CFakePopup : public IProgressPopup {
 public:
  CFakePopup(CFakeHost& host, std::size_t index) : m_host(host), m_index(index) {}
  void SetRange(int lower, int upper, int step) override {
    Record().lower = lower;
    Record().upper = upper;
    Record().step = step;
  }
  void SetText(const char* text) override { Record().texts.emplace_back(text); }
  int SetPos(int position) override {
    int previous = Record().position;
    Record().position = position;
    return previous;
  }
  int StepIt() override {
    ++Record().steps;
    return SetPos(Record().position + Record().step);
  }
  void PumpMessages(bool) override {
    if (Record().cancelled) return;
    ++Record().pumps;
    ++m_host.pumpCount;
    if (m_host.cancelAtPump != 0 && m_host.pumpCount == m_host.cancelAtPump) Record().cancelled = true;
  }
  bool IsCancelled() const override { return m_host.popups[m_index].cancelled; }

 private:
  PopupRecord& Record() { return m_host.popups[m_index]; }
  CFakeHost& m_host;
  std::size_t m_index;
};

}  // namespace

std::unique_ptr<IProgressPopup> CFakeHost::CreateProgressPopup(const char* title, bool) {
  popups.emplace_back();
  popups.back().title = title;
  return std::make_unique<CFakePopup>(*this, popups.size() - 1);
}

void CFakeHost::ShowFinished(const char* text) { events.push_back(std::string("finished: ") + text); }

bool CFakeHost::AskError(const char* text, const char* caption) {
  events.push_back(std::string("error: ") + caption + ": " + text);
  return answerErrorOk;
}

void CFakeHost::ShowCancelled(const char* text) {
  if (atCancelBox) atCancelBox();
  events.push_back(std::string("cancelled: ") + text);
}

void CFakeHost::OpenDocument(const char* path) { events.push_back(std::string("open: ") + path); }

}  // namespace valmero::testing
