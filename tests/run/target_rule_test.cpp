#include "run/target_rule.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace valmero {
namespace {

TEST(TargetRuleTest, KvxFolderBesideOrInsideTheSource) {
  EXPECT_EQ(SubfolderTarget(testing::Native("/songs").c_str(), false), testing::Native("/songs/KVX"));
  EXPECT_EQ(SubfolderTarget(testing::Native("/songs/list.txt").c_str(), true), testing::Native("/songs/KVX"));
  EXPECT_EQ(SubfolderTarget(testing::Native("/songs/list").c_str(), true), testing::Native("/KVX"));
  EXPECT_EQ(SubfolderTarget("", true), testing::Native("/KVX"));
  EXPECT_EQ(SubfolderTarget("", false), testing::Native("/KVX"));
  EXPECT_EQ(SubfolderTarget(std::string(256, 'a').c_str(), false), "");
}

}  // namespace
}  // namespace valmero
