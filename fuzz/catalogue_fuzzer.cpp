// Feeds arbitrary bytes to the catalogue reader and looks numbers up in what it kept.
#include <cstddef>
#include <cstdint>

#include "sources/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  valmero::CSongCatalogue catalogue;
  catalogue.ReadCatalogueBytes(data, size);
  valmero::TagScratch scratch = {};
  for (std::size_t i = 0; i < catalogue.Size(); ++i) catalogue.LookupCatalogue(catalogue.At(i).songNumber, scratch);
  catalogue.LookupCatalogue(0, scratch);
  return 0;
}
