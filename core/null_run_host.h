// A host that shows nothing and never cancels: for batch work where nobody
// watches, such as measuring the stages or feeding readers arbitrary bytes.
#pragma once

#include "core/run_host.h"

namespace valmero {

class CNullProgress : public IProgressPopup {
 public:
  void SetRange(int, int, int) override {}
  void SetText(const char*) override {}
  int SetPos(int) override { return 0; }
  int StepIt() override { return 0; }
  void PumpMessages(bool) override {}
  bool IsCancelled() const override { return false; }
};

class CNullHost : public IRunHost {
 public:
  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char*, bool) override {
    return std::make_unique<CNullProgress>();
  }
  void ShowFinished(const char*) override {}
  bool AskError(const char*, const char*) override { return false; }
  void ShowCancelled(const char*) override {}
  void OpenDocument(const char*) override {}
};

}  // namespace valmero
