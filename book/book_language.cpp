#include "book/book_language.h"

#include <cctype>

namespace valmero {

namespace {

std::string LowerAscii(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

const BookWords ENGLISH = {"Karaoke Song Book", "By singer", "By title", "Other", "(continued)", "(no title)",
                           "(no singer)", "Search by title, singer or number", "No songs found"};
const BookWords KOREAN = {"노래방 곡 목록", "가수별", "제목별", "기타", "(계속)", "(제목 없음)", "(가수 없음)",
                          "제목, 가수 또는 번호로 찾기", "찾는 노래가 없습니다"};
const BookWords JAPANESE = {"カラオケ曲目リスト", "歌手別", "曲名別", "その他", "(続き)", "(曲名なし)", "(歌手なし)",
                            "曲名・歌手・番号で検索", "曲が見つかりません"};

}  // namespace

bool ParseBookLanguage(const std::string& name, BookLanguage& language) {
  const std::string lower = LowerAscii(name);
  if (lower == "en" || lower == "english") {
    language = BookLanguage::English;
  } else if (lower == "ko" || lower == "korean") {
    language = BookLanguage::Korean;
  } else if (lower == "ja" || lower == "japanese") {
    language = BookLanguage::Japanese;
  } else {
    return false;
  }
  return true;
}

BookLanguage LanguageOfEncoding(const std::string& encoding) {
  const std::string lower = LowerAscii(encoding);
  if (lower == "cp949" || lower == "euc-kr" || lower == "euckr" || lower == "uhc" || lower == "windows-949") {
    return BookLanguage::Korean;
  }
  if (lower == "shift_jis" || lower == "sjis" || lower == "cp932" || lower == "windows-31j" || lower == "euc-jp") {
    return BookLanguage::Japanese;
  }
  return BookLanguage::English;
}

const char* LanguageCode(BookLanguage language) {
  switch (language) {
    case BookLanguage::Korean: return "ko";
    case BookLanguage::Japanese: return "ja";
    case BookLanguage::English: break;
  }
  return "en";
}

const BookWords& WordsOf(BookLanguage language) {
  switch (language) {
    case BookLanguage::Korean: return KOREAN;
    case BookLanguage::Japanese: return JAPANESE;
    case BookLanguage::English: break;
  }
  return ENGLISH;
}

std::string SongCountText(BookLanguage language, std::size_t count) {
  const std::string number = std::to_string(count);
  switch (language) {
    case BookLanguage::Korean: return number + "곡";
    case BookLanguage::Japanese: return number + "曲";
    case BookLanguage::English: break;
  }
  return number + (count == 1 ? " song" : " songs");
}

namespace {

// The title page's line for songs left out, in its three languages: the
// English singular and plural, the Korean and the Japanese around the count.
struct LeftOutPhrases {
  const char* one;
  const char* many;
  const char* korean[2];
  const char* japanese[2];
};

std::string LeftOutText(BookLanguage language, std::size_t count, const LeftOutPhrases& phrases) {
  const std::string number = std::to_string(count);
  switch (language) {
    case BookLanguage::Korean: return phrases.korean[0] + number + phrases.korean[1];
    case BookLanguage::Japanese: return phrases.japanese[0] + number + phrases.japanese[1];
    case BookLanguage::English: break;
  }
  return number + (count == 1 ? phrases.one : phrases.many);
}

}  // namespace

std::string WithoutNumberText(BookLanguage language, std::size_t count) {
  static const LeftOutPhrases phrases = {" song without a usable number is not listed",
                                         " songs without a usable number are not listed",
                                         {"쓸 수 있는 번호가 없는 ", "곡은 싣지 않았습니다"},
                                         {"使える番号のない", "曲は載せていません"}};
  return LeftOutText(language, count, phrases);
}

std::string WithoutTextsText(BookLanguage language, std::size_t count) {
  static const LeftOutPhrases phrases = {" song without title and singer is not listed",
                                         " songs without title and singer are not listed",
                                         {"제목과 가수가 없는 ", "곡은 싣지 않았습니다"},
                                         {"曲名も歌手もない", "曲は載せていません"}};
  return LeftOutText(language, count, phrases);
}

std::string DateText(BookLanguage language, int year, int month, int day) {
  static const char* const MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
  const std::string y = std::to_string(year);
  const std::string m = std::to_string(month);
  const std::string d = std::to_string(day);
  switch (language) {
    case BookLanguage::Korean: return y + "년 " + m + "월 " + d + "일";
    case BookLanguage::Japanese: return y + "年" + m + "月" + d + "日";
    case BookLanguage::English: break;
  }
  return d + " " + (month >= 1 && month <= 12 ? MONTHS[month - 1] : "") + " " + y;
}

}  // namespace valmero
