// The Windows choosers and message boxes behind the controller's requests,
// for any window that asks them (the main dialog, the report window).
#pragma once

#include <windows.h>

#include <string>

#include "ui/common/dialog_view.h"

namespace valmero {

bool ChooseFolderOver(HWND owner, const char* title, std::string& folder);
// The chosen path, empty when the user cancels. A file to open must exist.
FileChoice ChooseFileOver(HWND owner, const FileRequest& request);
void ShowMessageOver(HWND owner, const std::string& text, const char* caption, MessageKind kind);

// The choosers and boxes of one window.
class CWindowBoxes : public IDialogBoxes {
 public:
  explicit CWindowBoxes(HWND owner) : m_owner(owner) {}
  bool ChooseFolder(const char* title, bool, std::string& folder) override {
    return ChooseFolderOver(m_owner, title, folder);
  }
  FileChoice ChooseFile(const FileRequest& request) override { return ChooseFileOver(m_owner, request); }
  void ShowMessage(const std::string& text, const char* caption, MessageKind kind) override {
    ShowMessageOver(m_owner, text, caption, kind);
  }

 private:
  HWND m_owner;
};

}  // namespace valmero
