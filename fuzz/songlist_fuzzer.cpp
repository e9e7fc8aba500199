// Feeds arbitrary bytes to the songlist reader as the contents of a songlist
// file that lies beside a few song files, so that lines whose numbers name
// them go on to their title and singer. The folder is in memory (see
// memory_folder.h); the reader cannot tell.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/memory_folder.h"
#include "core/null_run_host.h"
#include "sources/songlist_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static valmero::CNullHost host;
  static const std::string source = std::string(valmero::fuzz::MEMORY_FOLDER) + "/list.txt";
  std::vector<char> raw(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
  valmero::SongList songs;
  valmero::ReadSonglistText(source.c_str(), raw, songs, host);
  return 0;
}
