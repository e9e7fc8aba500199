#include "run/encoding_guess.h"

#include <utf8proc.h>

#include <cctype>

#include "platform/text_conversion.h"

namespace valmero {

namespace {

// The code pages a karaoke collection is most often in, in the order a tie
// between them is settled.
const char* const CANDIDATES[] = {"CP1252", "CP949", "SHIFT_JIS", "CP1251"};

std::string UpperName(const std::string& encoding) {
  std::string upper = encoding;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool IsUtf8Name(const std::string& encoding) {
  const std::string upper = UpperName(encoding);
  return upper == "UTF-8" || upper == "UTF8";
}

bool IsKoreanName(const std::string& encoding) {
  const std::string upper = UpperName(encoding);
  return upper == "CP949" || upper == "EUC-KR" || upper == "UHC" || upper == "WINDOWS-949";
}

bool BeyondAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}


// Korean names keep to the 2,350 common syllables and the hanja of KS X 1001
// (both bytes from 0xA1), and hold at least one syllable (a lead byte from
// 0xB0 to 0xC8). Latin letters read as Korean turn into the rare syllables of
// CP949's extension; Cyrillic, into hanja alone.
bool ReadsAsKorean(const std::string& text) {
  bool syllable = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) continue;
    if (lead < 0xA1 || i + 1 >= text.size() || static_cast<unsigned char>(text[i + 1]) < 0xA1) return false;
    syllable = syllable || (lead >= 0xB0 && lead <= 0xC8);
    ++i;
  }
  return syllable;
}

bool IsLatin1Symbol(char32_t c) { return (c >= 0xA1 && c <= 0xBF) || c == 0xD7 || c == 0xF7; }
bool IsHalfwidthKana(char32_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// A word (a run without spaces) that no text would hold: a sign such as
// "»" or "¶" right beside another character beyond ASCII, a word made only
// of Latin-1 letters beyond ASCII, halfwidth katakana beside other wide script.
bool WordLooksMisread(const std::u32string& word) {
  bool allLatin1 = word.size() >= 2;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char32_t c = word[i];
    allLatin1 = allLatin1 && c >= 0x80 && c <= 0xFF;
    if (i == 0) continue;
    const char32_t before = word[i - 1];
    if (c < 0x80 || before < 0x80) continue;
    if (IsLatin1Symbol(c) || IsLatin1Symbol(before)) return true;
    if (IsHalfwidthKana(c) != IsHalfwidthKana(before)) return true;
  }
  return allLatin1;
}

bool ReadsWrong(const std::string& utf8) {
  std::u32string word;
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(utf8.size());
  while (left > 0) {
    utf8proc_int32_t c = 0;
    utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &c);
    if (length <= 0 || c == 0xFFFD) return true;
    bytes += length;
    left -= length;
    const utf8proc_category_t category = utf8proc_category(c);
    if (category >= UTF8PROC_CATEGORY_ZS && category <= UTF8PROC_CATEGORY_ZP) {
      if (WordLooksMisread(word)) return true;
      word.clear();
    } else {
      word += static_cast<char32_t>(c);
    }
  }
  return WordLooksMisread(word);
}

struct Reading {
  std::size_t misread = 0;
  const std::string* firstMisread = nullptr;
};

Reading ReadAll(const std::vector<const std::string*>& texts, const std::string& encoding) {
  Reading reading;
  CTextConverter converter;
  if (!converter.Open(encoding.c_str())) {
    reading.misread = texts.size();
    return reading;
  }
  const bool korean = IsKoreanName(encoding);
  for (const std::string* text : texts) {
    if (ReadsWrong(converter.ToUtf8(*text)) || (korean && !ReadsAsKorean(*text))) {
      ++reading.misread;
      if (reading.firstMisread == nullptr) reading.firstMisread = text;
    }
  }
  return reading;
}

std::string AsRead(const std::string& text, const std::string& encoding) {
  CTextConverter converter;
  return converter.Open(encoding.c_str()) ? converter.ToUtf8(text) : std::string();
}

}  // namespace

EncodingJudgement JudgeEncoding(const std::vector<std::string>& texts, const std::string& encoding) {
  EncodingJudgement judgement;
  std::vector<const std::string*> beyondAscii;
  std::size_t utf8 = 0;
  const std::string* firstUtf8 = nullptr;
  for (const std::string& text : texts) {
    if (!BeyondAscii(text)) continue;
    beyondAscii.push_back(&text);
    if (IsValidUtf8(text)) {
      ++utf8;
      if (firstUtf8 == nullptr) firstUtf8 = &text;
    }
  }
  judgement.textsBeyondAscii = beyondAscii.size();
  if (beyondAscii.empty()) return judgement;
  // Text in a legacy code page is hardly ever valid UTF-8 by chance: four in
  // five of them say enough.
  if (!IsUtf8Name(encoding) && utf8 * 5 >= beyondAscii.size() * 4) {
    judgement.verdict = EncodingVerdict::Utf8;
    judgement.guessed = "UTF-8";
    judgement.textsMisread = utf8;
    judgement.example = AsRead(*firstUtf8, encoding);
    judgement.exampleFixed = *firstUtf8;
    return judgement;
  }
  const Reading chosen = ReadAll(beyondAscii, encoding);
  judgement.textsMisread = chosen.misread;
  // A few odd names are the collection's own; a quarter is the code page.
  if (chosen.misread == 0 || chosen.misread * 4 < beyondAscii.size()) return judgement;
  judgement.verdict = EncodingVerdict::Misread;
  judgement.example = AsRead(*chosen.firstMisread, encoding);
  std::size_t fewest = beyondAscii.size() / 20 + 1;
  for (const char* candidate : CANDIDATES) {
    if (UpperName(candidate) == UpperName(encoding)) continue;
    const Reading reading = ReadAll(beyondAscii, candidate);
    if (reading.misread < fewest) {
      fewest = reading.misread;
      judgement.guessed = candidate;
      judgement.exampleFixed = AsRead(*chosen.firstMisread, candidate);
    }
  }
  return judgement;
}

std::string EncodingAdvice(const EncodingJudgement& judgement, const std::string& encoding) {
  const std::string count = std::to_string(judgement.textsMisread) + " of " +
                            std::to_string(judgement.textsBeyondAscii) + " texts with letters beyond ASCII";
  switch (judgement.verdict) {
    case EncodingVerdict::Fits: return {};
    case EncodingVerdict::Utf8:
      return "the texts are UTF-8 (" + count + "): read as " + encoding + ", \"" + judgement.exampleFixed +
             "\" shows as \"" + judgement.example +
             "\", and so the player shows it too. Save the songlist as ANSI (in Notepad: Save as, Encoding ANSI), or "
             "retag the songs in " + encoding + "; to read them as they are, give the code page UTF-8 "
             "(--encoding UTF-8)";
    case EncodingVerdict::Misread:
      if (judgement.guessed.empty()) {
        return "the texts do not read as " + encoding + " (" + count + ", for example \"" + judgement.example +
               "\"): give the code page they were written in (--encoding NAME)";
      }
      return "the texts do not read as " + encoding + " but as " + judgement.guessed + " (" + count + "): \"" +
             judgement.example + "\" is \"" + judgement.exampleFixed + "\"; give the code page " +
             judgement.guessed + " (--encoding " + judgement.guessed + ")";
  }
  return {};
}

}  // namespace valmero
