// core/: what every stage shares: the song record and list (song_list.h),
// fixed-size texts, and the interface a front end implements (run_host.h).
//
// The record every stage of a conversion run works on, and the tag scratch
// through which the tag readers hand their texts to the download folder scan.
#pragma once

#include <cstddef>
#include <cstdint>

namespace valmero {

// A path buffer holds at most 259 characters and its terminating NUL.
constexpr std::size_t PATH_SIZE = 260;
// Tag texts: at most 59 characters and a NUL.
constexpr std::size_t TEXT_SIZE = 60;
// The year holds exactly four characters, without terminator when full.
constexpr std::size_t YEAR_SIZE = 4;

// How a song's files are named and grouped. Songs read from a songlist file
// have kind 0; every stage treats it like KIND_PAIR.
enum SongKind : int32_t {
  KIND_SONGLIST = 0,
  KIND_PAIR = 2,
  KIND_IPS = 5,
  KIND_MCG = 6,
};

// The tag texts of one song, in the order of the record.
struct TagFields {
  char title[TEXT_SIZE];
  char singer[TEXT_SIZE];
  char album[TEXT_SIZE];
  char year[YEAR_SIZE];
  char comment[TEXT_SIZE];
};

// The current-tag scratch: filled by the ID3v1 reader or the catalogue
// lookup, copied as one block into each downloaded song's record.
struct TagScratch {
  TagFields m_tag;
  uint8_t m_nGenre;
};

struct SongRecord {
  char path[PATH_SIZE];
  char title[TEXT_SIZE];
  char singer[TEXT_SIZE];
  char album[TEXT_SIZE];
  char year[YEAR_SIZE];
  char comment[TEXT_SIZE];
  uint8_t genre;
  int32_t songNumber;
  int32_t newNumber;
  int32_t kind;

  // Records come from a pool of large blocks whose pages are mapped in one
  // go (core/record_pool.cpp): a collection of 100,000 songs costs a few
  // dozen mappings instead of 100,000 allocations and 13,000 page faults.
  static void* operator new(std::size_t size);
  static void operator delete(void* record) noexcept;
};

// How many blocks the record pool has taken from the system since the
// program started (0 where records come from the heap): each costs a
// mapping and the zeroing of its pages.
std::size_t RecordBlocksTaken();

// Sets every byte of the scratch to zero: five empty texts and genre 0.
void ClearTagFields(TagScratch& scratch);

// Copies the whole scratch block (five texts and the genre) into a record.
void CopyTagBlock(const TagScratch& scratch, SongRecord& record);

}  // namespace valmero
