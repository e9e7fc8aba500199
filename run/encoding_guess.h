// Whether a collection's texts are in the code page they are read in. Texts
// are bytes; read in the wrong code page they turn into what no text in any
// code page of that kind holds: "»ç¶û" for a Korean word read as CP1252,
// halfwidth katakana between kanji for one read as SHIFT_JIS, bytes that do
// not convert at all. A songlist saved as UTF-8 (Notepad's default) reads as
// "CAFÃ©". This looks at every text with a byte of 128 or above and, when
// many read wrong, at a few common code pages for one they all read right in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace valmero {

enum class EncodingVerdict {
  Fits,       // nothing to say (also: no text beyond ASCII)
  Utf8,       // the texts are UTF-8
  Misread,    // many texts read wrong; `guessed` names a code page they fit, when one does
};

struct EncodingJudgement {
  EncodingVerdict verdict = EncodingVerdict::Fits;
  std::string guessed;        // "UTF-8" for Utf8; maybe empty for Misread
  std::size_t textsBeyondAscii = 0;
  std::size_t textsMisread = 0;
  std::string example;        // one text as the encoding reads it (UTF-8)
  std::string exampleFixed;   // the same as `guessed` reads it, when guessed
};

// `texts` are the titles and singers as the source's bytes.
EncodingJudgement JudgeEncoding(const std::vector<std::string>& texts, const std::string& encoding);

// What the judgement means and what to do, in words; empty when it fits.
std::string EncodingAdvice(const EncodingJudgement& judgement, const std::string& encoding);

}  // namespace valmero
