// Feeds arbitrary bytes to the songlist reader as the contents of a songlist file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/null_host.h"
#include "sources/songlist_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static valmero::CNullHost host;
  std::vector<char> raw(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
  valmero::SongList songs;
  valmero::ReadSonglistText("no-such-folder/list.txt", raw, songs, host);
  return 0;
}
