// The ID3v1 tag: the last 128 bytes of an MP3 file, starting with "TAG".
#pragma once

#include "core/song_record.h"

namespace valmero {

// Reads the tag into the scratch: 0 when a tag was read, 1 when the file
// holds none (scratch untouched), -1 when the file cannot be opened.
int ReadId3v1Tag(const char* path, TagScratch& scratch);

}  // namespace valmero
