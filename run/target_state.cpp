#include "run/target_state.h"

#include <cstring>

#include "core/song_record.h"
#include "platform/files.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// The folder a missing target would be made in.
std::string ParentOf(const char* target) {
  std::string parent = FolderOf(target);
  if (std::strchr(target, PATH_SEPARATOR) == nullptr) return ".";
  return parent.empty() ? std::string(1, PATH_SEPARATOR) : parent;
}

}  // namespace

TargetState TargetStateOf(const char* target) {
  if (IsFolder(target)) return CanWriteInFolder(target) ? TargetState::Ready : TargetState::NotWritable;
  if (PathExists(target)) return TargetState::NotAFolder;
  return CanWriteInFolder(ParentOf(target).c_str()) ? TargetState::ToBeMade : TargetState::CannotBeMade;
}

std::string TargetStateWords(TargetState state, const std::string& target) {
  switch (state) {
    case TargetState::Ready:
    case TargetState::ToBeMade: break;
    case TargetState::CannotBeMade:
      return "the target folder " + target + " cannot be made: its parent folder is missing or may not be written";
    case TargetState::NotAFolder: return "the target " + target + " is not a folder";
    case TargetState::NotWritable: return "the target folder " + target + " may not be written";
  }
  return {};
}

bool OutputPathFits(const char* target, std::size_t nameLength) {
  return std::strlen(target) + 1 + nameLength < PATH_SIZE;
}

}  // namespace valmero
