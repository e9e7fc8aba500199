// The dry run: what a run with these paths and boxes would drop, change, cut
// or replace, found by reading the source exactly as the run does (the
// reader's own notes, not a second copy of its rules) and writing nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "run/run_plan.h"

namespace valmero {

// The code page a check reads the collection's texts in unless told.
constexpr const char* DEFAULT_CHECK_ENCODING = "CP1252";

enum class DropReason { OtherKind, MissingMp3, MissingMcg, BadNumber, ListEndedEarly };

enum class CheckWarningCode {
  NoSongInformation,
  BadNumber,
  DuplicateNumber,
  NumberOver99999,
  TitleCut,
  SingerCut,
  SeparatorInText,
  ByteOrderMark,
  CrOnlyLineEnds,
  Utf16File,
  MissingCompanion,
  NotEnoughSpace,
  NulByte,
  CopyFails,
  ConfigFails,
  Utf8Text,
  OtherCodePage,
};

// Texts in a report are UTF-8: the collection's titles and singers are
// converted from the request's code page, and so are paths that are not
// UTF-8 already.
struct DroppedSong {
  std::string file;
  int line = 0;  // the songlist line as an editor numbers it; 0 for a download file
  DropReason reason = DropReason::OtherKind;
  std::string detail;
};

struct CheckWarning {
  CheckWarningCode code = CheckWarningCode::NoSongInformation;
  std::string file;
  int line = 0;
  bool hasNumber = false;
  int64_t number = 0;
  std::string detail;
};

struct SourceCheckReport {
  std::string source;
  std::string encoding;  // the code page the texts were read in
  bool disc = false;
  std::string target;
  // The run would end with the error box: the source cannot be read, or a
  // songlist line fails it. `failure` says why in words.
  bool runFails = false;
  // The run would finish but take no song: the songlist is UTF-16, say.
  // `failure` says why.
  bool takesNothing = false;
  std::string failure;
  int songsTaken = 0;    // songs the run takes into its list (and indexes, with an index)
  bool indexed = false;  // the run writes ENGLISH.KVX
  std::vector<DroppedSong> dropped;
  std::vector<CheckWarning> warnings;
  std::vector<std::string> replaced;  // files in the target the run writes over
  std::vector<std::string> stale;     // numbered song files in the target past the run's last number
  bool copies = false;                // the run copies the songs
  uint64_t copyBytes = 0;
  bool hasTargetFree = false;
  uint64_t targetFreeBytes = 0;

  int SongsFound() const { return songsTaken + static_cast<int>(dropped.size()); }
  bool HasFindings() const { return !dropped.empty() || !warnings.empty() || !stale.empty(); }
};

// Reads `source` as MAKE with `plan` would, with products.cp from startDir,
// and looks at `target` (empty: no target to look at). The collection's
// texts are in the code page `encoding`: the report shows them in UTF-8, and
// says when they do not look like it. Writes nothing and logs nothing.
void CheckSource(const char* startDir, const std::string& source, const std::string& target, const RunPlan& plan,
                 const std::string& encoding, SourceCheckReport& report);

// 0 nothing to report, 3 dropped songs or warnings, 1 the run would fail on
// its source (unreadable, or a line that fails it) or take nothing from it.
int CheckExitStatus(const SourceCheckReport& report);

const char* DropReasonCode(DropReason reason);
const char* WarningCodeName(CheckWarningCode code);

// The report as text for a person: totals and the count of each kind first,
// then the findings grouped by kind. Of the texts the index cuts, only the
// first few of each kind are listed unless `all`.
std::string FormatCheckReport(const SourceCheckReport& report, bool all = false,
                              const std::string& whereTheRest = "valmero-cli check --all lists them");

}  // namespace valmero
