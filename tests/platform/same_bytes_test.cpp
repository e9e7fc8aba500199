#include "platform/same_bytes.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::WriteFile;

// 200 KB files that differ in one byte: the ends (64 KB each) see a change
// there, not one in the middle; every byte sees all.
TEST(SameBytesTest, EndsSeeTheFirstAndLast64KbAndWholeSeesEveryByte) {
  const std::size_t size = 200 * 1024;
  const struct {
    long long changedAt;  // -1: none
    bool sameEnds;
    bool sameWhole;
  } cases[] = {{-1, true, true}, {0, false, false}, {64 * 1024 - 1, false, false}, {100 * 1024, true, false},
               {static_cast<long long>(size) - 64 * 1024, false, false}, {static_cast<long long>(size) - 1, false, false}};
  CTempDir dir;
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  WriteFile(dir / "a", bytes);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.changedAt);
    std::string other = bytes;
    if (c.changedAt >= 0) other[static_cast<std::size_t>(c.changedAt)] ^= 1;
    WriteFile(dir / "b", other);
    EXPECT_EQ(SameBytes((dir / "a").c_str(), (dir / "b").c_str(), size, BytesCompared::Ends), c.sameEnds);
    EXPECT_EQ(SameBytes((dir / "a").c_str(), (dir / "b").c_str(), size, BytesCompared::Whole), c.sameWhole);
  }
  // A size other than both files', or a file that is not there, is no match.
  EXPECT_FALSE(SameBytes((dir / "a").c_str(), (dir / "a").c_str(), size - 1, BytesCompared::Whole));
  EXPECT_FALSE(SameBytes((dir / "a").c_str(), (dir / "gone").c_str(), size, BytesCompared::Ends));
}

}  // namespace
}  // namespace valmero
