#include "support/collection.h"

#include <filesystem>

#include "support/temp_dir.h"

namespace valmero::testing {

std::string TaggedMp3(const std::string& title, const std::string& singer) {
  std::string tag(128, '\0');
  tag.replace(0, 3, "TAG");
  tag.replace(3, title.size(), title);
  tag.replace(33, singer.size(), singer);
  return UntaggedMp3() + tag;
}

std::string UntaggedMp3() { return std::string(300, '\x55'); }

Files ReadTree(const std::string& folder) {
  Files files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::string relative = it->path().lexically_relative(folder).string();
    files[relative] = it->is_directory() ? "<folder>" : ReadFile(it->path().string());
  }
  return files;
}

}  // namespace valmero::testing
