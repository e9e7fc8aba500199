#include "ui/win32/file_chooser.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

namespace valmero {

bool ChooseFolderOver(HWND owner, const char* title, std::string& folder) {
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&browse);
  if (item == nullptr) return false;
  char path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListA(item, path)) path[0] = '\0';
  ::CoTaskMemFree(item);
  folder = path;
  return true;
}

FileChoice ChooseFileOver(HWND owner, const FileRequest& request) {
  // Pairs of "name\0pattern\0", ended by one more NUL.
  std::string filter;
  for (const FileKind& kind : request.kinds) {
    filter += kind.name + '\0' + kind.pattern + '\0';
  }
  filter += '\0';
  char path[MAX_PATH] = {};
  std::strncpy(path, request.name.c_str(), sizeof path - 1);
  OPENFILENAMEA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = path;
  chooser.nMaxFile = sizeof path;
  chooser.lpstrDefExt = request.defaultExtension;
  chooser.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  chooser.Flags = OFN_HIDEREADONLY | (request.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
  const BOOL chosen = request.save ? ::GetSaveFileNameA(&chooser) : ::GetOpenFileNameA(&chooser);
  FileChoice choice;
  if (!chosen) return choice;
  choice.path = path;
  choice.kind = chooser.nFilterIndex > 0 ? chooser.nFilterIndex - 1 : 0;
  return choice;
}

void ShowMessageOver(HWND owner, const std::string& text, const char* caption, MessageKind kind) {
  ::MessageBoxA(owner, text.c_str(), caption, MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace valmero
