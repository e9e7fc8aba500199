// What a conversion run needs from a front end: a progress popup, three
// message boxes and opening a document. The desktop program implements it
// with windows, the command-line program with the terminal, tests with a
// scripted fake.
#pragma once

#include <memory>

#include "core/fixed_text.h"

namespace valmero {

// The popup that long loops show. SetText receives finished text; use
// SetProgressText to format it.
class IProgressPopup {
 public:
  virtual ~IProgressPopup() = default;
  virtual void SetRange(int lower, int upper, int step) = 0;
  virtual void SetText(const char* text) = 0;
  virtual int SetPos(int position) = 0;
  virtual int StepIt() = 0;
  // Handles what is waiting (repaint, the Cancel button, ESC when allowed).
  virtual void PumpMessages(bool allowEscape) = 0;
  virtual bool IsCancelled() const = 0;
};

class IRunHost {
 public:
  virtual ~IRunHost() = default;
  // Shown until the returned object is destroyed.
  virtual std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) = 0;
  // The application's box with only an OK button ("Finished Converting").
  virtual void ShowFinished(const char* text) = 0;
  // The main window's box with OK and Cancel; true when OK was pressed.
  virtual bool AskError(const char* text, const char* caption) = 0;
  // The main window's box with an OK button ("Progress Calcelled").
  virtual void ShowCancelled(const char* text) = 0;
  // Asks the platform to open a document with its associated program.
  virtual void OpenDocument(const char* path) = 0;
};

// printf into at most 511 characters, then IProgressPopup::SetText.
void SetProgressText(IProgressPopup& popup, const char* format, ...)
    VALMERO_PRINTF(2, 3);

// The whole percentage a popup shows for a position: half up, 0 for an empty
// range, above 100 past the upper bound.
int ProgressPercent(int position, int lower, int upper);

constexpr const char* PROGRESS_TITLE = "VALMERO";
constexpr const char* CANCELLED_TEXT = "Progress Calcelled";

}  // namespace valmero
