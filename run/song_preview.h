// Reading a source the way a run would, without running it: the same songs in
// the same order with the numbers the run would give them, and nothing written
// (no output, no target folder, no line in the activity log, no message box).
// The dry run (`check`) and the song book both start from here.
#pragma once

#include <string>

#include "core/run_host.h"
#include "core/song_list.h"
#include "run/run_plan.h"
#include "sources/catalogue.h"

namespace valmero {

struct SongPreview {
  SongList songs;            // in the run's order, numbered as the run numbers them
  CSongCatalogue catalogue;  // products.cp of the start folder, as the run loads it
  int readResult = 0;        // the source reader's result: negative when it failed
};

// Loads the catalogue from startDir and reads `source` as MAKE with `plan`
// does: its reader, its order, its numbers. The activity log is held back
// meanwhile: nothing is logged.
void PreviewSongs(const char* startDir, const std::string& source, const RunPlan& plan, SongPreview& preview);
// The same, telling `listener` what the reader passes over (its notes); the
// listener must show nothing and never cancel.
void PreviewSongs(const char* startDir, const std::string& source, const RunPlan& plan, SongPreview& preview,
                  IRunHost& listener);

// The number the player shows for a song: its new number when the run
// renumbers, else the number of its name or line.
inline int32_t PlayerNumber(const SongRecord& song, bool renumber) {
  return renumber ? song.newNumber : song.songNumber;
}

}  // namespace valmero
