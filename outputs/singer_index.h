// The singer groups and the title index that ENGLISH.KVX publishes.
//
// Songs are grouped by the first 23 characters of their upper-cased singer
// (all the file can hold); a group has no limit on its songs. The groups are
// ordered by name and the title entries by title, both in the order of the
// exchange sort (outputs/exchange_sort.h), whose placing of equal keys is part
// of the file's content.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/song_list.h"

namespace valmero {

// Names and titles in the index hold at most 23 characters and a NUL.
constexpr std::size_t INDEX_TEXT_SIZE = 24;
constexpr std::size_t INDEX_TEXT_LIMIT = INDEX_TEXT_SIZE - 1;

// The index's rule for a title or a singer, in one place for the index, the
// check and the song book: the text is cut at its last line feed and a to z
// become capitals (in place here; the outputs after the index see the songs
// so), and the index holds its first INDEX_TEXT_LIMIT bytes.
void SpellAsIndex(char* text);
// The whole text as the index spells it, before the cut to INDEX_TEXT_LIMIT.
std::string IndexSpellingOf(const char* text);
// What the index holds of a title or a singer.
std::string IndexTextOf(const char* text);

struct GroupSong {
  char title[INDEX_TEXT_SIZE];
  int32_t number;
};

struct SingerGroup {
  int32_t id;
  char name[INDEX_TEXT_SIZE];
  std::vector<GroupSong> songs;
};

struct TitleEntry {
  char title[INDEX_TEXT_SIZE];
  int32_t groupIndex;
  int32_t number;
};

// Both tables of one index build; they own their records.
struct SingerIndex {
  std::vector<std::unique_ptr<SingerGroup>> m_singerGroups;
  std::vector<std::unique_ptr<TitleEntry>> m_titleIndex;
  // Group name -> position in m_singerGroups of the first group of that
  // name. The views point into the groups' own name fields. Kept in step by
  // BuildSingerGroups and SortSingerGroups.
  std::unordered_map<std::string_view, int32_t> m_groupPositions;

  // Empties the singer groups, then the title index.
  void ClearIndexArrays();
  // The songs of all groups: the titles the title index will hold.
  std::size_t SongsInGroups() const;
};

// Which exchange sort orders the tables. Both give the same order; the
// literal one is the quadratic reference, kept for measurement and tests.
enum class SortMethod { Fast, Literal };

// The text comparison of the index: bytes as unsigned values up to the NUL,
// no locale, no case folding. Negative, zero or positive.
int CompareIndexText(const char* a, const char* b);

// Frees the previous tables and groups the songs, in list order. Upper-cases
// each song's singer and title in place and cuts them at their last line
// feed (later outputs of the run see them so). The published number is
// newNumber when indexRenumber is set, else songNumber. Groups grow without
// limit, so it cannot fail.
void BuildSingerGroups(SongList& songs, bool indexRenumber, SingerIndex& index);

// Orders the groups by name. Their ids travel with them.
void SortSingerGroups(SingerIndex& index, SortMethod method = SortMethod::Fast);

// Makes one title entry per group slot, groups in table order, then orders
// the entries by title.
void BuildTitleIndex(SingerIndex& index, SortMethod method = SortMethod::Fast);

// The position, counting from 1, of the first group whose name equals the
// first 23 characters of singer; -1 when there is none.
int32_t FindSingerGroup(const SingerIndex& index, const char* singer);

// The whole index step: groups, sorts, title index, then ENGLISH.KVX in
// `target`. 0 on success, -1 when the file could not be written.
int BuildIndex(SongList& songs, bool indexRenumber, const char* target, SingerIndex& index);

// The same step with a chosen sort; BuildIndex uses SortMethod::Fast.
int BuildIndexWith(SongList& songs, bool indexRenumber, const char* target, SingerIndex& index,
                   SortMethod method);

}  // namespace valmero
