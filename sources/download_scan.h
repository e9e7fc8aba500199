// sources/: the readers of a collection: this scan, the songlist reader,
// ID3v1 tags and the catalogue products.cp. They fill the song list and know
// nothing of the outputs.
//
// The download folder source: every MP3 file directly in a folder becomes a
// song numbered by its file name.
//
// Naming, tested on an upper-cased copy of the name (ASCII letters only):
// - a song is a name whose extension (the text after its last '.') begins
//   with "MP3"; every other entry is passed over without a word;
// - its kind is read from the four characters that start at the last '-':
//   "-IPS" gives KIND_IPS, "-MCG" KIND_MCG, anything else (or no '-')
//   KIND_PAIR; the first MP3 file of the listing fixes the kind of the run
//   and files of other kinds are passed over;
// - its number is the leading integer of the base name, with the last four
//   characters ("-IPS", "-MCG") removed first for those kinds.
#pragma once

#include "core/run_host.h"
#include "core/song_list.h"
#include "sources/catalogue.h"

namespace valmero {

constexpr const char* SCANNING_TEXT = "Scanning files...";
constexpr const char* UNREADABLE_FOLDER_FORMAT = "can not read download folder : %s";

// Empties the list and scans `folder`. 0 when the listing was finished (also
// with no song), -1 when the user cancelled or the folder cannot be listed.
int ScanDownloadFolder(const char* folder, bool jukeList, const CSongCatalogue& catalogue,
                       TagScratch& scratch, SongList& songs, IRunHost& host);

// The song number in a file's name (greater than 0), or -1.
int SongNumberFromFileName(const char* path, int kind);

// Whether a name is an MP3 song file, and its kind; `upperName` is the name
// upper-cased.
bool IsMp3FileName(const char* upperName);
int SongKindOfFileName(const char* upperName);

}  // namespace valmero
