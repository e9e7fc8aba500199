#include "book/name_folding.h"

#include <utf8proc.h>

namespace valmero {

namespace {

// Letters without a Unicode decomposition that readers look up under a
// base letter: a stroke, a bar or a ligature of two.
const char* SpelledOut(char32_t c) {
  switch (c) {
    case U'Æ': case U'æ': case U'Ǽ': case U'ǽ': case U'Ǣ': case U'ǣ': return "ae";
    case U'Œ': case U'œ': return "oe";
    case U'Ø': case U'ø': case U'Ǿ': case U'ǿ': return "o";
    case U'Đ': case U'đ': case U'Ð': case U'ð': return "d";
    case U'Ł': case U'ł': return "l";
    case U'Þ': case U'þ': return "th";
    case U'Ħ': case U'ħ': return "h";
    case U'Ŧ': case U'ŧ': return "t";
    case U'ı': return "i";
    default: return nullptr;
  }
}

bool IsLetterOrDigit(utf8proc_category_t category) {
  return (category >= UTF8PROC_CATEGORY_LU && category <= UTF8PROC_CATEGORY_LO) ||
         (category >= UTF8PROC_CATEGORY_ND && category <= UTF8PROC_CATEGORY_NO);
}

bool IsMark(utf8proc_category_t category) {
  return category >= UTF8PROC_CATEGORY_MN && category <= UTF8PROC_CATEGORY_ME;
}

bool IsSpace(utf8proc_category_t category) {
  return category >= UTF8PROC_CATEGORY_ZS && category <= UTF8PROC_CATEGORY_ZP;
}

// Katakana as hiragana, small kana as their large forms.
char32_t PlainKana(char32_t c) {
  if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
  switch (c) {
    case 0x3041: case 0x3043: case 0x3045: case 0x3047: case 0x3049:
    case 0x3063: case 0x3083: case 0x3085: case 0x3087: case 0x308E: return c + 1;
    case 0x3095: return 0x304B;  // small ka
    case 0x3096: return 0x3051;  // small ke
    default: return c;
  }
}

class CKeyWriter {
 public:
  explicit CKeyWriter(bool lookup) : m_bLookup(lookup) {}

  void Take(char32_t c) {
    const utf8proc_category_t category = utf8proc_category(static_cast<utf8proc_int32_t>(c));
    if (IsSpace(category) || c == U'\t') {
      m_bSpacePending = !m_key.empty();
      return;
    }
    // Modifier letters are mostly apostrophes and length marks.
    if (m_bLookup && category == UTF8PROC_CATEGORY_LM) return;
    if (!IsLetterOrDigit(category) && !(!m_bLookup && IsMark(category) && !m_key.empty())) return;
    if (m_bSpacePending) Append(U' ');
    m_bSpacePending = false;
    Append(m_bLookup ? PlainKana(c) : c);
  }

  void TakeSpelledOut(const char* letters) {
    for (const char* letter = letters; *letter; ++letter) Take(static_cast<char32_t>(*letter));
  }

  std::string m_key;

 private:
  void Append(char32_t c) {
    utf8proc_uint8_t bytes[4];
    utf8proc_ssize_t length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), bytes);
    m_key.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
  }

  bool m_bLookup;
  bool m_bSpacePending = false;
};

std::string KeyOf(std::string_view text, bool lookup) {
  const utf8proc_option_t options = static_cast<utf8proc_option_t>(
      UTF8PROC_DECOMPOSE | UTF8PROC_COMPAT | UTF8PROC_CASEFOLD | (lookup ? UTF8PROC_STRIPMARK : 0));
  CKeyWriter writer(lookup);
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t c = 0;
    utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &c);
    if (length <= 0) {  // not UTF-8: the byte is passed over
      ++bytes;
      --left;
      continue;
    }
    bytes += length;
    left -= length;
    if (const char* letters = SpelledOut(static_cast<char32_t>(c))) {
      writer.TakeSpelledOut(letters);
      continue;
    }
    utf8proc_int32_t decomposed[32];
    int boundClass = 0;
    utf8proc_ssize_t count = utf8proc_decompose_char(c, decomposed, 32, options, &boundClass);
    for (utf8proc_ssize_t i = 0; i < count && i < 32; ++i) {
      const char* letters = SpelledOut(static_cast<char32_t>(decomposed[i]));
      if (letters != nullptr) {
        writer.TakeSpelledOut(letters);
      } else {
        writer.Take(static_cast<char32_t>(decomposed[i]));
      }
    }
  }
  return writer.m_key;
}

}  // namespace

std::string LookupKey(std::string_view text) { return KeyOf(text, true); }

std::string AccentKey(std::string_view text) { return KeyOf(text, false); }

char32_t FirstCharacter(std::string_view key) {
  if (key.empty()) return 0;
  utf8proc_int32_t c = 0;
  utf8proc_ssize_t length =
      utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(key.data()), static_cast<utf8proc_ssize_t>(key.size()), &c);
  return length > 0 ? static_cast<char32_t>(c) : 0;
}

}  // namespace valmero
