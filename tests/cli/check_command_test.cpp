// valmero-cli check against collections with one kind of problem each: the
// findings it reports (and only those), its exit status, and that it leaves
// every file where it ran exactly as it was, the log included.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/collection.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Quote;
using testing::RunCli;
using testing::TaggedMp3;
using testing::UntaggedMp3;

struct CheckCase {
  const char* name;
  bool disc;
  std::map<std::string, std::string> songs;  // files in the song folder
  std::map<std::string, std::string> old;    // files already in the target
  const char* options;
  int status;
  std::vector<std::string>
      findings;  // "drop REASON FILE[:LINE]", "warn CODE FILE[:LINE]", "replaced NAME", "stale NAME"
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

const std::string SONG = TaggedMp3("Rain", "Bob");
const std::string LONG_TITLE = "Thirty characters of title!!!";

std::string Utf16(const std::string& text) {
  std::string wide = "\xFF\xFE";
  for (char c : text) wide += std::string(1, c) + '\0';
  return wide;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

std::string Where(const nlohmann::json& entry) {
  std::string where = BaseName(entry["file"].get<std::string>());
  if (entry.contains("line")) where += ":" + std::to_string(entry["line"].get<int>());
  return where;
}

std::vector<std::string> Findings(const nlohmann::json& report) {
  std::vector<std::string> findings;
  for (const auto& entry : report["dropped"])
    findings.push_back("drop " + entry["reason"].get<std::string>() + " " + Where(entry));
  for (const auto& entry : report["warnings"])
    findings.push_back("warn " + entry["code"].get<std::string>() + " " + Where(entry));
  for (const char* list : {"replaced", "stale"}) {
    if (!report.contains(list)) continue;
    for (const auto& path : report[list])
      findings.push_back(std::string(list) + " " + BaseName(path.get<std::string>()));
  }
  std::sort(findings.begin(), findings.end());
  return findings;
}

class CheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckTest, ReportsWhatIsThereAndWritesNothing) {
  const CheckCase& c = GetParam();
  CTempDir dir;
  if (!c.songs.empty()) std::filesystem::create_directory(dir / "songs");
  if (!c.old.empty()) std::filesystem::create_directory(dir / "out");
  for (const auto& [name, bytes] : c.songs) testing::WriteFile(dir / ("songs/" + name), bytes);
  for (const auto& [name, bytes] : c.old) testing::WriteFile(dir / ("out/" + name), bytes);
  testing::WriteFile(dir / "mirqlog.txt", "the log of an earlier run\r\n");
  testing::Files before = testing::ReadTree(dir.Path());

  std::string source = c.disc ? dir / "songs/list.txt" : dir / "songs";
  std::string target = c.old.empty() ? "" : " --target " + Quote(dir / "out");
  testing::CliResult run = RunCli(dir.Path(), std::string("check --json ") + (c.disc ? "--disc " : "") + "--source " +
                                                  Quote(source) + target + " " + c.options);

  EXPECT_EQ(run.status, c.status) << run.out << run.err;
  nlohmann::json report = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(report.is_discarded()) << run.out;
  std::vector<std::string> expected = c.findings;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Findings(report), expected) << run.out;
  testing::Files after = testing::ReadTree(dir.Path());
  after.erase(".out");  // what RunCli captured
  after.erase(".err");
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Collections, CheckTest,
    ::testing::Values(
        CheckCase{"CleanDownload",
                  false,
                  {{"00001.mp3", SONG}, {"00001.mcg", "g"}, {"00002.mp3", SONG}, {"00002.MCG", "g"}},
                  {},
                  "--list --config-keep",
                  0,
                  {}},
        CheckCase{"OtherKindAndNoInformation",
                  false,
                  {{"00001.mp3", SONG},
                   {"00001.mcg", "g"},
                   {"00002-IPS.mp3", SONG},
                   {"00003.mp3", UntaggedMp3()},
                   {"00003.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"drop other_kind 00002-IPS.mp3", "warn no_song_information 00003.mp3"}},
        // Kept numbers go to the player as they are.
        CheckCase{
            "NumbersKept",
            false,
            {{"00001.mp3", SONG}, {"1.mp3", SONG}, {"123456.mp3", SONG}, {"Track.mp3", SONG}},
            {},
            "--index keep",
            3,
            {"warn duplicate_number 00001.mp3", "warn number_over_99999 123456.mp3", "warn bad_number Track.mp3"}},
        // The player shows five digits: 99999 is the last it can.
        CheckCase{"NumberOf99999", false, {{"99999.mp3", SONG}}, {}, "--index keep", 0, {}},
        // The index holds 23 characters: 24 lose one, 23 lose none.
        CheckCase{"TextsOf24Characters",
                  false,
                  {{"00001.mp3", TaggedMp3(std::string(24, 't'), std::string(24, 's'))},
                   {"00002.mp3", TaggedMp3(std::string(23, 't'), std::string(23, 's'))}},
                  {},
                  "--index keep",
                  3,
                  {"warn title_cut 00001.mp3", "warn singer_cut 00001.mp3"}},
        // Tags fill their fields with spaces: those are no loss.
        CheckCase{"TextsCut",
                  false,
                  {{"00001.mp3", TaggedMp3(LONG_TITLE, "Bob|Ann")},
                   {"00002.mp3", TaggedMp3("Short                         ", "Ann")}},
                  {},
                  "--index keep --list",
                  3,
                  {"warn title_cut 00001.mp3", "warn separator_in_text 00001.mp3"}},
        CheckCase{"CompanionMissingWhenCopying",
                  false,
                  {{"00001.mp3", SONG}},
                  {},
                  "",
                  3,
                  {"warn missing_companion 00001.mp3"}},
        CheckCase{"CompanionNotNeeded", false, {{"00001.mp3", SONG}}, {}, "--index keep", 0, {}},
        CheckCase{"CleanDisc",
                  true,
                  {{"list.txt", "1|A|B\r\n2|C|D\r\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"2.mp3", "a"}, {"2.MCG", "g"}},
                  {},
                  "--list",
                  0,
                  {}},
        CheckCase{"LinesDropped",
                  true,
                  {{"list.txt", "1|A|B\nx|C|D\n3|E|F\n4|G|H\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"3.mp3", "a"}},
                  {},
                  "",
                  3,
                  {"drop bad_number list.txt:2", "drop missing_mcg 3.mcg:3", "drop missing_mp3 4.mp3:4"}},
        CheckCase{"BlankLineEndsTheList",
                  true,
                  {{"list.txt", "1|A|B\n\n2|C|D\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"2.mp3", "a"}, {"2.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"drop list_ended_early list.txt:3"}},
        CheckCase{"LongLineEndsTheList",
                  true,
                  {{"list.txt", "1|" + std::string(300, 'x') + "\n2|C|D\n"},
                   {"1.mp3", "a"},
                   {"1.mcg", "g"},
                   {"2.mp3", "a"},
                   {"2.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn title_cut list.txt:1", "drop list_ended_early list.txt:2"}},
        CheckCase{"ByteOrderMark",
                  true,
                  {{"list.txt",
                    "\xEF\xBB\xBF"
                    "1|A|B\n2|C|D\n"},
                   {"1.mp3", "a"},
                   {"1.mcg", "g"},
                   {"2.mp3", "a"},
                   {"2.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn byte_order_mark list.txt:1", "drop bad_number list.txt:1"}},
        // The run takes no song from a UTF-16 file: exit 1, as for one it cannot read.
        CheckCase{
            "Utf16",
            true,
            {{"list.txt", Utf16("1|A|B\r\n2|C|D\r\n")}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"2.mp3", "a"}, {"2.mcg", "g"}},
            {},
            "",
            1,
            {"warn utf16_file list.txt", "drop list_ended_early list.txt:1", "drop list_ended_early list.txt:2"}},
        // One line of four separators: the run fails on it.
        CheckCase{"CrOnlyLineEnds",
                  true,
                  {{"list.txt", "1|A|B\r2|C|D\r"}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"2.mp3", "a"}, {"2.mcg", "g"}},
                  {},
                  "",
                  1,
                  {"warn cr_only_line_ends list.txt"}},
        // A NUL byte cuts one line short: no UTF-16 file for that.
        CheckCase{"NulByteInALine",
                  true,
                  {{"list.txt", std::string("1|Rain\0Extra|Bob\n2|Snow|Ann\n", 24)},
                   {"1.mp3", "a"},
                   {"1.mcg", "g"},
                   {"2.mp3", "a"},
                   {"2.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn nul_byte list.txt:1"}},
        CheckCase{
            "Utf16WithoutMark",
            true,
            {{"list.txt", Utf16("1|A|B\r\n2|C|D\r\n").substr(2)}, {"1.mp3", "a"}, {"1.mcg", "g"}, {"2.mp3", "a"}, {"2.mcg", "g"}},
            {},
            "",
            1,
            {"warn utf16_file list.txt", "drop list_ended_early list.txt:1", "drop list_ended_early list.txt:2"}},
        CheckCase{"TooManySeparators", true, {{"list.txt", "1|A|B|C\n"}}, {}, "", 1, {}},
        // Lines as an editor numbers them: a CR alone ends one too.
        CheckCase{"MixedLineEnds",
                  true,
                  {{"list.txt", "1|A|B\rC\nabc|X|Y\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn cr_only_line_ends list.txt", "drop bad_number list.txt:3"}},
        CheckCase{"DuplicateNumberOnItsLine",
                  true,
                  {{"list.txt", "5|First|A\n5|Second|B\n"}, {"5.mp3", "a"}, {"5.mcg", "g"}},
                  {},
                  "--index keep",
                  3,
                  {"warn duplicate_number list.txt:2"}},
        CheckCase{"RepeatedLineNamedAtItsOwnLine",
                  true,
                  {{"list.txt", "5|Same|A\n6|Other|B\n5|Same|A\n"}, {"5.mp3", "a"}, {"5.mcg", "g"}, {"6.mp3", "a"}, {"6.mcg", "g"}},
                  {},
                  "--index keep",
                  3,
                  {"warn duplicate_number list.txt:3"}},
        CheckCase{"Utf8Songlist",
                  true,
                  {{"list.txt", "1|Caf\xC3\xA9|Beyonc\xC3\xA9\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn utf8_text list.txt"}},
        CheckCase{"KoreanReadAsCp1252",
                  true,
                  {{"list.txt", "1|\xBB\xE7\xB6\xFB|\xB0\xA1\xBC\xF6\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}},
                  {},
                  "",
                  3,
                  {"warn other_code_page list.txt"}},
        CheckCase{"KoreanReadAsKorean",
                  true,
                  {{"list.txt", "1|\xBB\xE7\xB6\xFB|\xB0\xA1\xBC\xF6\n"}, {"1.mp3", "a"}, {"1.mcg", "g"}},
                  {},
                  "--encoding CP949",
                  0,
                  {}},
        CheckCase{"SonglistMissing", true, {{"other.txt", ""}}, {}, "", 1, {}},
        CheckCase{"FolderMissing", false, {}, {}, "", 1, {}},
        CheckCase{"TargetHoldsOldFiles",
                  false,
                  {{"00001.mp3", SONG}, {"00001.mcg", "g"}},
                  {{"00001.MP3", "old"},
                   {"00001.mcg", "old"},
                   {"00009.MP3", "old"},
                   {"00009.mcg", "old"},
                   {"ENGLISH.KVX", "old"},
                   {"notes.txt", "mine"}},
                  "",
                  3,
                  {"replaced 00001.MP3", "replaced 00001.mcg", "replaced ENGLISH.KVX", "stale 00009.MP3",
                   "stale 00009.mcg"}},
        // A song file under the run's last number is the run's; past it, stale.
        CheckCase{"LastNumberIsNotStale",
                  false,
                  {{"00001.mp3", SONG}, {"00003.mp3", SONG}},
                  {{"00003.MP3", "old"}, {"00004.MP3", "old"}},
                  "--index keep",
                  3,
                  {"stale 00004.MP3"}},
        CheckCase{"ListReplaced", false, {{"00001.mp3", SONG}}, {{"LIST.TXT", "old"}}, "--index keep --list", 0,
                  {"replaced LIST.TXT"}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

// The demo collections

// The demo collections hold two problems on purpose, and only those.
TEST(CheckSamplesTest, ReportsExactlyTheProblemsOfTheBundledSamples) {
  CTempDir dir;
  testing::WriteFile(dir / "products.cp", testing::ReadFile(VALMERO_SAMPLES_DIR "/products.cp"));
  testing::CliResult download = RunCli(dir.Path(), "check --json --source " + Quote(VALMERO_SAMPLES_DIR "/download"));
  EXPECT_EQ(download.status, 3);
  EXPECT_EQ(Findings(nlohmann::json::parse(download.out)),
            (std::vector<std::string>{"drop other_kind 14000-IPS.mp3", "warn missing_companion 12950.mp3"}));
  testing::CliResult disc = RunCli(
      dir.Path(), "check --json --list --config-keep --disc --source " + Quote(VALMERO_SAMPLES_DIR "/disc/list.txt"));
  EXPECT_EQ(disc.status, 0) << disc.out;
}

// What the report says in words: each case a songlist, the check's options,
// and texts its report must hold.
TEST(CheckWordsTest, ReportNamesItsFindingsSoAUserCanActOnThem) {
  std::string manyCuts;
  for (int i = 1; i <= 12; ++i) manyCuts += std::to_string(i) + "|A Title Longer Than The Index Holds " + std::to_string(i) + "|X\n";
  struct Case {
    const char* name;
    std::string songlist;
    const char* options;
    std::vector<std::string> wanted;
  };
  const Case cases[] = {
      {"counts by kind, a few cut titles", manyCuts, "",
       {"Warnings: 12 (title_cut 12)\n", "... and 7 more (valmero-cli check --all lists them)"}},
      {"every cut title with --all", manyCuts, "--all", {"HOLDS 12\"\n"}},
      {"names in UTF-8", "1|\xBB\xE7\xB6\xFB|\xB0\xA1\xBC\xF6 and a singer whose name goes on\n", "--encoding CP949",
       {"\xEA\xB0\x80\xEC\x88\x98 AND A SINGER WHOSE"}},
      {"a BOM as a word", "\xEF\xBB\xBF" "1|A|B\n", "", {"no song number in \"[BOM]1\""}},
      {"CR-only line ends as the cause", "1|A|B\r2|C|D\r3|E|F\r", "",
       {"The run would fail: lines 1 to 3 are read as one line", "CR alone"}},
      {"both lines and titles of a number", "7|First|A\n7|Second|B\n", "--index keep",
       {"line 2: \"Second\" has the number of \"First\" (line 1)"}},
      {"what to do about a big number", "123456|Big|A\n", "--index keep", {"give it a number up to 99999"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTempDir dir;
    std::filesystem::create_directory(dir / "songs");
    testing::WriteFile(dir / "songs/list.txt", c.songlist);
    for (const char* number : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "123456"}) {
      testing::WriteFile(dir / ("songs/" + std::string(number) + ".mp3"), "a");
      testing::WriteFile(dir / ("songs/" + std::string(number) + ".mcg"), "g");
    }
    testing::CliResult run = RunCli(dir.Path(), "check --disc --source " + Quote(dir / "songs/list.txt") + " " + c.options);
    for (const std::string& wanted : c.wanted) EXPECT_NE(run.out.find(wanted), std::string::npos) << wanted << "\n" << run.out;
  }
  CTempDir dir;
  testing::CliResult json =
      RunCli(dir.Path(), "check --json --disc --source " + Quote(VALMERO_SAMPLES_DIR "/disc/list.txt"));
  EXPECT_EQ(nlohmann::json::parse(json.out)["format"], 1);
  EXPECT_EQ(RunCli(dir.Path(), "check --encoding NO-SUCH --source x").status, 2);
}

// A target on a small disk: the copies do not fit, and check says so. What
// they need is what the run adds: the new bytes less the song files they
// replace (the old index and lists are not counted as freed). A target not
// made yet is measured where it will be made.
struct SpaceCase {
  const char* name;
  std::map<std::string, std::size_t> old;  // files already in the target, by size
  const char* target;                      // below the small disk
  const char* options;
  std::size_t freed;  // bytes of old files the copies replace
};

void PrintTo(const SpaceCase& c, std::ostream* os) { *os << c.name; }

class CheckSpaceTest : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(CheckSpaceTest, CopiesLargerThanTheFreeSpaceAreReported) {
  const SpaceCase& c = GetParam();
  CTempDir dir;
  std::filesystem::create_directories(dir / "songs");
  std::filesystem::create_directories(dir / "disk");
  for (const char* number : {"1", "2", "3"}) {
    testing::WriteFile(dir / ("songs/" + std::string(number) + ".mp3"), std::string(40000, 'a') + SONG);
    testing::WriteFile(dir / ("songs/" + std::string(number) + ".mcg"), "g");
  }
  std::string script = "mount -t tmpfs -o size=65536 valmero-check " + Quote(dir / "disk") + " || exit 97\n";
  for (const auto& [name, size] : c.old)
    script += "head -c " + std::to_string(size) + " /dev/zero >" + Quote(dir / ("disk/" + name)) + "\n";
  script += "cd " + Quote(dir.Path()) + " && " + Quote(VALMERO_CLI_PATH) + " check --json --source " +
            Quote(dir / "songs") + " --target " + Quote(dir / ("disk/" + std::string(c.target))) + " " + c.options +
            " >report.json\n" + "echo $? >status.txt\n";
  testing::WriteFile(dir / "space.sh", script);
  if (testing::RunShell("unshare -m sh " + Quote(dir / "space.sh") + " >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "unshare -m or mount failed (needs root)";
  }
  EXPECT_EQ(testing::ReadFile(dir / "status.txt"), "3\n");
  nlohmann::json report = nlohmann::json::parse(testing::ReadFile(dir / "report.json"));
  ASSERT_EQ(report["warnings"].size(), 1u) << report.dump();
  EXPECT_EQ(report["warnings"][0]["code"], "not_enough_space");
  const uint64_t needed = report["copy_bytes"].get<uint64_t>() - c.freed;
  const std::string detail = report["warnings"][0]["detail"].get<std::string>();
  EXPECT_EQ(detail.rfind("the copies need " + std::to_string(needed) + " bytes more, the target has " +
                             std::to_string(report["target_free_bytes"].get<uint64_t>()) + " bytes free",
                         0),
            0u)
      << detail;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CheckSpaceTest,
    ::testing::Values(SpaceCase{"Empty", {}, "", "", 0},
                      SpaceCase{"OldCopiesAreFreed", {{"00001.MP3", 20000}, {"00002.mcg", 3000}}, "", "", 23000},
                      SpaceCase{"OldListsAreNotFreed",
                                {{"ENGLISH.KVX", 10000}, {"LIST.TXT", 10000}, {"SCDG.CFG", 10000}},
                                "",
                                "--list --config-keep",
                                0},
                      SpaceCase{"NotMadeYet", {}, "new", "", 0}),
    [](const ::testing::TestParamInfo<SpaceCase>& info) { return std::string(info.param.name); });

TEST(CheckUsageTest, WrongCommandLinesAreUsageErrors) {
  CTempDir dir;
  for (const char* args : {"check", "check --source x --json extra", "check --source x --target y --subfolder",
                           "make --source x --json --target y"}) {
    EXPECT_EQ(RunCli(dir.Path(), args).status, 2) << args;
  }
  EXPECT_FALSE(testing::Exists(dir / "mirqlog.txt"));
}

}  // namespace
}  // namespace valmero
