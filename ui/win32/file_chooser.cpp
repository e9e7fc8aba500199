#include "ui/win32/file_chooser.h"

#include <commdlg.h>

#include <cstring>

namespace valmero {

std::string ChooseFile(HWND owner, const FileChoice& choice) {
  char path[MAX_PATH] = {};
  std::strncpy(path, choice.name, sizeof path - 1);
  OPENFILENAMEA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = choice.filter;
  chooser.lpstrFile = path;
  chooser.nMaxFile = sizeof path;
  chooser.lpstrDefExt = choice.extension;
  chooser.lpstrTitle = choice.title;
  chooser.Flags = OFN_HIDEREADONLY | (choice.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
  const BOOL chosen = choice.save ? ::GetSaveFileNameA(&chooser) : ::GetOpenFileNameA(&chooser);
  return chosen ? std::string(path) : std::string();
}

}  // namespace valmero
