#include "ui/common/popup_text.h"

#include <gtest/gtest.h>

namespace valmero {
namespace {

TEST(PercentCaptionTest, CaptionFollowsTheWholePercentage) {
  struct Case {
    const char* name;
    int lower, upper, position;
    bool changes;
    const char* caption;
  };
  const Case cases[] = {
      {"first step of a 0..1 range", 0, 1, 1, true, "VALMERO [100%]"},
      {"second step passes the top", 0, 1, 2, true, "VALMERO [200%]"},
      {"two thirds round half up", 0, 3, 2, true, "VALMERO [67%]"},
      {"half a percent rounds up", 0, 200, 1, true, "VALMERO [1%]"},
      {"just below zero stays at 0", 0, 1000, -7, false, "VALMERO"},
      {"further below zero gives -1", 0, 1000, -17, true, "VALMERO [-1%]"},
      {"empty range is always 0", 5, 5, 7, false, "VALMERO"},
      {"inverted range is always 0", 9, 3, 7, false, "VALMERO"},
      {"offset range", 10, 20, 15, true, "VALMERO [50%]"},
  };
  for (const Case& c : cases) {
    CPercentCaption caption("VALMERO");
    EXPECT_EQ(caption.Text(), "VALMERO") << c.name;
    EXPECT_EQ(caption.Update(c.position, c.lower, c.upper), c.changes) << c.name;
    EXPECT_EQ(caption.Text(), c.caption) << c.name;
  }
}

TEST(PercentCaptionTest, RewrittenOnlyWhenThePercentageChanges) {
  CPercentCaption caption("VALMERO");
  int rewrites = 0;
  for (int position = 0; position <= 1000; ++position) rewrites += caption.Update(position, 0, 1000) ? 1 : 0;
  // 0 is the starting percentage; 1..100 each once.
  EXPECT_EQ(rewrites, 100);
  EXPECT_EQ(caption.Text(), "VALMERO [100%]");
  EXPECT_EQ(caption.LastPercent(), 100);
  // Going back to an earlier percentage rewrites it again.
  EXPECT_TRUE(caption.Update(0, 0, 1000));
  EXPECT_EQ(caption.Text(), "VALMERO [0%]");
}

TEST(ExpandTabsTest, TabsStopEveryEightColumnsOfEachLine) {
  EXPECT_EQ(ExpandTabs("a\tb"), "a       b");
  EXPECT_EQ(ExpandTabs("\t"), "        ");
  EXPECT_EQ(ExpandTabs("12345678\tx"), "12345678        x");
  EXPECT_EQ(ExpandTabs("abc\n\tx"), "abc\n        x");
  EXPECT_EQ(ExpandTabs("no tabs\nat all"), "no tabs\nat all");
  EXPECT_EQ(ExpandTabs(""), "");
}

}  // namespace
}  // namespace valmero
