#include "run/target_rule.h"

#include <cstring>

#include "core/song_record.h"
#include "platform/path_separator.h"

namespace valmero {

std::string SubfolderTarget(const char* source, bool discSource) {
  std::string target;
  if (!discSource) {
    target = std::string(source) + VALMERO_SEP "KVX";
  } else if (std::strchr(source, PATH_SEPARATOR) != nullptr && std::strchr(source, '.') != nullptr) {
    target = std::string(source, static_cast<std::size_t>(std::strrchr(source, PATH_SEPARATOR) - source)) + VALMERO_SEP "KVX";
  } else {
    target = VALMERO_SEP "KVX";
  }
  if (target.size() >= PATH_SIZE) target.clear();
  return target;
}

}  // namespace valmero
