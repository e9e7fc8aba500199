// The listing order is the same on every platform, whatever lists the folder.
#include <string>

#include "platform/folder_listing.h"

namespace valmero {

namespace {

std::string UpperAscii(const std::string& text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

}  // namespace

// std::string compares through char_traits<char>, which orders bytes as
// unsigned values, so names with bytes above 127 sort after ASCII ones on
// every platform, whatever the signedness of char.
bool ListsBefore(const std::string& a, const std::string& b) {
  int byUpper = UpperAscii(a).compare(UpperAscii(b));
  if (byUpper != 0) return byUpper < 0;
  return a.compare(b) < 0;
}

}  // namespace valmero
