// The songlist text file of a disc collection: one line per song,
//   NUMBER <sep> TITLE [<sep> SINGER]
// where a separator is any of TAB, '#' and '|'. Each song's NUMBER.mp3 and
// NUMBER.mcg lie in the folder of the songlist file.
#pragma once

#include <string>
#include <vector>

#include "core/run_host.h"
#include "core/song_list.h"

namespace valmero {

constexpr const char* UNREADABLE_SONGLIST_FORMAT = "can not read songlist file : %s";

// Empties the list and reads the songlist file at `source` into it, front to
// back in pieces. 0 when the reading ended normally (also with no song), -1
// when the file cannot be opened or is not a regular file, a read fails, a
// line has more than two separators, or the user cancelled (the popup is
// pumped every few hundred lines; a cancel shows "Progress Calcelled").
int ReadSonglistFile(const char* source, SongList& songs, IRunHost& host);

// Reads the songs of a songlist file's bytes (already read from `source`)
// and appends them; the same results as ReadSonglistFile once the file is open.
int ReadSonglistText(const char* source, const std::vector<char>& raw, SongList& songs, IRunHost& host);

// The folder the song files are looked for in: the source up to its last
// '/', but only when the source holds both a '/' and a '.'; else empty.
std::string SonglistSongFolder(const char* source);

}  // namespace valmero
