// A scripted host for runs under test: records what the run showed and can
// cancel at a chosen pump.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/run_host.h"

namespace valmero::testing {

struct PopupRecord {
  std::string title;
  int lower = 0;
  int upper = 100;
  int step = 1;
  int position = 0;
  int steps = 0;
  int pumps = 0;
  std::vector<std::string> texts;
  bool cancelled = false;
};

class CFakeHost : public IRunHost {
 public:
  // Cancel when the Nth pump (counted from 1 across all popups) happens; 0: never.
  int cancelAtPump = 0;
  // The answer to the error box: true for OK.
  bool answerErrorOk = true;
  // Called as the cancel box shows, before it is answered (to look at the log then).
  std::function<void()> atCancelBox;

  std::vector<PopupRecord> popups;
  std::vector<std::string> events;  // "finished: ...", "error: ...", "cancelled: ...", "open: ..."
  int pumpCount = 0;

  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;
};

}  // namespace valmero::testing
