#include "book/book_order.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "book/name_folding.h"
#include "core/fixed_text.h"
#include "run/song_preview.h"

namespace valmero {

namespace {

constexpr int32_t HIGHEST_KEYABLE_NUMBER = 99999;

// A name's place: its heading, then the reader's key, then accents, then
// the text itself, so that different texts never compare equal.
struct NameKey {
  int rank = 0;
  std::string lookup;
  std::string accent;
  std::string text;

  bool operator<(const NameKey& other) const {
    return std::tie(rank, lookup, accent, text) < std::tie(other.rank, other.lookup, other.accent, other.text);
  }
};

NameKey KeyOfName(const std::string& text, const std::string& lookup, const LetterHeading& heading) {
  return {heading.rank, lookup, AccentKey(text), text};
}

// The spelling most songs use; the first of the run's songs on a tie.
std::string MostUsedSpelling(const std::vector<std::size_t>& songs, const std::vector<std::string>& spellings) {
  std::map<std::string, std::size_t> uses;
  for (std::size_t song : songs) ++uses[spellings[song]];
  const std::string* best = nullptr;
  std::size_t bestUses = 0;
  for (std::size_t song : songs) {  // run order: the first of equals wins
    std::size_t count = uses[spellings[song]];
    if (count > bestUses) {
      best = &spellings[song];
      bestUses = count;
    }
  }
  return best ? *best : std::string();
}

bool StartsWithThe(const std::string& name) {
  return name.size() > 4 && (name[0] == 'T' || name[0] == 't') && (name[1] == 'H' || name[1] == 'h') &&
         (name[2] == 'E' || name[2] == 'e') && name[3] == ' ' && name.find_first_not_of(' ', 4) != std::string::npos;
}

}  // namespace

std::vector<BookSong> BookSongsOf(const SongList& songs, bool renumber) {
  std::vector<BookSong> book;
  book.reserve(songs.size());
  for (const auto& song : songs) {
    BookSong entry;
    entry.title = TextBeforeLastLineFeed(song->title);
    entry.singer = TextBeforeLastLineFeed(song->singer);
    entry.number = PlayerNumber(*song, renumber);
    book.push_back(std::move(entry));
  }
  return book;
}

std::vector<BookSong> ListableSongs(const std::vector<BookSong>& songs, LeftOutSongs& leftOut) {
  leftOut = LeftOutSongs();
  std::vector<BookSong> listed;
  listed.reserve(songs.size());
  std::set<std::tuple<int32_t, std::string, std::string>> seen;
  for (const BookSong& song : songs) {
    if (song.number < 1 || song.number > HIGHEST_KEYABLE_NUMBER) {
      ++leftOut.withoutNumber;
    } else if (song.title.find_first_not_of(' ') == std::string::npos &&
               song.singer.find_first_not_of(' ') == std::string::npos) {
      ++leftOut.withoutTexts;
    } else if (!seen.emplace(song.number, song.title, song.singer).second) {
      ++leftOut.duplicates;
    } else {
      listed.push_back(song);
    }
  }
  return listed;
}

std::string SingerAsListed(const std::string& singer, bool keepThe) {
  const std::size_t start = singer.find_first_not_of(' ');
  if (keepThe || start == std::string::npos || !StartsWithThe(singer.substr(start))) return singer;
  const std::string article = singer.substr(start, 3);
  const std::size_t rest = singer.find_first_not_of(' ', start + 4);
  return singer.substr(rest) + ", " + article;
}

void OrderBook(std::vector<BookSong>& songs, const OrderOptions& options, std::vector<BookGroup>& singers,
               std::vector<std::size_t>& titles) {
  const std::size_t count = songs.size();
  std::vector<std::string> listedNames(count);
  std::vector<NameKey> titleKeys(count);
  std::unordered_map<std::string, std::size_t> groupOfKey;
  std::vector<BookGroup> groups;
  std::vector<std::string> groupKeys;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string titleLookup = LookupKey(songs[i].title);
    songs[i].titleHeading = HeadingOfKey(titleLookup, options.language);
    titleKeys[i] = KeyOfName(songs[i].title, titleLookup, songs[i].titleHeading);
    listedNames[i] = SingerAsListed(songs[i].singer, options.keepThe);
    const std::string singerLookup = LookupKey(listedNames[i]);
    auto [place, isNew] = groupOfKey.emplace(singerLookup, groups.size());
    if (isNew) {
      groups.emplace_back();
      groups.back().heading = HeadingOfKey(singerLookup, options.language);
      groupKeys.push_back(singerLookup);
    }
    groups[place->second].songs.push_back(i);
  }

  std::vector<NameKey> groupOrderKeys(groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    groups[g].name = MostUsedSpelling(groups[g].songs, listedNames);
    groupOrderKeys[g] = KeyOfName(groups[g].name, groupKeys[g], groups[g].heading);
  }
  std::vector<std::size_t> groupOrder(groups.size());
  std::iota(groupOrder.begin(), groupOrder.end(), 0);
  std::sort(groupOrder.begin(), groupOrder.end(),
            [&](std::size_t a, std::size_t b) { return groupOrderKeys[a] < groupOrderKeys[b]; });

  auto byTitle = [&](std::size_t a, std::size_t b) {
    if (titleKeys[a] < titleKeys[b]) return true;
    if (titleKeys[b] < titleKeys[a]) return false;
    if (songs[a].group != songs[b].group) return songs[a].group < songs[b].group;
    return songs[a].number < songs[b].number;
  };
  singers.clear();
  singers.reserve(groups.size());
  for (std::size_t g : groupOrder) {
    for (std::size_t song : groups[g].songs) songs[song].group = singers.size();
    singers.push_back(std::move(groups[g]));
  }
  for (BookGroup& group : singers) std::stable_sort(group.songs.begin(), group.songs.end(), byTitle);

  titles.resize(count);
  std::iota(titles.begin(), titles.end(), 0);
  std::stable_sort(titles.begin(), titles.end(), byTitle);
}

}  // namespace valmero
