// Feeds arbitrary names to the download folder's naming rules: whether a name
// is a song, its kind, and the song number of a path. The first byte picks
// the kind the number is read for; the rest is the name, which the scan puts
// behind its folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/fixed_text.h"
#include "core/song_record.h"
#include "sources/download_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const int kinds[] = {valmero::KIND_PAIR, valmero::KIND_IPS, valmero::KIND_MCG, valmero::KIND_SONGLIST};
  int askedKind = kinds[data[0] % 4];
  std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
  name = name.c_str();  // the names a folder listing gives end at their first NUL

  std::string upperName = name;
  valmero::UpperCaseAscii(upperName.data());
  valmero::IsMp3FileName(upperName.c_str());
  int kind = valmero::SongKindOfFileName(upperName.c_str());
  if (kind != valmero::KIND_PAIR && kind != valmero::KIND_IPS && kind != valmero::KIND_MCG) std::abort();

  // The number comes from the name alone: the folder before it changes nothing.
  std::string path = "/folder/" + name;
  int number = valmero::SongNumberFromFileName(path.c_str(), askedKind);
  if (number != -1 && number <= 0) std::abort();
  if (valmero::SongNumberFromFileName(("other" + path).c_str(), askedKind) != number) std::abort();
  valmero::SongNumberFromFileName(name.c_str(), kind);
  return 0;
}
