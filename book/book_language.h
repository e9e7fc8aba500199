// The language of the book's own words (part names, "continued", the title
// page's lines, the search box), and of the letter headings: a Korean book
// heads Hangul by initial consonant first, a Japanese one kana by row.
#pragma once

#include <cstddef>
#include <string>

namespace valmero {

enum class BookLanguage { English, Korean, Japanese };

// "en", "ko", "ja" (also "english", "korean", "japanese"), without regard to case.
bool ParseBookLanguage(const std::string& name, BookLanguage& language);

// The language a code page's texts are most likely in: Korean for CP949 and
// EUC-KR, Japanese for SHIFT_JIS, CP932 and EUC-JP, else English.
BookLanguage LanguageOfEncoding(const std::string& encoding);

// "en", "ko" or "ja", for the page's lang attribute and the PDF's fonts.
const char* LanguageCode(BookLanguage language);

struct BookWords {
  const char* defaultTitle;
  const char* bySinger;
  const char* byTitle;
  const char* other;      // the heading of names in no alphabet the book heads
  const char* continued;  // after a singer named again in a new column
  const char* noTitle;
  const char* noSinger;
  const char* search;     // the search box's hint
  const char* noneFound;  // when the search leaves nothing
};

const BookWords& WordsOf(BookLanguage language);

// "1 song", "20 songs"; "20곡"; "20曲".
std::string SongCountText(BookLanguage language, std::size_t count);
// The title page's lines for songs that are not listed: guests cannot key in
// a number over 99999 or below 1, nor find a song with neither title nor singer.
std::string WithoutNumberText(BookLanguage language, std::size_t count);
std::string WithoutTextsText(BookLanguage language, std::size_t count);

// A date as the language writes it: "3 May 2024", "2024년 5월 3일", "2024年5月3日".
std::string DateText(BookLanguage language, int year, int month, int day);

}  // namespace valmero
