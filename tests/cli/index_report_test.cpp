#include "cli/index_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/fixed_text.h"
#include "outputs/singer_index.h"
#include "support/cli_runner.h"
#include "support/skip.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::ReadFile;
using testing::StartTestLog;
using testing::WriteFile;

// Runs inspect with both streams caught.
struct InspectResult {
  int status;
  std::string out;
  std::string err;
};

std::string Drain(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  return text;
}

InspectResult Inspect(const std::string& path) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int status = RunInspect(path.c_str(), out, err);
  return {status, Drain(out), Drain(err)};
}

class InspectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartTestLog(m_folder.Path());
    SongList songs = testing::MakeSongs(
        {{1, "Rain", "Bob"}, {2, "Apple", "Ann"}, {3, "blue \"sky\"", "Ann"}, {4, "Tab\there", "\xc5sa"}});
    SingerIndex index;
    ASSERT_EQ(BuildIndex(songs, true, m_folder.Path().c_str(), index), 0);
  }
  std::string KvxPath() const { return m_folder / "ENGLISH.KVX"; }
  CTempDir m_folder;
};

TEST_F(InspectTest, PrintsEverySingerWithItsTitlesWhenSound) {
  InspectResult result = Inspect(KvxPath());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, KvxPath() + ": 3 singers, 4 titles\n"
                        "singer 0 \"ANN\": 2 titles\n"
                        "            2  \"APPLE\"\n"
                        "            3  \"BLUE \\\"SKY\\\"\"\n"
                        "singer 1 \"BOB\": 1 title\n"
                        "            1  \"RAIN\"\n"
                        "singer 2 \"\xc5SA\": 1 title\n"
                        "            4  \"TAB\\x09HERE\"\n");
}

TEST_F(InspectTest, RefusesEveryTruncationWithItsOffset) {
  const std::string bytes = ReadFile(KvxPath());
  const std::string cutPath = m_folder / "cut.kvx";
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    WriteFile(cutPath, bytes.substr(0, size));
    InspectResult result = Inspect(cutPath);
    EXPECT_EQ(result.status, 1) << size;
    EXPECT_EQ(result.out, "") << size;
    EXPECT_EQ(result.err.rfind("valmero-cli: " + cutPath + ": fault at offset ", 0), 0u) << result.err;
  }
  WriteFile(cutPath, bytes.substr(0, 100));
  EXPECT_EQ(Inspect(cutPath).err, "valmero-cli: " + cutPath +
                                      ": fault at offset 100: the file ends early: 3 singers and 4 titles need "
                                      "240 bytes, it has 100\n");
}

TEST_F(InspectTest, AFileThatCannotBeReadIsAFault) {
  for (const std::string& path : {m_folder / "missing.kvx", m_folder.Path()}) {
    InspectResult result = Inspect(path);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "valmero-cli: can not read \"" + path + "\"\n");
  }
}

TEST_F(InspectTest, ReadsNoFurtherThanTheHeaderAnnounces) {
  SKIP_ON_WINDOWS("Windows has no endless device file to give it");
  // An endless device is refused at its first byte instead of being read.
  InspectResult endless = Inspect("/dev/zero");
  EXPECT_EQ(endless.status, 1);
  EXPECT_EQ(endless.err,
            "valmero-cli: /dev/zero: fault at offset 0: the file does not start with \"ENG\" and a zero byte\n");
  const std::string longer = m_folder / "longer.kvx";
  WriteFile(longer, ReadFile(KvxPath()) + std::string(1 << 20, '\0'));
  EXPECT_EQ(Inspect(longer).err,
            "valmero-cli: " + longer + ": fault at offset 240: the file goes on after the last title record\n");
}

TEST_F(InspectTest, ProgramExitsWithTheCheckResult) {
  const std::string damaged = m_folder / "damaged.kvx";
  std::string bytes = ReadFile(KvxPath());
  bytes[0] = 'X';
  WriteFile(damaged, bytes);
  // (file, exit status)
  for (const auto& [path, expected] : {std::pair{KvxPath(), 0}, {damaged, 1}}) {
    EXPECT_EQ(testing::RunCli(m_folder.Path(), "inspect " + testing::Quote(path)).status, expected) << path;
  }
}

}  // namespace
}  // namespace valmero
