#include "run/target_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace valmero {
namespace {

TEST(TargetRuleTest, KvxFolderBesideOrInsideTheSource) {
  EXPECT_EQ(SubfolderTarget("/songs", false), "/songs/KVX");
  EXPECT_EQ(SubfolderTarget("/songs/list.txt", true), "/songs/KVX");
  EXPECT_EQ(SubfolderTarget("/songs/list", true), "/KVX");
  EXPECT_EQ(SubfolderTarget("", true), "/KVX");
  EXPECT_EQ(SubfolderTarget("", false), "/KVX");
  EXPECT_EQ(SubfolderTarget(std::string(256, 'a').c_str(), false), "");
}

}  // namespace
}  // namespace valmero
