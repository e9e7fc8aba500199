#include "support/target_state.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/path_separator.h"
#include "support/temp_dir.h"

namespace valmero::testing {

namespace {

bool IsSongFile(const std::string& name) {
  return name.size() > 4 && (name.compare(name.size() - 4, 4, ".MP3") == 0 || name.compare(name.size() - 4, 4, ".MCG") == 0);
}

}  // namespace

FolderState ReadFolderState(const std::string& folder) {
  FolderState state;
  for (const std::string& name : ListNames(folder)) {
    std::string path = folder + PATH_SEPARATOR + name;
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    FileState file;
    file.bytes = ReadFile(path);
#ifdef _WIN32
    file.modified = static_cast<int64_t>(status.st_mtime);
#else
    file.modified = static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    file.inode = status.st_ino;
#endif
    state[name] = std::move(file);
  }
  return state;
}

std::vector<std::string> DifferencesFrom(const FolderState& fresh, const FolderState& updated) {
  std::vector<std::string> differences;
  for (const auto& [name, file] : fresh) {
    auto other = updated.find(name);
    if (other == updated.end()) differences.push_back(name + ": missing");
    else if (other->second.bytes != file.bytes) differences.push_back(name + ": other bytes");
    else if (IsSongFile(name) && other->second.modified != file.modified) differences.push_back(name + ": another date");
  }
  return differences;
}

WriteCount CountWrites(const FolderState& before, const FolderState& after) {
  std::map<uint64_t, std::string> nameOfInode;
  for (const auto& [name, file] : before) nameOfInode[file.inode] = name;
  WriteCount count;
  for (const auto& [name, file] : after) {
    if (!IsSongFile(name)) continue;
    auto earlier = nameOfInode.find(file.inode);
    if (earlier == nameOfInode.end()) ++count.writtenAnew;
    else if (earlier->second != name) ++count.moved;
  }
  return count;
}

bool HoldFiles(const std::string& folder, const std::string& hold) {
  for (const std::string& name : ListNames(folder)) {
    std::error_code error;
    std::filesystem::create_hard_link(folder + PATH_SEPARATOR + name, hold + PATH_SEPARATOR + name, error);
    if (error) return false;
  }
  return true;
}

}  // namespace valmero::testing
