// Deciding, before anything is written, which files of a run are in the
// target already: in place under their own name (the quick check), or there
// under another number from an earlier run (a song added before the others
// moves every later one up), so that they are moved instead of copied.
#pragma once

#include <string>
#include <vector>

#include "outputs/target_dates.h"
#include "platform/file_stamp.h"

namespace valmero {

enum class CopyCheck {
  Quick,   // size and date, as rsync's quick check: a copy keeps its source's date
  Verify,  // every byte, for a target the user no longer trusts
};

// One file a run copies: from `source` to `name` in the target folder.
struct CopyJob {
  std::string source;
  std::string name;
};

enum class JobWay {
  Copy,     // written anew
  InPlace,  // the target holds it under its name
  Move,     // the target holds it under the name `from`
};

struct JobPlan {
  JobWay way = JobWay::Copy;
  std::string from;
  FileStamp source;           // the source's stamp, for the ways other than Copy
  int64_t heldDate = 0;       // the date of the target's file that holds it
  bool dateToSet = false;     // the bytes are right, the date is not (Verify)
  bool modeToSet = false;     // the permission bits differ from a new copy's
};

// One plan per job, in the jobs' order. A file of the target serves at most
// one job and is never taken from a job it is in place for. A name that more
// than one job writes is copied every time, so that the last copy wins as it
// always has. `targetHoldsSongs`: the target folder holds files the run
// reads, which may not be moved nor touched before they are read; only the
// quick check is made then.
std::vector<JobPlan> PlanCopies(const std::vector<CopyJob>& jobs, const char* target, CopyCheck check,
                                bool targetHoldsSongs, CTargetDates& dates);

// True for the names the copying writes ("00012.MP3", "00012.MCG",
// "00012-IPS.MP3", "00012-MCG.MP3", more digits or a minus sign included):
// the files of the target that can be an earlier run's copies.
bool IsCopyName(const std::string& name);

}  // namespace valmero
