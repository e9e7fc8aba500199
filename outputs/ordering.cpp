#include "outputs/ordering.h"

#include "log/activity_log.h"
#include "outputs/exchange_sort.h"

namespace valmero {

void SortByNumber(SongList& songs) {
  ExchangeSort(songs, [](const std::unique_ptr<SongRecord>& a, const std::unique_ptr<SongRecord>& b) {
    return a->songNumber < b->songNumber ? -1 : (a->songNumber > b->songNumber ? 1 : 0);
  });
}

void RenumberSongs(SongList& songs) {
  int position = 0;
  for (auto& song : songs) {
    ++position;
    LogMessage("take a new song number %d -> %d", song->songNumber, position);
    song->newNumber = position;
  }
}

}  // namespace valmero
