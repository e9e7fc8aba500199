#include "run/song_preview.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "platform/path_separator.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Exists;
using testing::Quote;
using testing::RunCli;

// "NUMBER|TITLE" of each LIST.TXT line, the title's filling removed.
std::vector<std::string> ListedSongs(const std::string& listText) {
  std::vector<std::string> songs;
  std::istringstream lines(listText);
  for (std::string line; std::getline(lines, line);) {
    std::size_t titleEnd = line.find('|', 6);
    std::string title = line.substr(6, titleEnd - 6);
    title.erase(title.find_last_not_of(' ') + 1);
    songs.push_back(line.substr(0, 5) + "|" + title);
  }
  return songs;
}

// The plan of a make with a songlist (disc) or a download folder.
RunPlan PlanOf(bool disc, bool renumber) {
  RunPlan plan;
  plan.sourceDownload = !disc;
  plan.sourceDisc = disc;
  plan.index = renumber ? IndexMode::Renumber : IndexMode::Keep;
  return plan;
}

std::vector<std::string> PreviewedSongs(const SongPreview& preview, bool renumber) {
  std::vector<std::string> songs;
  char number[16];
  for (const auto& song : preview.songs) {
    std::snprintf(number, sizeof number, "%05d", PlayerNumber(*song, renumber));
    // The index stage upper-cases the records before LIST.TXT is written;
    // the preview keeps the texts as read.
    std::string title = song->title;
    for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    songs.push_back(std::string(number) + "|" + title);
  }
  return songs;
}

// The preview must give exactly the songs and numbers a run writes, and must
// write nothing itself: no log, no target.
TEST(SongPreviewTest, SameSongsAndNumbersAsARunOnTheSamples) {
  struct Case {
    const char* source;
    bool disc, renumber;
  } const cases[] = {
      {VALMERO_SAMPLES_DIR VALMERO_SEP "download", false, true},
      {VALMERO_SAMPLES_DIR VALMERO_SEP "download", false, false},
      {VALMERO_SAMPLES_DIR VALMERO_SEP "disc" VALMERO_SEP "list.txt", true, true},
      {VALMERO_SAMPLES_DIR VALMERO_SEP "disc" VALMERO_SEP "list.txt", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + (c.renumber ? " renumber" : " keep"));
    CTempDir dir;
    testing::WriteFile(dir / "products.cp", testing::ReadFile(VALMERO_SAMPLES_DIR VALMERO_SEP "products.cp"));
    std::string args = std::string("make --list --index ") + (c.renumber ? "renumber" : "keep") +
                       (c.disc ? " --disc" : "") + " --source " + Quote(c.source) + " --target " +
                       Quote(dir / "out");
    // 3: the download sample holds a song whose companion cannot be copied.
    int status = RunCli(dir.Path(), args).status;
    ASSERT_TRUE(status == 0 || status == 3) << status;

    SongPreview preview;
    PreviewSongs(dir.Path().c_str(), c.source, PlanOf(c.disc, c.renumber), preview);
    EXPECT_EQ(preview.readResult, 0);
    EXPECT_EQ(PreviewedSongs(preview, c.renumber), ListedSongs(testing::ReadFile(dir / "out/LIST.TXT")));
  }
  CTempDir quiet;
  SongPreview preview;
  PreviewSongs(quiet.Path().c_str(), quiet / "missing.txt", PlanOf(true, true), preview);
  EXPECT_LT(preview.readResult, 0);
  EXPECT_FALSE(Exists(quiet / "mirqlog.txt"));
}

}  // namespace
}  // namespace valmero
