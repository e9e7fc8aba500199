// The order of the song book: part one by singer, part two by title, as a
// guest looks names up (see name_folding.h and letter_heading.h): headings
// in their order, then the names without accents, case and punctuation,
// then with accents, then as written; equal titles by singer, then number.
//
// Singers whose names differ only in case, accents or punctuation are one
// singer, listed in the spelling most of their songs use (the run's first
// on a tie). "The Beatles" is listed as "Beatles, The" under B, and so is
// one with "Beatles, The" — unless the text is to be kept as written.
//
// Songs a guest cannot key in (a number below 1 or over the player's five
// digits) or find (neither title nor singer) are not listed, and a song that
// stands twice with the same number, title and singer is listed once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "book/book_language.h"
#include "book/letter_heading.h"
#include "core/song_list.h"

namespace valmero {

struct BookSong {
  std::string title;
  std::string singer;  // as this song gives it
  int32_t number = 0;
  LetterHeading titleHeading;  // set by OrderBook
  std::size_t group = 0;       // its singer in part one, set by OrderBook
};

struct BookGroup {
  std::string name;  // as the book lists the singer
  LetterHeading heading;
  std::vector<std::size_t> songs;  // positions in the song table, by title
};

struct OrderOptions {
  bool keepThe = false;  // list "The Beatles" as written, under T
  BookLanguage language = BookLanguage::English;
};

struct LeftOutSongs {
  std::size_t withoutNumber = 0;
  std::size_t withoutTexts = 0;
  std::size_t duplicates = 0;
};

// The songs of a run with the number the player shows, texts as the
// source's bytes cut at their last line feed, in the run's order.
std::vector<BookSong> BookSongsOf(const SongList& songs, bool renumber);

// The songs the book lists, in the same order; the others counted.
std::vector<BookSong> ListableSongs(const std::vector<BookSong>& songs, LeftOutSongs& leftOut);

// Orders songs whose texts are UTF-8: sets each song's title heading and
// group, and fills part one (singers) and part two (positions by title).
void OrderBook(std::vector<BookSong>& songs, const OrderOptions& options, std::vector<BookGroup>& singers,
               std::vector<std::size_t>& titles);

// "The Beatles" -> "Beatles, The"; any other name as it is.
std::string SingerAsListed(const std::string& singer, bool keepThe);

}  // namespace valmero
