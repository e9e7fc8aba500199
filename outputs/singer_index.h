// The singer groups and the title index that ENGLISH.KVX publishes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/song_list.h"

namespace valmero {

// Names and titles in the index hold at most 23 characters and a NUL.
constexpr std::size_t INDEX_TEXT_SIZE = 24;

struct GroupSong {
  char title[INDEX_TEXT_SIZE];
  int32_t number;
};

struct SingerGroup {
  int32_t id;
  char name[INDEX_TEXT_SIZE];
  int32_t songCount;
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
  int32_t m_nGroupCount = 0;
  int32_t m_nTitleCount = 0;

  // Empties the singer groups, then the title index.
  void ClearIndexArrays();
};

// The whole index step: groups, sorts, title index, then ENGLISH.KVX in
// `target`. 0 on success, -1 when the file could not be written.
int BuildIndex(SongList& songs, bool indexRenumber, const char* target, SingerIndex& index);

}  // namespace valmero
