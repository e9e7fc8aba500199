// The heading a name stands under, and the order of the headings: "#" for
// names that begin with a digit (or hold no letter), A to Z for Latin
// letters whatever their accents, the capital of the base letter for other
// alphabets with capitals (Greek, Cyrillic ...), the initial consonant for
// Hangul (ㄱ ㄴ ㄷ ... ㅎ, the doubled ones with their single), the row for
// kana (あ か さ ... わ), and one last heading for every other script. A
// Korean book puts its consonants first, a Japanese one its kana rows.
#pragma once

#include <string>
#include <vector>

#include "book/book_language.h"

namespace valmero {

struct LetterHeading {
  int rank = 0;       // headings in book order; one heading, one rank
  std::string label;  // as printed, UTF-8

  bool operator==(const LetterHeading& other) const { return rank == other.rank; }
  bool operator!=(const LetterHeading& other) const { return rank != other.rank; }
  bool operator<(const LetterHeading& other) const { return rank < other.rank; }
};

// The heading of a name by its lookup key (see LookupKey).
LetterHeading HeadingOfKey(const std::string& lookupKey, BookLanguage language);

// The headings a jump bar always shows, linked or not: the book language's
// own letters and then # and A to Z.
std::vector<LetterHeading> StandardHeadings(BookLanguage language);

// A name for the heading that HTML ids and PDF destinations can carry:
// "A" to "Z", "num", "other", or "h" and the rank.
std::string HeadingId(const LetterHeading& heading);

}  // namespace valmero
