#include "core/fixed_text.h"

#include <gtest/gtest.h>

#include <utility>

namespace valmero {
namespace {

TEST(FixedTextTest, LeadingIntegerTakesSignAndDigitsOnly) {
  EXPECT_EQ(ParseLeadingInt("0012"), 12);
  EXPECT_EQ(ParseLeadingInt("-3"), -3);
  EXPECT_EQ(ParseLeadingInt("+7x"), 7);
  EXPECT_EQ(ParseLeadingInt("12 3"), 12);
  EXPECT_EQ(ParseLeadingInt("abc"), 0);
  EXPECT_EQ(ParseLeadingInt(""), 0);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
}

// A number past 32 bits is no number: wrapped it would name another song.
TEST(FixedTextTest, LeadingIntegerThatDoesNotFitIsNone) {
  const std::pair<const char*, int> cases[] = {
      {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"0000000000000000000012", 12},
      {"2147483648", 0},          {"-2147483649", 0},               {"4294967297", 0},
      {"99999999999999999999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseLeadingInt(text), value) << text;
}

TEST(FixedTextTest, PathThatDoesNotFitIsRefusedNotCut) {
  char path[8];
  EXPECT_TRUE(FormatPath(path, sizeof path, "%s/%s", "ab", "cd"));
  EXPECT_STREQ(path, "ab/cd");
  EXPECT_FALSE(FormatPath(path, sizeof path, "%s/%s", "abcd", "efgh"));
  EXPECT_STREQ(path, "");
}

TEST(FixedTextTest, CopyCutsToFieldAndCutAtLineFeedKeepsEarlierText) {
  char field[4];
  EXPECT_FALSE(CopyText(field, sizeof field, "abcdef"));
  EXPECT_STREQ(field, "abc");
  char text[] = "a\nb\nc";
  CutAtLastLineFeed(text);
  EXPECT_STREQ(text, "a\nb");
  char mixed[] = "ab\xe9z";
  UpperCaseAscii(mixed);
  EXPECT_STREQ(mixed, "AB\xe9Z");
}

}  // namespace
}  // namespace valmero
