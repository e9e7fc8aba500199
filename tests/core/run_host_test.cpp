#include "core/run_host.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_host.h"

namespace valmero {
namespace {

TEST(ProgressPercentTest, HalfUpTruncatedTowardZero) {
  struct Case {
    int position, lower, upper, percent;
  };
  const Case cases[] = {
      {0, 0, 1, 0},    {1, 0, 1, 100},   {2, 0, 1, 200}, {2, 0, 3, 67},
      {1, 0, 200, 1},  {5, 5, 5, 0},     {3, 5, 2, 0},   {-7, 0, 1000, 0},
      {-17, 0, 1000, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressPercent(c.position, c.lower, c.upper), c.percent)
        << c.position << " of " << c.lower << ".." << c.upper;
  }
}

TEST(ProgressTextTest, LongTextIsCutTo511Characters) {
  testing::CFakeHost host;
  auto popup = host.CreateProgressPopup("VALMERO", false);
  std::string path(400, 'p');
  SetProgressText(*popup, "copying file : from '%s' \n\tto '%s' \n\n\tnow transferring %d/%d", path.c_str(),
                  path.c_str(), 1, 2);
  EXPECT_EQ(host.popups[0].texts.at(0).size(), 511u);
}

}  // namespace
}  // namespace valmero
