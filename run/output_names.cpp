#include "run/output_names.h"

#include <algorithm>
#include <cstring>

#include "outputs/song_copier.h"
#include "platform/ascii_case.h"
#include "platform/path_separator.h"
#include "platform/same_file.h"

namespace valmero {

std::vector<std::string> ListNamesOf(const RunPlan& plan) {
  std::vector<std::string> names;
  if (plan.WritesIndex()) names.push_back("ENGLISH.KVX");
  if (plan.WritesList()) names.push_back("LIST.TXT");
  if (plan.WritesConfig()) names.push_back("SCDG.CFG");
  return names;
}

std::size_t LongestSureName(const RunPlan& plan) {
  std::size_t longest = plan.Copies() ? std::strlen("00001.MP3") : 0;
  for (const std::string& name : ListNamesOf(plan)) longest = std::max(longest, name.size());
  return longest;
}

std::vector<std::string> OutputNamesOf(const RunPlan& plan, const SongList& songs) {
  std::vector<std::string> names = ListNamesOf(plan);
  if (!plan.Copies()) return names;
  for (const auto& song : songs) {
    for (std::string& name : CopyNamesOf(*song)) names.push_back(std::move(name));
  }
  return names;
}

std::string OutputReplacing(const char* target, const RunPlan& plan, const SongList& songs, const char* file) {
  auto replacing = [&](const std::string& name) {
    std::string path = std::string(target) + PATH_SEPARATOR + name;
    return WouldReplaceFile(path.c_str(), file) ? path : std::string();
  };
  for (const std::string& name : ListNamesOf(plan)) {
    std::string path = replacing(name);
    if (!path.empty()) return path;
  }
  if (!plan.Copies()) return {};
  const char* separator = std::strrchr(file, PATH_SEPARATOR);
  const std::string fileName = UpperAscii(separator == nullptr ? file : separator + 1);
  for (const auto& song : songs) {
    for (const std::string& name : CopyNamesOf(*song)) {
      if (name != fileName) continue;  // copy names are in capitals
      std::string path = replacing(name);
      if (!path.empty()) return path;
    }
  }
  return {};
}

}  // namespace valmero
