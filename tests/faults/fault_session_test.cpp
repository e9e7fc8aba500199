// Runs the real valmero-cli under the faults a user's machine deals out: a
// disk that fills up, a target folder it may not write, old files it may not
// replace, songs that go away during the run. Whatever happens, the run must
// say so (the log, and exit status 1 where the stage fails the run), keep
// every previous good file, never leave a partial file under a final name and
// never leave a temporary file behind.
//
// A full disk, dropped capabilities and the immutable flag need root (and
// the tools: unshare, setpriv, chattr); without them those cases skip. The
// misbehaving file calls (tests/faults/fault_io.cpp, loaded with LD_PRELOAD)
// and the vanished songs run everywhere.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "run/converter.h"
#include "support/cli_runner.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFakeHost;
using testing::CTempDir;
using testing::Exists;
using testing::Files;
using testing::HasLine;
using testing::ListNames;
using testing::Quote;
using testing::ReadFile;
using testing::ReadFolder;
using testing::RunShell;
using testing::WriteFile;

constexpr int PAGE = 4096;

bool IsRoot() { return ::geteuid() == 0; }

// Song bytes that differ from song to song, so that a copy under the wrong
// name or a cut copy shows.
std::string SongBytes(int number, std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(number) * 7) % 251);
  return bytes;
}

struct CliRun {
  int status = -1;
  std::string out;
  std::vector<std::string> log;
};

// One collection and the folders around a run: the log lies in `cwd`, the
// songs and their songlist in `songs`, the program writes to `out`.
class CFaultSession {
 public:
  CFaultSession() {
    for (const char* name : {"cwd", "songs", "out", "old", "snap", "refcwd", "ref"})
      ::mkdir((m_dir / name).c_str(), 0755);
  }

  std::string Path(const std::string& name) const { return m_dir / name; }
  std::string Out() const { return Path("out"); }

  // A disc collection of `count` songs of `songBytes` bytes each.
  void MakeDiscCollection(int count, std::size_t songBytes) {
    std::string list;
    for (int number = 1; number <= count; ++number) {
      list += std::to_string(number) + "|Song number " + std::to_string(number) + "|Singer " +
              std::to_string(number % 7) + "\r\n";
      WriteFile(Path("songs/" + std::to_string(number) + ".mp3"), SongBytes(number, songBytes));
      WriteFile(Path("songs/" + std::to_string(number) + ".mcg"), SongBytes(-number, songBytes / 8 + 1));
    }
    WriteFile(Path("songs/list.txt"), list);
  }

  // The make command for a disc run into `target`.
  std::string MakeArgs(const std::string& options, const std::string& target) const {
    return "make --disc --source " + Quote(Path("songs/list.txt")) + " --target " + Quote(target) + " " + options;
  }

  // A run without any fault into its own folder: what every final file of a
  // faulted run must equal when it is not the old file.
  Files Reference(const std::string& options) {
    RunShell("cd " + Quote(Path("refcwd")) + " && " + Quote(VALMERO_CLI_PATH) + " " + MakeArgs(options, Path("ref")) +
             " >/dev/null 2>&1 </dev/null");
    return ReadFolder(Path("ref"));
  }

  // Runs the program with `prefix` (a command that runs what follows it) in
  // front; the files of the target are read afterwards.
  CliRun Run(const std::string& options, const std::string& prefix = "") {
    std::string command = "cd " + Quote(Path("cwd")) + " && " + prefix + " " + Quote(VALMERO_CLI_PATH) + " " +
                          MakeArgs(options, Out()) + " >" + Quote(Path("cwd/.out")) + " 2>&1 </dev/null";
    CliRun run;
    run.status = RunShell(command);
    FillRun(run);
    return run;
  }

  // Runs the program in a mount namespace of its own where the target is a
  // tmpfs of `pages` pages holding the old files and `freeBytes` free; the
  // target's files are copied out before the namespace goes.
  // False when such a mount cannot be made here.
  bool RunOnSmallDisk(const std::string& options, int pages, long freeBytes, CliRun& run) {
    const std::string out = Quote(Out());
    std::string script =
        "set -u\n"
        "mount -t tmpfs -o size=" +
        std::to_string(pages * PAGE) + " valmero-fault " + out +
        " || exit 97\n"
        "cp -a " +
        Quote(Path("old")) + "/. " + out +
        "/ || exit 98\n"
        "dd if=/dev/zero of=" +
        out +
        "/.filler bs=4096 2>/dev/null\n"
        "truncate -s -" +
        std::to_string(freeBytes) + " " + out +
        "/.filler || exit 98\n"
        "cd " +
        Quote(Path("cwd")) + "\n" + Quote(VALMERO_CLI_PATH) + " " + MakeArgs(options, Out()) +
        " >.out 2>&1 </dev/null\n"
        "echo $? >.status\n"
        "rm -f " +
        out +
        "/.filler\n"
        "cp -a " +
        out + "/. " + Quote(Path("snap")) + "/\n";
    WriteFile(Path("fault.sh"), script);
    int status = RunShell("unshare -m sh " + Quote(Path("fault.sh")) + " >/dev/null 2>&1");
    if (status != 0) return false;
    run.status = std::atoi(ReadFile(Path("cwd/.status")).c_str());
    FillRun(run);
    return true;
  }

  // Runs the program with `args` as they are, stopped after `seconds`
  // (status 124) should it hang.
  CliRun RunWithin(int seconds, const std::string& args) {
    CliRun run;
    run.status = RunShell("cd " + Quote(Path("cwd")) + " && timeout -s KILL " + std::to_string(seconds) + " " +
                          Quote(VALMERO_CLI_PATH) + " " + args + " >" + Quote(Path("cwd/.out")) + " 2>&1 </dev/null");
    FillRun(run);
    return run;
  }

  // Places a file that an earlier run left in the target.
  void PlaceOld(const std::string& name, const std::string& bytes) {
    WriteFile(Path("old/" + name), bytes);
    WriteFile(Path("out/" + name), bytes);
    m_old[name] = bytes;
  }

  // The promise kept in `target`: every old file is still there unless the
  // reference run makes a new one that replaced it whole; every other final
  // file equals the reference run's; no temporary file is left.
  void ExpectPromiseKept(const Files& target, const Files& reference, const std::vector<std::string>& keptOld) const {
    for (const auto& [name, bytes] : target) {
      SCOPED_TRACE(name);
      EXPECT_EQ(name.find(".vtmp"), std::string::npos) << "temporary file left behind";
      auto old = m_old.find(name);
      auto good = reference.find(name);
      bool isOld = old != m_old.end() && bytes == old->second;
      bool isGood = good != reference.end() && bytes == good->second;
      EXPECT_TRUE(isOld || isGood) << "a final name holds neither the old file nor a whole new one (" << bytes.size()
                                   << " bytes)";
    }
    for (const std::string& name : keptOld) {
      auto found = target.find(name);
      ASSERT_NE(found, target.end()) << name << " was destroyed";
      EXPECT_EQ(found->second, m_old.at(name)) << name << " was replaced";
    }
  }

 private:
  void FillRun(CliRun& run) const {
    run.out = ReadFile(Path("cwd/.out"));
    run.log = testing::LogFileMessages(Path("cwd/mirqlog.txt"));
  }

  CTempDir m_dir;
  Files m_old;
};

std::string CanNotWrite(const CFaultSession& session, const char* name) {
  return "can not write \"" + session.Out() + "/" + name + "\" file";
}

std::string CanNotCreate(const CFaultSession& session, const char* name) {
  return "can not create \"" + session.Out() + "/" + name + "\" file";
}

// `source` is the name in the songs folder: an existing file by its own name,
// a vanished companion by the name formed for it, NUMBER.MCG.
std::string CanNotCopy(const CFaultSession& session, const std::string& source, const char* destination) {
  return "can not copy \"" + session.Path("songs/" + source) + "\" to \"" + session.Out() + "/" + destination + "\"";
}

constexpr const char* OLD_LIST = "00001|Old title|Old singer\r\n";
constexpr const char* OLD_CONFIG = "00001#Old title#Old singer\r\n";

// What an earlier run left in the target: the three lists and a copy of song 2.
void PlaceOldOutputs(CFaultSession& session) {
  session.PlaceOld("ENGLISH.KVX", std::string("ENG\0\0\0\0\0\0\0\0\0\0\0\0\0", 16));
  session.PlaceOld("LIST.TXT", OLD_LIST);
  session.PlaceOld("SCDG.CFG", OLD_CONFIG);
  session.PlaceOld("00002.MP3", "an old copy of song 2");
}

// ---------------------------------------------------------------------------
// A full disk: the target is a small tmpfs that the test fills.

struct DiskFullCase {
  const char* name;
  const char* options;
  int songs;
  std::size_t songBytes;
  long freeBytes;
  int status;                        // the exit status the run must end with
  std::vector<std::string> keptOld;  // old files that must survive unchanged
  std::function<std::string(const CFaultSession&)> loggedFailure;
};

// Failure messages name the case rather than dump its bytes.
void PrintTo(const DiskFullCase& fault, std::ostream* os) { *os << fault.name; }

class DiskFullTest : public ::testing::TestWithParam<DiskFullCase> {};

TEST_P(DiskFullTest, FailureIsReportedAndNothingGoodIsLost) {
  const DiskFullCase& fault = GetParam();
  if (!IsRoot()) {
    GTEST_SKIP() << "a private tmpfs mount needs root";
  }
  CFaultSession session;
  session.MakeDiscCollection(fault.songs, fault.songBytes);
  PlaceOldOutputs(session);
  Files reference = session.Reference(fault.options);

  CliRun run;
  if (!session.RunOnSmallDisk(fault.options, 64, fault.freeBytes, run)) {
    GTEST_SKIP() << "unshare -m or mount failed";
  }
  EXPECT_EQ(run.status, fault.status) << run.out;
  EXPECT_TRUE(HasLine(run.log, fault.loggedFailure(session))) << "missing: " << fault.loggedFailure(session);
  if (fault.status != 1) {
    EXPECT_TRUE(HasLine(run.log, "Finished Converting"));
  }
  session.ExpectPromiseKept(ReadFolder(session.Path("snap")), reference, fault.keptOld);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, DiskFullTest,
    ::testing::Values(DiskFullCase{"IndexNoRoom",
                                   "--index keep",
                                   5,
                                   100,
                                   0,
                                   1,
                                   {"ENGLISH.KVX", "LIST.TXT", "00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
                      // An index of several pages with one free: a short write, then no room.
                      DiskFullCase{"IndexRunsOutMidway",
                                   "--index renumber",
                                   300,
                                   10,
                                   PAGE,
                                   1,
                                   {"ENGLISH.KVX", "00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
                      // A failed index stops the run: the later stages leave their old files alone.
                      DiskFullCase{"IndexStopsTheStagesAfterIt",
                                   "--index keep --list --config-keep --copy-all",
                                   5,
                                   100,
                                   0,
                                   1,
                                   {"ENGLISH.KVX", "LIST.TXT", "SCDG.CFG", "00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
                      // No room at all: the new LIST.TXT cannot get its first byte down.
                      DiskFullCase{"ListNoRoom",
                                   "--index none --list",
                                   5,
                                   100,
                                   0,
                                   1,
                                   {"LIST.TXT", "SCDG.CFG", "00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
                      // One page free for a LIST.TXT of several: a short write, then no room.
                      DiskFullCase{"ListRunsOutMidway",
                                   "--index none --list",
                                   300,
                                   10,
                                   PAGE,
                                   1,
                                   {"LIST.TXT"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
                      // A failed LIST.TXT stops the run: the later stages leave their old files alone.
                      DiskFullCase{"ListStopsTheStagesAfterIt",
                                   "--index none --list --config-keep --copy-all",
                                   5,
                                   100,
                                   0,
                                   1,
                                   {"LIST.TXT", "SCDG.CFG", "00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
                      DiskFullCase{"ConfigNoRoom",
                                   "--index none --config-keep",
                                   5,
                                   100,
                                   0,
                                   3,
                                   {"SCDG.CFG", "LIST.TXT"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "SCDG.CFG"); }},
                      DiskFullCase{"ConfigRunsOutMidway",
                                   "--index none --config-renumber",
                                   300,
                                   10,
                                   PAGE,
                                   3,
                                   {"SCDG.CFG"},
                                   [](const CFaultSession& s) { return CanNotWrite(s, "SCDG.CFG"); }},
                      // Room for song 1 and its companion, not for song 2: that copy fails
                      // part way and the old 00002.MP3 stays; the run goes on and finishes.
                      DiskFullCase{"CopiesRunOutMidway",
                                   "--index none --copy-all",
                                   3,
                                   5 * PAGE,
                                   7 * PAGE + PAGE / 2,
                                   3,
                                   {"00002.MP3"},
                                   [](const CFaultSession& s) { return CanNotCopy(s, "2.mp3", "00002.MP3"); }},
                      DiskFullCase{"CopiesNoRoom",
                                   "--index none --copy-all",
                                   3,
                                   5 * PAGE,
                                   0,
                                   3,
                                   {"00002.MP3", "LIST.TXT"},
                                   [](const CFaultSession& s) { return CanNotCopy(s, "3.mcg", "00003.MCG"); }}),
    [](const ::testing::TestParamInfo<DiskFullCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A target folder the program may not write: root without the capabilities
// that let it pass over permissions.

constexpr const char* WITHOUT_DAC = "setpriv --bounding-set=-dac_override,-dac_read_search";

bool PermissionsHoldFor(const std::string& folder) {
  return RunShell(std::string(WITHOUT_DAC) + " sh -c " + Quote("touch " + Quote(folder + "/probe")) + " 2>/dev/null") !=
         0;
}

struct LockedOutCase {
  const char* name;
  const char* options;
  int status;
  std::function<std::vector<std::string>(const CFaultSession&)> loggedFailures;
};

// Failure messages name the case rather than dump its bytes.
void PrintTo(const LockedOutCase& fault, std::ostream* os) { *os << fault.name; }

class UnwritableTargetTest : public ::testing::TestWithParam<LockedOutCase> {};

TEST_P(UnwritableTargetTest, FailureIsReportedAndOldFilesStay) {
  const LockedOutCase& fault = GetParam();
  if (!IsRoot()) {
    GTEST_SKIP() << "dropping capabilities this way needs root";
  }
  CFaultSession session;
  session.MakeDiscCollection(2, 1000);
  PlaceOldOutputs(session);
  ::chmod(session.Out().c_str(), 0555);
  if (!PermissionsHoldFor(session.Out())) {
    ::chmod(session.Out().c_str(), 0755);
    GTEST_SKIP() << "setpriv cannot take away the right to pass over permissions here";
  }
  CliRun run = session.Run(fault.options, WITHOUT_DAC);
  ::chmod(session.Out().c_str(), 0755);

  EXPECT_EQ(run.status, fault.status) << run.out;
  for (const std::string& line : fault.loggedFailures(session))
    EXPECT_TRUE(HasLine(run.log, line)) << "missing: " << line;
  session.ExpectPromiseKept(ReadFolder(session.Out()), {}, {"ENGLISH.KVX", "LIST.TXT", "SCDG.CFG", "00002.MP3"});
}

INSTANTIATE_TEST_SUITE_P(
    Stages, UnwritableTargetTest,
    ::testing::Values(
        LockedOutCase{"Index", "--index keep", 1,
                      [](const CFaultSession&) { return std::vector<std::string>{"incorrect output filename"}; }},
        LockedOutCase{"List", "--index none --list", 1,
                      [](const CFaultSession& s) { return std::vector<std::string>{CanNotCreate(s, "LIST.TXT")}; }},
        LockedOutCase{"Config", "--index none --config-keep", 3,
                      [](const CFaultSession& s) { return std::vector<std::string>{CanNotCreate(s, "SCDG.CFG")}; }},
        LockedOutCase{"Copies", "--index none --copy-all", 3,
                      [](const CFaultSession& s) {
                        return std::vector<std::string>{
                            CanNotCopy(s, "1.mp3", "00001.MP3"), CanNotCopy(s, "1.mcg", "00001.MCG"),
                            CanNotCopy(s, "2.mp3", "00002.MP3"), CanNotCopy(s, "2.mcg", "00002.MCG")};
                      }}),
    [](const ::testing::TestParamInfo<LockedOutCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// An old file that cannot be replaced: the immutable flag.

// Sets the immutable flag for the life of the object, so that the folder can
// be removed afterwards whatever the test did.
class CImmutable {
 public:
  explicit CImmutable(std::string path) : m_path(std::move(path)) {
    m_bSet = RunShell("chattr +i " + Quote(m_path) + " 2>/dev/null") == 0;
  }
  ~CImmutable() {
    if (m_bSet) RunShell("chattr -i " + Quote(m_path) + " 2>/dev/null");
  }
  bool IsSet() const { return m_bSet; }

 private:
  std::string m_path;
  bool m_bSet = false;
};

struct ImmutableCase {
  const char* name;
  const char* options;
  const char* lockedFile;
  int status;
  std::function<std::string(const CFaultSession&)> loggedFailure;
};

// Failure messages name the case rather than dump its bytes.
void PrintTo(const ImmutableCase& fault, std::ostream* os) { *os << fault.name; }

class ImmutableOldFileTest : public ::testing::TestWithParam<ImmutableCase> {};

TEST_P(ImmutableOldFileTest, FailureIsReportedAndTheOldFileStays) {
  const ImmutableCase& fault = GetParam();
  if (!IsRoot()) {
    GTEST_SKIP() << "the immutable flag needs root";
  }
  CFaultSession session;
  session.MakeDiscCollection(2, 1000);
  PlaceOldOutputs(session);
  Files reference = session.Reference(fault.options);
  CImmutable locked(session.Out() + "/" + fault.lockedFile);
  if (!locked.IsSet()) {
    GTEST_SKIP() << "chattr +i does not work on this file system";
  }

  CliRun run = session.Run(fault.options);
  EXPECT_EQ(run.status, fault.status) << run.out;
  EXPECT_TRUE(HasLine(run.log, fault.loggedFailure(session))) << "missing: " << fault.loggedFailure(session);
  session.ExpectPromiseKept(ReadFolder(session.Out()), reference, {fault.lockedFile});
}

INSTANTIATE_TEST_SUITE_P(
    Stages, ImmutableOldFileTest,
    ::testing::Values(ImmutableCase{"Index", "--index keep --list", "ENGLISH.KVX", 1,
                                    [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
                      ImmutableCase{"List", "--index none --list", "LIST.TXT", 1,
                                    [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
                      ImmutableCase{"Config", "--index none --config-keep --copy-all", "SCDG.CFG", 3,
                                    [](const CFaultSession& s) { return CanNotWrite(s, "SCDG.CFG"); }},
                      ImmutableCase{"Copy", "--index none --list --copy-all", "00002.MP3", 3,
                                    [](const CFaultSession& s) { return CanNotCopy(s, "2.mp3", "00002.MP3"); }}),
    [](const ::testing::TestParamInfo<ImmutableCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Misbehaving file calls, injected into the program with LD_PRELOAD: short
// writes, and a sync or close that reports an I/O error after the data went
// out, as network file systems do.

struct IoFaultCase {
  const char* name;
  const char* mode;   // VALMERO_FAULT_MODE
  const char* match;  // the final name in the target whose files misbehave; "" for all
  const char* options;
  int status;
  std::vector<std::string> keptOld;
  std::function<std::string(const CFaultSession&)> loggedFailure;  // null: the run has none
};

void PrintTo(const IoFaultCase& fault, std::ostream* os) { *os << fault.name; }

class IoFaultTest : public ::testing::TestWithParam<IoFaultCase> {};

TEST_P(IoFaultTest, FailureIsReportedAndNothingGoodIsLost) {
  const IoFaultCase& fault = GetParam();
  CFaultSession session;
  session.MakeDiscCollection(3, 5000);
  PlaceOldOutputs(session);
  Files reference = session.Reference(fault.options);

  // The sanitizer runtime wants to be loaded first; the fault library does not use it.
  std::string prefix = std::string("VALMERO_FAULT_MODE=") + fault.mode +
                       " VALMERO_FAULT_MATCH=" + Quote(session.Out() + "/" + fault.match) +
                       " LD_PRELOAD=" + Quote(VALMERO_FAULT_IO_PATH) +
                       " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
  CliRun run = session.Run(fault.options, prefix);

  EXPECT_EQ(run.status, fault.status) << run.out;
  Files target = ReadFolder(session.Out());
  session.ExpectPromiseKept(target, reference, fault.keptOld);
  if (fault.loggedFailure) {
    EXPECT_TRUE(HasLine(run.log, fault.loggedFailure(session))) << "missing: " << fault.loggedFailure(session);
  } else {
    EXPECT_EQ(target, reference);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, IoFaultTest,
    ::testing::Values(
        // Every output travels a few bytes per call and still arrives whole.
        IoFaultCase{
            "ShortWritesEverywhere", "short", "", "--index keep --list --config-renumber --copy-all", 0, {}, nullptr},
        IoFaultCase{"IndexSyncFails",
                    "fsync",
                    "ENGLISH.KVX",
                    "--index renumber --list",
                    1,
                    {"ENGLISH.KVX", "LIST.TXT"},
                    [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
        IoFaultCase{"IndexCloseFails",
                    "close",
                    "ENGLISH.KVX",
                    "--index keep",
                    1,
                    {"ENGLISH.KVX"},
                    [](const CFaultSession& s) { return CanNotWrite(s, "ENGLISH.KVX"); }},
        IoFaultCase{"ListSyncFails",
                    "fsync",
                    "LIST.TXT",
                    "--index none --list",
                    1,
                    {"LIST.TXT"},
                    [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
        IoFaultCase{"ListCloseFails",
                    "close",
                    "LIST.TXT",
                    "--index none --list --copy-all",
                    1,
                    {"LIST.TXT", "00002.MP3"},
                    [](const CFaultSession& s) { return CanNotWrite(s, "LIST.TXT"); }},
        IoFaultCase{"ConfigCloseFails",
                    "close",
                    "SCDG.CFG",
                    "--index none --config-keep --list",
                    3,
                    {"SCDG.CFG"},
                    [](const CFaultSession& s) { return CanNotWrite(s, "SCDG.CFG"); }},
        IoFaultCase{"CopyCloseFails",
                    "close",
                    "00002.MP3",
                    "--index none --copy-all",
                    3,
                    {"00002.MP3"},
                    [](const CFaultSession& s) { return CanNotCopy(s, "2.mp3", "00002.MP3"); }}),
    [](const ::testing::TestParamInfo<IoFaultCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A named pipe where a song should be: opening it for reading waits for a
// writer that never comes, so each look at it must not wait.

struct NamedPipeCase {
  const char* name;
  bool disc;  // a disc songlist, else a download folder
};

void PrintTo(const NamedPipeCase& fault, std::ostream* os) { *os << fault.name; }

class NamedPipeTest : public ::testing::TestWithParam<NamedPipeCase> {};

TEST_P(NamedPipeTest, PipeIsPassedOverAndTheRunFinishes) {
  const NamedPipeCase& fault = GetParam();
  CFaultSession session;
  session.MakeDiscCollection(3, 1000);
  if (!fault.disc) ::unlink(session.Path("songs/list.txt").c_str());
  ::unlink(session.Path("songs/2.mp3").c_str());
  ASSERT_EQ(::mkfifo(session.Path("songs/2.mp3").c_str(), 0644), 0);
  std::string source = fault.disc ? session.Path("songs/list.txt") : session.Path("songs");
  std::string args = std::string("make ") + (fault.disc ? "--disc" : "--download") + " --source " + Quote(source) +
                     " --target " + Quote(session.Out()) + " --index none --copy-all";

  CliRun run = session.RunWithin(20, args);
  // Finished, with the pipe's copy failed.
  ASSERT_EQ(run.status, 3) << "the run hung or failed: " << run.out;
  EXPECT_TRUE(HasLine(run.log, CanNotCopy(session, "2.mp3", "00002.MP3")));
  Files target = ReadFolder(session.Out());
  EXPECT_EQ(target.count("00002.MP3"), 0u);
  EXPECT_EQ(target["00003.MP3"], ReadFile(session.Path("songs/3.mp3")));
  for (const auto& entry : target) EXPECT_EQ(entry.first.find(".vtmp"), std::string::npos) << entry.first;
}

INSTANTIATE_TEST_SUITE_P(Sources, NamedPipeTest,
                         ::testing::Values(NamedPipeCase{"Disc", true}, NamedPipeCase{"Download", false}),
                         [](const ::testing::TestParamInfo<NamedPipeCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// A song that goes away between the reading of the source and its copy.

// Removes chosen source files just before the copies start.
class CVanishingConverter : public CConverter {
 public:
  using CConverter::CConverter;
  std::vector<std::string> vanishing;

  void CopySongsToTarget() override {
    for (const std::string& path : vanishing) ::unlink(path.c_str());
    CConverter::CopySongsToTarget();
  }
};

TEST(VanishedSourceTest, MissingSongIsLoggedAndPassedOver) {
  CFaultSession session;
  session.MakeDiscCollection(3, 1000);
  session.PlaceOld("00002.MP3", "an old copy of song 2");
  Files reference = session.Reference("--index none --copy-all");

  CFakeHost host;
  CVanishingConverter converter(host);
  char startDir[PATH_SIZE];
  ASSERT_NE(::getcwd(startDir, sizeof startDir), nullptr);
  ASSERT_EQ(::chdir(session.Path("cwd").c_str()), 0);
  converter.InitializeState();
  converter.vanishing = {session.Path("songs/2.mp3"), session.Path("songs/3.mcg")};
  RunPlan plan;
  plan.sourceDownload = false;
  plan.sourceDisc = true;
  plan.index = IndexMode::None;
  plan.copyAll = true;
  RunOutcome outcome = converter.OnMake(session.Path("songs/list.txt").c_str(), session.Out().c_str(), plan);
  converter.Terminate();
  ASSERT_EQ(::chdir(startDir), 0);

  EXPECT_EQ(outcome, RunOutcome::Finished);
  auto log = testing::LogFileMessages(session.Path("cwd/mirqlog.txt"));
  EXPECT_TRUE(HasLine(log, CanNotCopy(session, "2.mp3", "00002.MP3")));
  EXPECT_TRUE(HasLine(log, CanNotCopy(session, "3.MCG", "00003.MCG")));
  Files target = ReadFolder(session.Out());
  session.ExpectPromiseKept(target, reference, {"00002.MP3"});
  EXPECT_EQ(target.count("00002.MCG") + target.count("00003.MP3") + target.count("00001.MP3"), 3u);
  EXPECT_EQ(target.count("00003.MCG"), 0u);
}

}  // namespace
}  // namespace valmero
