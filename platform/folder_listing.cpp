#include "platform/folder_listing.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_case.h"

namespace valmero {

namespace {

// The listing order on names whose upper-cased keys are already made.
// std::string compares through char_traits<char>, which orders bytes as
// unsigned values, so names with bytes above 127 sort after ASCII ones on
// every platform, whatever the signedness of char.
bool KeyedBefore(const KeyedEntry& a, const KeyedEntry& b) {
  int byUpper = a.upper.compare(b.upper);
  if (byUpper != 0) return byUpper < 0;
  return a.entry.name.compare(b.entry.name) < 0;
}

}  // namespace

bool ListsBefore(const std::string& a, const std::string& b) {
  return KeyedBefore({UpperAscii(a), {a, false}}, {UpperAscii(b), {b, false}});
}

bool ListFolderKeyed(const char* folder, std::vector<KeyedEntry>& entries) {
  entries.clear();
  if (!ReadFolderEntries(folder, entries)) {
    entries.clear();
    return false;
  }
  // The upper-cased key is made once per entry rather than at every compare.
  std::sort(entries.begin(), entries.end(), &KeyedBefore);
  return true;
}

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::vector<KeyedEntry> keyed;
  if (!ListFolderKeyed(folder, keyed)) return false;
  entries.reserve(keyed.size());
  for (KeyedEntry& item : keyed) entries.push_back(std::move(item.entry));
  return true;
}

}  // namespace valmero
