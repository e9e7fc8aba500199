// Names as a reader looks them up: "Édith Piaf" stands with "Edith", "Ærø"
// with "Aero", "'Til Tuesday" under T. The folding is utf8proc's (Unicode
// compatibility decomposition, full case folding, combining marks dropped),
// the same in every build; the few letters that Unicode does not decompose
// but readers take as a base letter and a stroke or a ligature (Ø, Ł, Đ, Æ,
// Œ, Þ ...) are spelled out here. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace valmero {

// What a reader compares first: letters and digits without accents and
// case, punctuation and symbols left out, spaces kept as single spaces
// between words. Katakana reads as hiragana, small kana as large, voiced
// kana as unvoiced; Hangul as its jamo, which keep the syllables' order.
std::string LookupKey(std::string_view text);

// The tie-break between names of one lookup key: case folded, accents kept.
std::string AccentKey(std::string_view text);

// The first character of a key, 0 for an empty key.
char32_t FirstCharacter(std::string_view key);

}  // namespace valmero
