// Ordering the song list by number and giving the songs new numbers.
#pragma once

#include "core/song_list.h"

namespace valmero {

// Orders the list by songNumber, ascending, in the exchange sort's order.
void SortByNumber(SongList& songs);

// Sets newNumber of every song to its position counting from 1 and logs
// "take a new song number OLD -> NEW" for each.
void RenumberSongs(SongList& songs);

}  // namespace valmero
