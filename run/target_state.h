// What a run will meet in its target folder, found before it writes there,
// so that the dry run can foretell the failures MAKE will meet and MAKE can
// refuse what it cannot finish before it creates anything.
#pragma once

#include <cstddef>
#include <string>

namespace valmero {

enum class TargetState {
  Ready,         // a folder the run may write in
  ToBeMade,      // missing, inside a folder the run may write in: the run makes it
  CannotBeMade,  // missing, and its parent is missing or may not be written
  NotAFolder,    // a file (or something else) has the target's name
  NotWritable,   // a folder the run may not write in (rights, immutable, read-only disk)
};

TargetState TargetStateOf(const char* target);

// True when the run can write files in a target of this state.
inline bool CanWriteTarget(TargetState state) {
  return state == TargetState::Ready || state == TargetState::ToBeMade;
}

// Why no file can be written there, in words: "the target folder ... ".
std::string TargetStateWords(TargetState state, const std::string& target);

// True when the path of `name` in `target` fits a path buffer.
bool OutputPathFits(const char* target, std::size_t nameLength);

}  // namespace valmero
