#include "run/target_rule.h"

#include <cstring>

#include "core/song_record.h"

namespace valmero {

std::string SubfolderTarget(const char* source, bool discSource) {
  std::string target;
  if (!discSource) {
    target = std::string(source) + "/KVX";
  } else if (std::strchr(source, '/') != nullptr && std::strchr(source, '.') != nullptr) {
    target = std::string(source, static_cast<std::size_t>(std::strrchr(source, '/') - source)) + "/KVX";
  } else {
    target = "/KVX";
  }
  if (target.size() >= PATH_SIZE) target.clear();
  return target;
}

}  // namespace valmero
