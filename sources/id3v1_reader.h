// The ID3v1 tag: the last 128 bytes of an MP3 file, starting with "TAG".
//
//   offset  size  field
//        0     3  "TAG"
//        3    30  title    -> title
//       33    30  artist   -> singer
//       63    30  album    -> album
//       93     4  year     -> year (all four bytes, no terminator)
//       97    30  comment  -> comment
//      127     1  genre    -> m_nGenre
//
// Fields are taken as raw bytes: no trimming of padding, no conversion, no
// reading of a track number inside the comment.
#pragma once

#include <cstddef>

#include "core/song_record.h"

namespace valmero {

constexpr std::size_t ID3V1_SIZE = 128;

// Reads the tag into the scratch: 0 when a tag was read, 1 when the file
// holds none (scratch untouched; a file shorter than a tag holds none), -1
// when the file cannot be opened. The scratch is expected to be cleared: a
// 30-byte field fills only the first 30 bytes of its 60-byte text.
int ReadId3v1Tag(const char* path, TagScratch& scratch);

// The same for the file `name` in the open folder `folderFd`, which `path`
// names for the log; a folder scan opens each song without walking the
// folder's path again. CURRENT_FOLDER with the path as name is ReadId3v1Tag.
int ReadId3v1TagAt(int folderFd, const char* name, const char* path, TagScratch& scratch);

}  // namespace valmero
