// The files a run writes into its target folder, by the names they get there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/song_list.h"
#include "run/run_plan.h"

namespace valmero {

// The names of the index and the text lists the run writes.
std::vector<std::string> ListNamesOf(const RunPlan& plan);

// The longest name the run is sure to write: the index's or a list's, or
// when it copies, the shortest name of a copy ("00001.MP3"). 0 for none.
std::size_t LongestSureName(const RunPlan& plan);

// Those and, when the run copies, every name a song is copied under.
std::vector<std::string> OutputNamesOf(const RunPlan& plan, const SongList& songs);

// The path in `target` of an output that would take the place of `file` (a
// songlist the run reads), or empty when none would. The index and the lists
// are looked at as files (links and other spellings); a copy only when its
// name is the file's, since copies are renamed into place and so replace
// the entry of their own name alone.
std::string OutputReplacing(const char* target, const RunPlan& plan, const SongList& songs, const char* file);

constexpr const char* REPLACED_SONGLIST_FORMAT = "the outputs would replace the songlist file : %s";

}  // namespace valmero
