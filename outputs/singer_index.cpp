#include "outputs/singer_index.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/exchange_sort.h"
#include "outputs/index_file.h"

namespace valmero {

namespace {

// The part of a spelled singer the groups are found by: its first 23 bytes.
std::string_view HeldPartOf(const char* text) {
  return std::string_view(text, BoundedLength(text, INDEX_TEXT_LIMIT));
}

void RebuildGroupLookup(SingerIndex& index) {
  index.m_groupPositions.clear();
  index.m_groupPositions.reserve(index.m_singerGroups.size());
  int32_t position = 0;
  for (const auto& group : index.m_singerGroups) {
    // emplace keeps the first group of a name, as a scan in table order would.
    index.m_groupPositions.emplace(std::string_view(group->name), position++);
  }
}

GroupSong MakeGroupSong(const char* title, int32_t number) {
  GroupSong slot{};
  CopyText(slot.title, sizeof slot.title, title);
  slot.number = number;
  return slot;
}

// Appends an empty group named by the first 23 characters of singer.
void AddGroup(SingerIndex& index, const char* singer) {
  auto group = std::make_unique<SingerGroup>();  // zero-filled
  group->id = static_cast<int32_t>(index.m_singerGroups.size());
  CopyText(group->name, sizeof group->name, singer);
  index.m_groupPositions.emplace(std::string_view(group->name), group->id);
  index.m_singerGroups.push_back(std::move(group));
}

// A name or title as three big-endian words of its bytes up to the NUL,
// zero-padded to 24: comparing the words in turn gives exactly the index's
// text comparison (a text that ends sorts first, as its padding is zero), at
// the cost of one integer comparison in most cases.
struct TextKey {
  uint64_t words[3];
};

TextKey MakeTextKey(const char* text) {
  unsigned char padded[INDEX_TEXT_SIZE] = {};
  std::memcpy(padded, text, BoundedLength(text, INDEX_TEXT_SIZE - 1));
  TextKey key{};
  for (std::size_t word = 0; word < 3; ++word) {
    for (std::size_t byte = 0; byte < 8; ++byte) key.words[word] = (key.words[word] << 8) | padded[word * 8 + byte];
  }
  return key;
}

bool operator<(const TextKey& a, const TextKey& b) {
  for (std::size_t word = 0; word < 3; ++word) {
    if (a.words[word] != b.words[word]) return a.words[word] < b.words[word];
  }
  return false;
}

bool operator==(const TextKey& a, const TextKey& b) {
  return a.words[0] == b.words[0] && a.words[1] == b.words[1] && a.words[2] == b.words[2];
}

struct TextKeyHash {
  std::size_t operator()(const TextKey& key) const {
    uint64_t mixed = key.words[0] * 0x9E3779B97F4A7C15ull;
    mixed ^= (key.words[1] + (mixed >> 29)) * 0xBF58476D1CE4E5B9ull;
    mixed ^= (key.words[2] + (mixed >> 31)) * 0x94D049BB133111EBull;
    return static_cast<std::size_t>(mixed ^ (mixed >> 32));
  }
};

// The rank of every text among the distinct texts, by the index's text
// comparison. Titles repeat a great deal, so the comparisons are made once
// per distinct text, not once per song.
std::size_t RankTexts(const std::vector<TextKey>& keys, std::vector<uint32_t>& ranks) {
  std::unordered_map<TextKey, uint32_t, TextKeyHash> idOf;
  std::vector<TextKey> distinct;
  ranks.resize(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    auto [found, added] = idOf.emplace(keys[i], static_cast<uint32_t>(distinct.size()));
    if (added) distinct.push_back(keys[i]);
    ranks[i] = found->second;
  }
  std::vector<uint32_t> byText(distinct.size());
  for (uint32_t id = 0; id < byText.size(); ++id) byText[id] = id;
  std::sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) { return distinct[a] < distinct[b]; });
  std::vector<uint32_t> rankOfId(distinct.size());
  for (uint32_t rank = 0; rank < byText.size(); ++rank) rankOfId[byText[rank]] = rank;
  for (uint32_t& rank : ranks) rank = rankOfId[rank];
  return distinct.size();
}

// Orders records by the text textOf gives, in the exchange sort's order. The
// literal sort compares the texts themselves: it is the reference the fast
// one is measured and tested against.
template <typename Record, typename TextOf>
void SortByText(std::vector<std::unique_ptr<Record>>& records, TextOf textOf, SortMethod method) {
  if (method == SortMethod::Literal) {
    LiteralExchangeSort(records, [&](const std::unique_ptr<Record>& a, const std::unique_ptr<Record>& b) {
      return CompareIndexText(textOf(*a), textOf(*b));
    });
    return;
  }
  std::vector<TextKey> keys;
  keys.reserve(records.size());
  for (const auto& record : records) keys.push_back(MakeTextKey(textOf(*record)));
  std::vector<uint32_t> ranks;
  const std::size_t rankCount = RankTexts(keys, ranks);
  const std::vector<std::size_t> order = ExchangeSortPositionsByRank(ranks, rankCount);
  std::vector<std::unique_ptr<Record>> sorted;
  sorted.reserve(records.size());
  for (std::size_t position : order) sorted.push_back(std::move(records[position]));
  records = std::move(sorted);
}

}  // namespace

void SingerIndex::ClearIndexArrays() {
  m_groupPositions.clear();
  decltype(m_singerGroups)().swap(m_singerGroups);
  decltype(m_titleIndex)().swap(m_titleIndex);
}

std::size_t SingerIndex::SongsInGroups() const {
  std::size_t songs = 0;
  for (const auto& group : m_singerGroups) songs += group->songs.size();
  return songs;
}

void SpellAsIndex(char* text) {
  UpperCaseAscii(text);
  CutAtLastLineFeed(text);
}

std::string IndexSpellingOf(const char* text) { return UpperAscii(TextBeforeLastLineFeed(text)); }

std::string IndexTextOf(const char* text) { return IndexSpellingOf(text).substr(0, INDEX_TEXT_LIMIT); }

int CompareIndexText(const char* a, const char* b) {
  // strcmp compares the bytes as unsigned char, which is the order wanted.
  return std::strcmp(a, b);
}

void BuildSingerGroups(SongList& songs, bool indexRenumber, SingerIndex& index) {
  index.ClearIndexArrays();
  LogMessage("Initialize arrays");
  // First every song's group and slot, so that each group's slots can be
  // had in one allocation; then the slots go to their groups in list order.
  std::vector<int32_t> groupOf(songs.size());
  std::vector<GroupSong> slots(songs.size());
  std::vector<int32_t> songsIn;
  for (std::size_t k = 0; k < songs.size(); ++k) {
    SongRecord& song = *songs[k];
    SpellAsIndex(song.singer);
    SpellAsIndex(song.title);
    slots[k] = MakeGroupSong(song.title, indexRenumber ? song.newNumber : song.songNumber);
    int32_t found = FindSingerGroup(index, song.singer);
    if (found < 0) {
      AddGroup(index, song.singer);
      songsIn.push_back(0);
      found = static_cast<int32_t>(index.m_singerGroups.size());
    }
    groupOf[k] = found - 1;
    ++songsIn[static_cast<std::size_t>(found - 1)];
  }
  for (std::size_t g = 0; g < songsIn.size(); ++g) {
    index.m_singerGroups[g]->songs.reserve(static_cast<std::size_t>(songsIn[g]));
  }
  for (std::size_t k = 0; k < songs.size(); ++k) {
    SingerGroup& group = *index.m_singerGroups[static_cast<std::size_t>(groupOf[k])];
    group.songs.push_back(slots[k]);
  }
}

void SortSingerGroups(SingerIndex& index, SortMethod method) {
  SortByText(index.m_singerGroups, [](const SingerGroup& group) { return group.name; }, method);
  RebuildGroupLookup(index);
}

void BuildTitleIndex(SingerIndex& index, SortMethod method) {
  index.m_titleIndex.clear();
  index.m_titleIndex.reserve(index.SongsInGroups());
  int32_t position = 0;
  for (const auto& group : index.m_singerGroups) {
    for (const GroupSong& slot : group->songs) {
      auto entry = std::make_unique<TitleEntry>();  // zero-filled
      std::memcpy(entry->title, slot.title, sizeof entry->title);
      entry->groupIndex = position;
      entry->number = slot.number;
      index.m_titleIndex.push_back(std::move(entry));
    }
    ++position;
  }
  SortByText(index.m_titleIndex, [](const TitleEntry& entry) { return entry.title; }, method);
}

int32_t FindSingerGroup(const SingerIndex& index, const char* singer) {
  auto found = index.m_groupPositions.find(HeldPartOf(singer));
  return found == index.m_groupPositions.end() ? -1 : found->second + 1;
}

int BuildIndexWith(SongList& songs, bool indexRenumber, const char* target, SingerIndex& index,
                   SortMethod method) {
  BuildSingerGroups(songs, indexRenumber, index);
  SortSingerGroups(index, method);
  LogMessage("Sort songlist by singer");
  int32_t position = 0;
  for (auto& group : index.m_singerGroups) group->id = position++;
  BuildTitleIndex(index, method);
  LogMessage("Sort songlist by title");
  return WriteIndexFile(target, index) < 0 ? -1 : 0;
}

int BuildIndex(SongList& songs, bool indexRenumber, const char* target, SingerIndex& index) {
  return BuildIndexWith(songs, indexRenumber, target, index, SortMethod::Fast);
}

}  // namespace valmero
