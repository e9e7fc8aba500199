#include "run/encoding_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valmero {
namespace {

TEST(EncodingGuessTest, TextsReadInTheWrongCodePageAreCaughtAndTheRightOneNamed) {
  struct Case {
    std::vector<std::string> texts;
    const char* encoding;
    EncodingVerdict verdict;
    const char* guessed;
  };
  const std::string korean[] = {"\xBB\xE7\xB6\xFB", "\xB0\xA1\xBC\xF6", "\xB3\xAA\xBA\xF1", "\xC7\xCF\xB4\xC3"};
  const std::string latin[] = {"Caf\xE9", "Beyonc\xE9", "\xC4rzte", "\xD8ystein", "Stra\xDF" "e"};
  const Case cases[] = {
      {{"Hello", "Adele"}, "CP1252", EncodingVerdict::Fits, ""},
      {{latin[0], latin[1], latin[2], latin[3], latin[4]}, "CP1252", EncodingVerdict::Fits, ""},
      {{"Caf\xC3\xA9", "Beyonc\xC3\xA9", "plain"}, "CP1252", EncodingVerdict::Utf8, "UTF-8"},
      {{korean[0], korean[1], korean[2], korean[3]}, "CP1252", EncodingVerdict::Misread, "CP949"},
      {{korean[0], korean[1], korean[2], korean[3]}, "CP949", EncodingVerdict::Fits, ""},
      {{latin[0], latin[1], latin[2], latin[3], latin[4]}, "CP949", EncodingVerdict::Misread, "CP1252"},
      {{"\x82\xA0\x82\xA2", "\x83\x4A\x83\x89\x83\x49\x83\x50", "\x89\xCC"}, "CP1252", EncodingVerdict::Misread,
       "SHIFT_JIS"},
      {{"\xCF\xF0\xE8\xE2\xE5\xF2", "\xCC\xEE\xF1\xEA\xE2\xE0"}, "CP1252", EncodingVerdict::Misread, "CP1251"},
      // One odd name among many is the collection's own.
      {{latin[0], latin[1], latin[2], latin[3], latin[4], "\xBB\xE7"}, "CP1252", EncodingVerdict::Fits, ""},
      {{"Caf\xE9"}, "UTF-8", EncodingVerdict::Misread, "CP1252"},
  };
  for (const Case& c : cases) {
    EncodingJudgement judgement = JudgeEncoding(c.texts, c.encoding);
    EXPECT_EQ(judgement.verdict, c.verdict) << c.texts[0] << " as " << c.encoding;
    EXPECT_EQ(judgement.guessed, c.guessed) << c.texts[0] << " as " << c.encoding;
    EXPECT_EQ(EncodingAdvice(judgement, c.encoding).empty(), c.verdict == EncodingVerdict::Fits);
  }
}

TEST(EncodingGuessTest, AdviceShowsANameAsReadAndAsMeant) {
  std::string advice = EncodingAdvice(JudgeEncoding({"CAF\xC3\x89"}, "CP1252"), "CP1252");
  EXPECT_NE(advice.find("\"CAF\xC3\x89\" shows as \"CAF\xC3\x83\xE2\x80\xB0\""), std::string::npos) << advice;
  EXPECT_NE(advice.find("ANSI"), std::string::npos) << advice;
  advice = EncodingAdvice(JudgeEncoding({"\xBB\xE7\xB6\xFB"}, "CP1252"), "CP1252");
  EXPECT_NE(advice.find("--encoding CP949"), std::string::npos) << advice;
  EXPECT_NE(advice.find("\xEC\x82\xAC\xEB\x9E\x91"), std::string::npos) << advice;  // 사랑
}

}  // namespace
}  // namespace valmero
