// The download folder source: every MP3 file directly in a folder becomes a
// song numbered by its file name.
#pragma once

#include "core/run_host.h"
#include "core/song_list.h"
#include "sources/catalogue.h"

namespace valmero {

// Empties the list and scans `folder`. 0 when the listing was finished (also
// with no song), -1 when the user cancelled.
int ScanDownloadFolder(const char* folder, bool jukeList, const CSongCatalogue& catalogue,
                       TagScratch& scratch, SongList& songs, IRunHost& host);

// The song number in a file's name (greater than 0), or -1.
int SongNumberFromFileName(const char* path, int kind);

}  // namespace valmero
