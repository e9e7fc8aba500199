#include "core/fixed_text.h"

#include <gtest/gtest.h>

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
  // Far too many digits still give a defined 32-bit result.
  EXPECT_EQ(ParseLeadingInt("4294967297"), 1);
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
