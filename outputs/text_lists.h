// LIST.TXT and SCDG.CFG: one CR LF line per song.
#pragma once

#include "core/song_list.h"

namespace valmero {

// "%05d|%s|%s" lines; 0 when written, -1 when not.
int WriteListFile(const char* target, SongList& songs, bool indexRenumber);

// "%05d#%s#%s" lines; 0 when written, -1 when not.
int WriteConfigFile(const char* target, SongList& songs, bool configRenumber, bool configKeep);

}  // namespace valmero
