// outputs/: what a run writes: this index (its spelling rule in
// singer_index.h), LIST.TXT and SCDG.CFG (text_lists.h), and the copies
// (song_copier.h). They know nothing of the readers.
//
// ENGLISH.KVX: the file through which the karaoke player finds songs by
// singer and by title.
//
// Byte format. Every number is a signed 32-bit value stored big-endian (most
// significant byte first). Every text is at most 23 bytes, then a NUL, then
// zero bytes to the end of its 24-byte field. No checksum, version or end
// marker; with G singer records and T title records the file is
// 16 + 32 * (G + T) bytes long.
//
//   header, at offset 0 (16 bytes)
//     0   3  "ENG" (45 4E 47)
//     3   1  0
//     4   4  T, the number of title records
//     8   4  G, the number of singer records
//    12   4  0
//   singer record i, at 16 + 32*i (32 bytes), ascending by name
//     0  24  name
//    24   4  the number of title records that point to this singer
//    28   4  the singer's id, equal to i
//   title record k, at 16 + 32*G + 32*k (32 bytes), ascending by title
//     0  24  title
//    24   4  the number of the singer record of the song's singer
//    28   4  the song's published number (it also names the song's files)
//
// Note the header gives T before G, while the singer records come first; and
// a singer record has its count before its id, while a title record has its
// singer before its number. Names and titles are ordered by their bytes as
// unsigned values; equal titles stand in the order of the exchange sort.
#pragma once

#include "outputs/singer_index.h"

namespace valmero {

constexpr std::size_t KVX_HEADER_SIZE = 16;
constexpr std::size_t KVX_RECORD_SIZE = 32;
constexpr std::size_t KVX_NUMBER_OFFSET = 24;
constexpr std::size_t KVX_SECOND_NUMBER_OFFSET = 28;

// Writes "<target>/ENGLISH.KVX" from both sorted tables. The file appears
// only when complete, replacing the old one. -1 when it cannot be created
// ("incorrect output filename", no file left) or when writing fails after
// that ("can not write "PATH" file", the old file untouched); 0 otherwise.
int WriteIndexFile(const char* target, const SingerIndex& index);

}  // namespace valmero
