#include "book/book_order.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

#include "run/song_preview.h"

namespace valmero {

namespace {

std::string CutAtLastLineFeed(const char* text) {
  const char* lineFeed = std::strrchr(text, '\n');
  return lineFeed ? std::string(text, lineFeed) : std::string(text);
}

// Byte-wise on unsigned values: char_traits<char> compares as unsigned char.
bool Before(const std::string& a, const std::string& b) { return a < b; }

}  // namespace

std::string UpperCased(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  return upper;
}

char HeadingOf(std::string_view text) {
  unsigned char first = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
  if (first >= 'a' && first <= 'z') first = static_cast<unsigned char>(first - ('a' - 'A'));
  if (first >= 'A' && first <= 'Z') return static_cast<char>(first);
  return first < 'A' ? '#' : '~';
}

std::vector<BookSong> BookSongsOf(const SongList& songs, bool renumber) {
  std::vector<BookSong> book;
  book.reserve(songs.size());
  for (const auto& song : songs) {
    BookSong entry{CutAtLastLineFeed(song->title), CutAtLastLineFeed(song->singer), PlayerNumber(*song, renumber)};
    entry.titleHeading = HeadingOf(entry.title);
    book.push_back(std::move(entry));
  }
  return book;
}

std::vector<BookGroup> GroupBySinger(const std::vector<BookSong>& songs) {
  std::vector<std::string> singerKeys(songs.size());
  std::vector<std::string> titleKeys(songs.size());
  for (std::size_t i = 0; i < songs.size(); ++i) {
    singerKeys[i] = UpperCased(songs[i].singer);
    titleKeys[i] = UpperCased(songs[i].title);
  }
  std::vector<std::size_t> order(songs.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (singerKeys[a] != singerKeys[b]) return Before(singerKeys[a], singerKeys[b]);
    return Before(titleKeys[a], titleKeys[b]);
  });
  std::vector<BookGroup> groups;
  for (std::size_t song : order) {
    if (groups.empty() || groups.back().key != singerKeys[song]) {
      groups.push_back({singerKeys[song], songs[song].singer, HeadingOf(singerKeys[song]), {}});
    }
    groups.back().songs.push_back(song);
  }
  // Named as the run's first song of the singer writes it, not the first by title.
  for (BookGroup& group : groups) {
    group.name = songs[*std::min_element(group.songs.begin(), group.songs.end())].singer;
  }
  return groups;
}

std::vector<std::size_t> OrderByTitle(const std::vector<BookSong>& songs) {
  std::vector<std::pair<std::string, std::string>> keys(songs.size());
  for (std::size_t i = 0; i < songs.size(); ++i) keys[i] = {UpperCased(songs[i].title), UpperCased(songs[i].singer)};
  std::vector<std::size_t> order(songs.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (keys[a].first != keys[b].first) return Before(keys[a].first, keys[b].first);
    return Before(keys[a].second, keys[b].second);
  });
  return order;
}

}  // namespace valmero
