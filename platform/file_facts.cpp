#include "platform/file_facts.h"

#include <filesystem>
#include <system_error>

namespace valmero {

namespace fs = std::filesystem;

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool SizeOfFile(const std::string& path, uint64_t& size) {
  std::error_code error;
  const uintmax_t bytes = fs::file_size(path, error);
  if (error) return false;
  size = bytes;
  return true;
}

bool FreeSpaceNear(const std::string& path, uint64_t& available) {
  fs::path where = fs::absolute(path);
  std::error_code error;
  while (!fs::is_directory(where, error) && where.has_relative_path()) where = where.parent_path();
  const fs::space_info space = fs::space(where, error);
  if (error) return false;
  available = space.available;
  return true;
}

std::string FolderOfLinkedFile(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return std::string();
  const fs::path real = fs::canonical(path, error);
  return error ? std::string() : real.parent_path().string();
}

std::string ParentFolderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

}  // namespace valmero
