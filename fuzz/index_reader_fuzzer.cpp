// Feeds arbitrary bytes to the ENGLISH.KVX reader behind valmero-cli inspect.
// A sound verdict must agree with the header's own length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "outputs/index_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  valmero::KvxContents contents;
  valmero::KvxFault fault;
  bool sound = valmero::ReadIndexImage(data, size, contents, fault);
  if (sound && valmero::KvxLengthFromHeader(data, size) != size) std::abort();
  if (!sound && fault.offset > size) std::abort();
  return 0;
}
