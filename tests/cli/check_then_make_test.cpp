// On generated collections, check and make agree: every song check drops is
// missing from what make writes, and every other song is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "support/cli_runner.h"
#include "support/collection.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Quote;
using testing::RunCli;

struct Collection {
  bool disc = false;
  std::set<std::string> titles;
  std::map<std::string, std::string> titleOfFile;  // download: file name -> title
  std::map<int, std::string> titleOfLine;          // disc: songlist line -> title
};

// A download folder: numbered pairs, a few of another kind, a few without a
// number, some without their companion.
void MakeDownload(std::mt19937& random, int count, const std::string& folder, Collection& made) {
  std::uniform_int_distribution<int> percent(0, 99);
  for (int i = 0; i < count; ++i) {
    std::string title = "T" + std::to_string(100 + i);
    int dice = percent(random);
    std::string base = dice < 15   ? std::to_string(i + 1) + "-IPS"
                       : dice < 25 ? "Track" + std::to_string(i)
                                   : std::to_string(i + 1);
    testing::WriteFile(folder + "/" + base + ".mp3", testing::TaggedMp3(title, "Singer"));
    if (percent(random) < 80) testing::WriteFile(folder + "/" + base + ".mcg", "g");
    made.titles.insert(title);
    made.titleOfFile[base + ".mp3"] = title;
  }
}

// A songlist with lines that lose their song: no number, a missing file, and
// now and then a line that ends the list; sometimes a byte-order mark.
void MakeDisc(std::mt19937& random, int count, const std::string& folder, Collection& made) {
  std::uniform_int_distribution<int> percent(0, 99);
  std::string list = percent(random) < 10 ? "\xEF\xBB\xBF" : "";
  std::string lineEnd = percent(random) < 50 ? "\r\n" : "\n";
  int line = 0;
  for (int i = 0; i < count; ++i) {
    int dice = percent(random);
    if (dice < 5) {
      list += lineEnd;
      ++line;
    } else if (dice < 8) {
      list += "no separator here" + lineEnd;
      ++line;
    }
    std::string title = "T" + std::to_string(100 + i);
    std::string number = std::to_string(i + 1);
    dice = percent(random);
    list += (dice < 10 ? "x" + number : number) + "|" + title + "|Singer" + lineEnd;
    made.titles.insert(title);
    made.titleOfLine[++line] = title;
    // 10 to 19: the .mp3 file is missing; 20 to 29: the .mcg file.
    if (dice < 10 || dice >= 20) testing::WriteFile(folder + "/" + number + ".mp3", "a");
    if (dice < 20 || dice >= 30) testing::WriteFile(folder + "/" + number + ".mcg", "g");
  }
  testing::WriteFile(folder + "/list.txt", list);
}

std::set<std::string> TitlesInList(const std::string& listText) {
  std::set<std::string> titles;
  std::istringstream lines(listText);
  for (std::string line; std::getline(lines, line);) {
    std::string title = line.substr(6, line.find('|', 6) - 6);
    titles.insert(title.substr(0, title.find(' ')));
  }
  return titles;
}

TEST(CheckThenMakeTest, DroppedSongsAreExactlyTheOnesMakeLeavesOut) {
  std::set<std::string> reasonsSeen;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    CTempDir dir;
    std::filesystem::create_directory(dir / "songs");
    Collection made;
    made.disc = seed % 2 == 0;
    int count = std::uniform_int_distribution<int>(1, 15)(random);
    if (made.disc)
      MakeDisc(random, count, dir / "songs", made);
    else
      MakeDownload(random, count, dir / "songs", made);

    std::string options = std::string(made.disc ? "--disc --source " + Quote(dir / "songs/list.txt")
                                                : "--source " + Quote(dir / "songs")) +
                          " --list --target " + Quote(dir / "out") + (seed % 3 == 0 ? " --index keep" : "");
    testing::CliResult check = RunCli(dir.Path(), "check --json " + options);
    ASSERT_NE(check.status, 1) << check.out;
    nlohmann::json report = nlohmann::json::parse(check.out);

    std::set<std::string> expected = made.titles;
    for (const auto& dropped : report["dropped"]) {
      reasonsSeen.insert(dropped["reason"].get<std::string>());
      std::string file = dropped["file"].get<std::string>();
      const std::string& title = made.disc ? made.titleOfLine.at(dropped["line"].get<int>())
                                           : made.titleOfFile.at(file.substr(file.find_last_of("/\\") + 1));
      EXPECT_EQ(expected.erase(title), 1u) << "dropped twice: " << title;
    }

    testing::CliResult make = RunCli(dir.Path(), "make " + options);
    ASSERT_TRUE(make.status == 0 || make.status == 3) << make.out << make.err;
    std::set<std::string> listed = TitlesInList(testing::ReadFile(dir / "out/LIST.TXT"));
    EXPECT_EQ(listed, expected) << check.out;
    EXPECT_EQ(report["songs"].get<std::size_t>(), listed.size());
  }
  // The collections must have met every way of losing a song.
  EXPECT_EQ(reasonsSeen.size(), 5u);
}

}  // namespace
}  // namespace valmero
