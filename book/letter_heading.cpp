#include "book/letter_heading.h"

#include <utf8proc.h>

#include "book/name_folding.h"

namespace valmero {

namespace {

enum class Block { Digits, Latin, Alphabet, Hangul, Kana, Other };

// The labels of the Hangul initials, as compatibility jamo.
constexpr char32_t HANGUL_INITIALS[] = {U'ㄱ', U'ㄴ', U'ㄷ', U'ㄹ', U'ㅁ', U'ㅂ', U'ㅅ',
                                        U'ㅇ', U'ㅈ', U'ㅊ', U'ㅋ', U'ㅌ', U'ㅍ', U'ㅎ'};
// The 19 leading consonants of a syllable (U+1100 on) by the heading they go
// under: ㄲ with ㄱ, ㄸ with ㄷ, ㅃ with ㅂ, ㅆ with ㅅ, ㅉ with ㅈ.
constexpr int HANGUL_GROUP_OF_LEAD[] = {0, 0, 1, 2, 2, 3, 4, 5, 5, 6, 6, 7, 8, 8, 9, 10, 11, 12, 13};

constexpr char32_t KANA_ROWS[] = {U'あ', U'か', U'さ', U'た', U'な', U'は', U'ま', U'や', U'ら', U'わ'};
// The first hiragana of each row after the first; ん and ゔ go with わ.
constexpr char32_t KANA_ROW_STARTS[] = {U'か', U'さ', U'た', U'な', U'は', U'ま', U'や', U'ら', U'わ'};

constexpr int BLOCK_SPAN = 0x400000;

int BlockPosition(Block block, BookLanguage language) {
  static constexpr Block ENGLISH_ORDER[] = {Block::Digits, Block::Latin, Block::Alphabet,
                                            Block::Hangul, Block::Kana,  Block::Other};
  static constexpr Block KOREAN_ORDER[] = {Block::Hangul, Block::Digits, Block::Latin,
                                           Block::Alphabet, Block::Kana, Block::Other};
  static constexpr Block JAPANESE_ORDER[] = {Block::Kana,     Block::Digits, Block::Latin,
                                             Block::Alphabet, Block::Hangul, Block::Other};
  const Block* order = language == BookLanguage::Korean     ? KOREAN_ORDER
                       : language == BookLanguage::Japanese ? JAPANESE_ORDER
                                                            : ENGLISH_ORDER;
  for (int i = 0; i < 6; ++i) {
    if (order[i] == block) return i;
  }
  return 5;
}

std::string Utf8Of(char32_t c) {
  utf8proc_uint8_t bytes[4];
  utf8proc_ssize_t length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), bytes);
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

LetterHeading Make(Block block, int inner, std::string label, BookLanguage language) {
  return {BlockPosition(block, language) * BLOCK_SPAN + inner, std::move(label)};
}

int KanaRow(char32_t c) {
  int row = 0;
  for (char32_t start : KANA_ROW_STARTS) {
    if (c >= start) ++row;
  }
  return row;
}

bool IsCased(char32_t c) {
  const auto code = static_cast<utf8proc_int32_t>(c);
  return utf8proc_toupper(code) != code || utf8proc_tolower(code) != code;
}

}  // namespace

LetterHeading HeadingOfKey(const std::string& lookupKey, BookLanguage language) {
  const char32_t first = FirstCharacter(lookupKey);
  if (first == 0 || utf8proc_category(static_cast<utf8proc_int32_t>(first)) == UTF8PROC_CATEGORY_ND ||
      (first >= U'0' && first <= U'9')) {
    return Make(Block::Digits, 0, "#", language);
  }
  if (first >= U'a' && first <= U'z') {
    const char letter = static_cast<char>(first - U'a' + 'A');
    return Make(Block::Latin, letter, std::string(1, letter), language);
  }
  if (first >= 0x1100 && first <= 0x1112) {
    const int group = HANGUL_GROUP_OF_LEAD[first - 0x1100];
    return Make(Block::Hangul, group, Utf8Of(HANGUL_INITIALS[group]), language);
  }
  if (first >= U'あ' && first <= U'ゖ') {
    const int row = KanaRow(first);
    return Make(Block::Kana, row, Utf8Of(KANA_ROWS[row]), language);
  }
  if (IsCased(first)) {
    const char32_t capital = static_cast<char32_t>(utf8proc_toupper(static_cast<utf8proc_int32_t>(first)));
    return Make(Block::Alphabet, static_cast<int>(capital), Utf8Of(capital), language);
  }
  return Make(Block::Other, 0, WordsOf(language).other, language);
}

std::vector<LetterHeading> StandardHeadings(BookLanguage language) {
  std::vector<LetterHeading> headings;
  if (language == BookLanguage::Korean) {
    for (char32_t initial : HANGUL_INITIALS) headings.push_back(HeadingOfKey(LookupKey(Utf8Of(initial)), language));
  }
  if (language == BookLanguage::Japanese) {
    for (char32_t row : KANA_ROWS) headings.push_back(HeadingOfKey(Utf8Of(row), language));
  }
  headings.push_back(HeadingOfKey("", language));
  for (char letter = 'a'; letter <= 'z'; ++letter) headings.push_back(HeadingOfKey(std::string(1, letter), language));
  return headings;
}

std::string HeadingId(const LetterHeading& heading) {
  if (heading.label.size() == 1 && heading.label[0] >= 'A' && heading.label[0] <= 'Z') return heading.label;
  if (heading.label == "#") return "num";
  if (heading.rank == 5 * BLOCK_SPAN) return "other";  // the last block
  return "h" + std::to_string(heading.rank);
}

}  // namespace valmero
