// The song catalogue products.cp: title and singer for song numbers, used
// for downloaded files that carry no tag.
//
// File format, all numbers 32-bit little-endian, records back to back until
// the end of the file, no header:
//   int32 songNumber
//   int32 titleLength T,  T bytes of title,  each byte stored complemented (255 - b)
//   int32 singerLength S, S bytes of singer, each byte stored complemented
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/song_record.h"

namespace valmero {

class CByteStream;

struct CatalogueEntry {
  int32_t songNumber;
  int32_t titleLength;
  char title[PATH_SIZE];
  int32_t singerLength;
  char singer[PATH_SIZE];
};

class CSongCatalogue {
 public:
  // Loads "<startDir>/products.cp" and appends its records, reading the file
  // front to back in pieces. 0 when the file was read (a damaged tail or a
  // read error is logged and the records before it kept), -1 when it cannot
  // be opened, is not a regular file, or there is no start folder.
  int ReadCatalogue(const char* startDir);

  // Parses catalogue bytes; what ReadCatalogue does once the file is read.
  void ReadCatalogueBytes(const unsigned char* data, std::size_t size);

  // The first entry with this number sets the scratch's title and singer
  // (cut to 59 characters); 0 when found, -1 otherwise.
  int LookupCatalogue(int32_t number, TagScratch& scratch) const;

  // Frees every entry.
  void Clear();

  std::size_t Size() const { return m_catalogue.size(); }
  const CatalogueEntry& At(std::size_t index) const { return *m_catalogue[index]; }

 private:
  // Appends the records of a stream; the number of whole records read.
  int ReadRecords(CByteStream& bytes);

  std::vector<std::unique_ptr<CatalogueEntry>> m_catalogue;
  std::unordered_map<int32_t, const CatalogueEntry*> m_firstByNumber;
};

}  // namespace valmero
