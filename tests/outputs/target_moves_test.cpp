#include "outputs/target_moves.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Files;
using testing::ReadFolder;
using testing::WriteFile;

using Moves = std::vector<FolderMove>;
using Outcomes = std::vector<MoveOutcome>;

constexpr MoveOutcome DONE = MoveOutcome::Done;
constexpr MoveOutcome FAILED = MoveOutcome::Failed;
constexpr MoveOutcome NOT_TRIED = MoveOutcome::NotTried;

// Each name of `names` holds its own name as its bytes.
void WriteNamed(const CTempDir& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) WriteFile(folder / name, name);
}

TEST(TargetMovesTest, EveryFileEndsUnderItsNewNameWhateverTheOrder) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    Moves moves;
    Files expected;
    Outcomes outcomes;
  } cases[] = {
      {"chain up onto a stale file",
       {"1", "2", "3", "9"},
       {{"1", "2"}, {"2", "3"}, {"3", "9"}},
       {{"2", "1"}, {"3", "2"}, {"9", "3"}},
       {DONE, DONE, DONE}},
      {"chain down", {"2", "3", "4"}, {{"3", "2"}, {"4", "3"}}, {{"2", "3"}, {"3", "4"}}, {DONE, DONE}},
      {"swap", {"1", "2"}, {{"1", "2"}, {"2", "1"}}, {{"1", "2"}, {"2", "1"}}, {DONE, DONE}},
      {"cycle of three with a chain into it",
       {"1", "2", "3", "7"},
       {{"7", "1"}, {"1", "2"}, {"2", "3"}, {"3", "7"}},
       {{"1", "7"}, {"2", "1"}, {"3", "2"}, {"7", "3"}},
       {DONE, DONE, DONE, DONE}},
      {"a move onto a folder fails and the chain behind it goes on",
       {"1", "2"},
       {{"1", "2"}, {"2", "dir"}},
       {{"2", "1"}},
       {DONE, FAILED}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CTempDir folder;
    WriteNamed(folder, c.files);
    MakeDirectory((folder / "dir").c_str());
    EXPECT_EQ(MoveWithinFolder(folder.Path(), c.moves, [] { return true; }), c.outcomes);
    Files after = ReadFolder(folder.Path());
    after.erase("dir");
    EXPECT_EQ(after, c.expected);
  }
}

// Stopped before each of its four renames in turn (the first puts one file
// under a temporary name), a cycle leaves every file under its old or its
// new name, except the one waiting under a temporary name, which is
// removed; nothing else is lost and no temporary stays.
TEST(TargetMovesTest, StoppedAnywhereEveryFileIsUnderItsOldOrNewName) {
  const Moves cycle = {{"1", "2"}, {"2", "3"}, {"3", "1"}};
  for (int allowed = 0; allowed <= 4; ++allowed) {
    SCOPED_TRACE(allowed);
    CTempDir folder;
    WriteNamed(folder, {"1", "2", "3"});
    int asked = 0;
    Outcomes outcomes = MoveWithinFolder(folder.Path(), cycle, [&] { return asked++ < allowed; });
    Files after = ReadFolder(folder.Path());
    int lost = 3;
    for (std::size_t m = 0; m < cycle.size(); ++m) {
      const std::string& bytes = cycle[m].from;
      bool atNew = after.count(cycle[m].to) && after[cycle[m].to] == bytes;
      bool atOld = after.count(cycle[m].from) && after[cycle[m].from] == bytes;
      EXPECT_EQ(atNew, outcomes[m] == DONE) << bytes;
      lost -= atNew || atOld;
    }
    EXPECT_EQ(lost, allowed == 0 || allowed == 4 ? 0 : 1);
    EXPECT_LE(after.size(), 3u);
    if (allowed == 0) {
      EXPECT_EQ(outcomes, (Outcomes{NOT_TRIED, NOT_TRIED, NOT_TRIED}));
    } else if (allowed == 4) {
      EXPECT_EQ(outcomes, (Outcomes{DONE, DONE, DONE}));
    }
  }
}

}  // namespace
}  // namespace valmero
