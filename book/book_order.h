// The order of the song book: part one by singer, part two by title.
//
// Singers are grouped by their whole upper-cased name (only a to z change,
// as in the player's index) and the groups ordered by it; the book has room
// for the whole name, so two singers whose names differ after the 23rd
// character stay apart. Titles are ordered by the upper-cased title, within a
// singer and in the title part alike. Comparisons are byte by byte on
// unsigned values, without locale, the way the player orders its index; equal
// keys keep the run's order (ascending number). Texts are the source's bytes,
// cut at their last line feed as the index cuts them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/song_list.h"

namespace valmero {

struct BookSong {
  std::string title;
  std::string singer;
  int32_t number = 0;
  char titleHeading = '#';  // the letter heading of the title part it stands under
};

struct BookGroup {
  std::string key;                 // the upper-cased singer
  std::string name;                // the singer as its first song in the run gives it
  char heading = '#';              // the letter heading it stands under
  std::vector<std::size_t> songs;  // positions in the song table, by title
};

// The songs of a run as the book shows them: the number the player shows,
// texts cut at their last line feed.
std::vector<BookSong> BookSongsOf(const SongList& songs, bool renumber);

// Part one: the singer groups in order, each with its songs by title.
std::vector<BookGroup> GroupBySinger(const std::vector<BookSong>& songs);
// Part two: every song once, by title, then singer.
std::vector<std::size_t> OrderByTitle(const std::vector<BookSong>& songs);

// The letter heading a text stands under: 'A' to 'Z' for a text that starts
// with a letter, '#' for one that sorts before 'A' (digits, signs, empty),
// '~' for one that sorts after 'Z' (other signs, bytes 128 and above).
char HeadingOf(std::string_view text);

std::string UpperCased(std::string_view text);

}  // namespace valmero
