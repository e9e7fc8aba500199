// Renaming files inside one folder from old names to new ones that may be
// each other's old names: chains (00005 to 00006, 00006 to 00007, ...) and
// cycles. No file is ever replaced before it has moved on: a chain is moved
// from its free end back, and a cycle is opened by moving one file to a
// temporary name first. Cut short at any moment (a cancel, a kill, a power
// cut), every file is under its old name, its new name or a temporary name
// that the next run removes; a file lost that way is a copy its source still
// has.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace valmero {

struct FolderMove {
  std::string from;  // names in the folder
  std::string to;
};

enum class MoveOutcome { NotTried, Done, Failed };

// Carries out the moves in `folder`; each name appears at most once as a
// `from` and at most once as a `to`. `keepGoing` is asked before every
// rename; when it answers false nothing more is renamed (a file waiting
// under a temporary name is removed). One outcome per move.
std::vector<MoveOutcome> MoveWithinFolder(const std::string& folder, const std::vector<FolderMove>& moves,
                                          const std::function<bool()>& keepGoing);

}  // namespace valmero
