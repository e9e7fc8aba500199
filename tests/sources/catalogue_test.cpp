#include "sources/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::LogMessages;
using testing::StartTestLog;
using testing::WriteFile;

std::string Int32(int32_t value) {
  uint32_t raw = static_cast<uint32_t>(value);
  return {static_cast<char>(raw), static_cast<char>(raw >> 8), static_cast<char>(raw >> 16),
          static_cast<char>(raw >> 24)};
}

std::string Complemented(const std::string& text) {
  std::string stored = text;
  for (char& c : stored) c = static_cast<char>(255 - static_cast<unsigned char>(c));
  return stored;
}

std::string Record(int32_t number, const std::string& title, const std::string& singer) {
  return Int32(number) + Int32(static_cast<int32_t>(title.size())) + Complemented(title) +
         Int32(static_cast<int32_t>(singer.size())) + Complemented(singer);
}

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_dir.Path()); }

  int Load(const std::string& bytes) {
    WriteFile(m_dir / "products.cp", bytes);
    return m_catalogue.ReadCatalogue(m_dir.Path().c_str());
  }

  std::vector<std::string> LoadLog() {
    auto log = LogMessages(m_dir.Path());
    return std::vector<std::string>(log.begin() + 1, log.end());
  }

  CTempDir m_dir;
  CSongCatalogue m_catalogue;
  TagScratch m_scratch = {};
};

TEST_F(CatalogueTest, RecordsAreDecodedAndTheFirstOfANumberWins) {
  ASSERT_EQ(Load(Record(12, "abc", "Bob") + Record(0, "", "Zero") + Record(12, "second", "Ann")), 0);
  EXPECT_EQ(LoadLog(), (std::vector<std::string>{"Read 3 mirq songs data"}));
  ASSERT_EQ(m_catalogue.Size(), 3u);
  EXPECT_EQ(m_catalogue.At(0).titleLength, 3);
  EXPECT_STREQ(m_catalogue.At(0).title, "abc");

  std::memset(m_scratch.m_tag.album, 'x', 3);
  ASSERT_EQ(m_catalogue.LookupCatalogue(12, m_scratch), 0);
  EXPECT_STREQ(m_scratch.m_tag.title, "abc");
  EXPECT_STREQ(m_scratch.m_tag.singer, "Bob");
  EXPECT_EQ(std::string(m_scratch.m_tag.album, 3), "xxx");  // only title and singer are set

  ASSERT_EQ(m_catalogue.LookupCatalogue(0, m_scratch), 0);
  EXPECT_STREQ(m_scratch.m_tag.title, "");
  EXPECT_STREQ(m_scratch.m_tag.singer, "Zero");

  EXPECT_EQ(m_catalogue.LookupCatalogue(99, m_scratch), -1);
  EXPECT_STREQ(m_scratch.m_tag.singer, "Zero");
}

TEST_F(CatalogueTest, LongTextsAreCutToWhatTheScratchHolds) {
  std::string longTitle(300, 't');
  ASSERT_EQ(Load(Record(1, longTitle, std::string(70, 's')) + Record(2, "after", "x") +
                 Record(3, std::string(260, 'u'), "y")),
            0);
  ASSERT_EQ(m_catalogue.Size(), 3u);
  EXPECT_EQ(std::string(m_catalogue.At(0).title), std::string(259, 't'));
  // Exactly one byte more than the field holds: 259 characters and the terminator.
  EXPECT_EQ(std::string(m_catalogue.At(2).title), std::string(259, 'u'));
  EXPECT_STREQ(m_catalogue.At(2).singer, "y");
  ASSERT_EQ(m_catalogue.LookupCatalogue(1, m_scratch), 0);
  EXPECT_EQ(std::string(m_scratch.m_tag.title), std::string(59, 't'));
  EXPECT_EQ(std::string(m_scratch.m_tag.singer), std::string(59, 's'));
  EXPECT_EQ(m_catalogue.LookupCatalogue(2, m_scratch), 0);
}

TEST_F(CatalogueTest, DamagedFileKeepsTheRecordsBeforeTheDamage) {
  const std::string good = Record(1, "One", "A") + Record(2, "Two", "B");
  struct Case {
    std::string tail;
    std::size_t kept;
  };
  const Case cases[] = {
      {Int32(3) + Int32(-1), 2},                       // negative title length
      {Int32(3) + Int32(1000) + "short", 2},           // length past the end of the file
      {Int32(3) + Int32(0) + Int32(-5), 2},            // negative singer length
      {"\x01\x02", 2},                                 // number cut short
  };
  for (const Case& c : cases) {
    CSongCatalogue catalogue;
    WriteFile(m_dir / "products.cp", good + c.tail);
    ASSERT_EQ(catalogue.ReadCatalogue(m_dir.Path().c_str()), 0);
    EXPECT_EQ(catalogue.Size(), c.kept);
  }
  auto log = LoadLog();
  EXPECT_EQ(log[0], "products file is damaged at record 3");
  EXPECT_EQ(log[1], "Read 2 mirq songs data");
}

TEST_F(CatalogueTest, EveryTruncationReadsWithoutHarm) {
  const std::string bytes = Record(7, "Seven", "Singer") + Record(8, "Eight", "Other");
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    CSongCatalogue catalogue;
    catalogue.ReadCatalogueBytes(reinterpret_cast<const unsigned char*>(bytes.data()), length);
    EXPECT_LE(catalogue.Size(), 2u);
  }
}

TEST_F(CatalogueTest, MissingOrEmptyFile) {
  EXPECT_EQ(m_catalogue.ReadCatalogue(m_dir.Path().c_str()), -1);
  EXPECT_EQ(LoadLog(), (std::vector<std::string>{"products file open error"}));
  EXPECT_EQ(m_catalogue.LookupCatalogue(0, m_scratch), -1);
  EXPECT_EQ(Load(""), 0);
  EXPECT_EQ(LoadLog().back(), "Read 0 mirq songs data");
}

}  // namespace
}  // namespace valmero
