// What a run left in a target folder, file by file: to compare a target that
// was updated with one a fresh run filled, and to count what an update wrote.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace valmero::testing {

struct FileState {
  std::string bytes;
  int64_t modified = 0;  // nanoseconds since 1970 (seconds on Windows)
  uint64_t inode = 0;    // 0 on Windows
};
using FolderState = std::map<std::string, FileState>;

// The regular files directly in `folder`.
FolderState ReadFolderState(const std::string& folder);

// The files of `fresh` that `updated` lacks or holds with other bytes or,
// for song files, another date (the other outputs carry the time they were
// written), each with what differs; empty when every one is the same.
std::vector<std::string> DifferencesFrom(const FolderState& fresh, const FolderState& updated);

// Song files (numbered .MP3 and .MCG names) of `after` that a run wrote
// anew (a file `before` did not have) and that it moved (a file `before`
// had under another name).
struct WriteCount {
  int writtenAnew = 0;
  int moved = 0;
  bool operator==(const WriteCount& other) const {
    return writtenAnew == other.writtenAnew && moved == other.moved;
  }
};
WriteCount CountWrites(const FolderState& before, const FolderState& after);

// Links every file of `folder` into `hold` (an existing folder on the same
// file system), so that while they stay there no new file can be given one
// of their inode numbers and pass for an old one. False when a link fails.
bool HoldFiles(const std::string& folder, const std::string& hold);

}  // namespace valmero::testing
