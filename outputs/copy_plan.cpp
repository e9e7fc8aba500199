#include "outputs/copy_plan.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "core/song_record.h"
#include "platform/path_separator.h"
#include "platform/same_bytes.h"

namespace valmero {

namespace {

// Sources whose sizes are equal and whose dates are closer than this could
// be taken for each other on a target that keeps even seconds.
constexpr int64_t COARSE_DATE_WINDOW = 2000000000;

bool EndsWith(const std::string& text, const char* end) {
  std::size_t length = std::char_traits<char>::length(end);
  return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

struct TargetFile {
  StampedFile file;
  bool reserved = false;  // in place for the job of its name
  bool taken = false;     // moved to another job's name
};

class CCopyPlanner {
 public:
  CCopyPlanner(const std::vector<CopyJob>& jobs, const char* target, CopyCheck check, bool targetHoldsSongs,
               CTargetDates& dates)
      : m_jobs(jobs), m_target(target), m_check(check), m_holdsSongs(targetHoldsSongs), m_dates(dates) {}

  std::vector<JobPlan> Plan() {
    m_plans.assign(m_jobs.size(), JobPlan{});
    if (!ReadTarget()) return m_plans;
    ReadSources();
    FindShared();
    for (std::size_t i = 0; i < m_jobs.size(); ++i) FindInPlace(i);
    if (!m_holdsSongs) {
      for (std::size_t i = 0; i < m_jobs.size(); ++i) FindElsewhere(i);
    }
    return m_plans;
  }

 private:
  bool ReadTarget() {
    std::vector<StampedFile> files;
    if (!ListStampedFiles(m_target.c_str(), &IsCopyName, files) || files.empty()) return false;
    m_files.reserve(files.size());
    for (StampedFile& file : files) {
      m_byName.emplace(file.name, m_files.size());
      m_files.push_back(TargetFile{std::move(file)});
    }
    return true;
  }

  // A path the copy refuses (too long) stays a copy, to fail as it always has.
  void ReadSources() {
    m_readable.assign(m_jobs.size(), false);
    for (std::size_t i = 0; i < m_jobs.size(); ++i) {
      m_readable[i] = m_jobs[i].source.size() < PATH_SIZE && TargetPath(m_jobs[i].name).size() < PATH_SIZE &&
                      ReadFileStamp(m_jobs[i].source.c_str(), m_plans[i].source);
    }
  }

  // Names written more than once (songs of one number, without renumbering)
  // and sources that another source could be taken for: same size, dates
  // within the coarsest window. The latter are proven by their bytes.
  void FindShared() {
    std::unordered_map<std::string, int> writes;
    for (const CopyJob& job : m_jobs) ++writes[job.name];
    m_nameShared.assign(m_jobs.size(), false);
    for (std::size_t i = 0; i < m_jobs.size(); ++i) m_nameShared[i] = writes[m_jobs[i].name] > 1;

    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < m_jobs.size(); ++i) {
      if (m_readable[i]) order.push_back(i);
    }
    auto stampOf = [this](std::size_t i) -> const FileStamp& { return m_plans[i].source; };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return stampOf(a).size != stampOf(b).size ? stampOf(a).size < stampOf(b).size
                                                : stampOf(a).modified < stampOf(b).modified;
    });
    m_lookAlike.assign(m_jobs.size(), false);
    for (std::size_t k = 1; k < order.size(); ++k) {
      const FileStamp& before = stampOf(order[k - 1]);
      const FileStamp& after = stampOf(order[k]);
      bool alike = before.size == after.size && after.modified - before.modified < COARSE_DATE_WINDOW &&
                   m_jobs[order[k - 1]].source != m_jobs[order[k]].source;
      if (alike) m_lookAlike[order[k - 1]] = m_lookAlike[order[k]] = true;
    }
  }

  std::string TargetPath(const std::string& name) const { return m_target + VALMERO_SEP + name; }

  // Whether the file of the target holds the job's bytes: by size and date,
  // and its first and last bytes with `endsToo` or when another source of
  // the run looks the same (after a renumbering its copy may lie under this
  // name); by every byte when verifying.
  bool Holds(std::size_t job, const TargetFile& file, bool endsToo) {
    const FileStamp& source = m_plans[job].source;
    if (file.file.stamp.size != source.size) return false;
    const bool datesMatch = m_dates.Match(file.file.stamp.modified, source.modified);
    if (m_check == CopyCheck::Quick && !datesMatch) return false;
    if (m_check == CopyCheck::Verify || endsToo || m_lookAlike[job]) {
      BytesCompared how = m_check == CopyCheck::Verify ? BytesCompared::Whole : BytesCompared::Ends;
      if (!SameBytes(m_jobs[job].source.c_str(), TargetPath(file.file.name).c_str(), source.size, how)) return false;
    }
    m_plans[job].heldDate = file.file.stamp.modified;
    m_plans[job].dateToSet = !datesMatch;
    m_plans[job].modeToSet = source.mode != 0 && file.file.stamp.mode != ModeOfNewCopy(source.mode);
    return true;
  }

  void FindInPlace(std::size_t job) {
    if (!m_readable[job] || m_nameShared[job]) return;
    auto named = m_byName.find(m_jobs[job].name);
    if (named == m_byName.end()) return;
    TargetFile& file = m_files[named->second];
    if (!Holds(job, file, false)) return;
    // Setting a date or mode is a write, which a file the run still has to
    // read must not see: copied instead.
    if (m_holdsSongs && (m_plans[job].dateToSet || m_plans[job].modeToSet)) return;
    m_plans[job].way = JobWay::InPlace;
    file.reserved = true;
  }

  // An earlier run's copy under another name: the same size and date as the
  // source and, to be sure, the same first and last bytes.
  void FindElsewhere(std::size_t job) {
    if (!m_readable[job] || m_nameShared[job] || m_plans[job].way != JobWay::Copy) return;
    if (m_bySize.empty()) {
      for (std::size_t f = 0; f < m_files.size(); ++f) m_bySize.emplace(m_files[f].file.stamp.size, f);
    }
    auto [first, last] = m_bySize.equal_range(m_plans[job].source.size);
    for (auto candidate = first; candidate != last; ++candidate) {
      TargetFile& file = m_files[candidate->second];
      if (file.reserved || file.taken || file.file.name == m_jobs[job].name) continue;
      if (!m_dates.Match(file.file.stamp.modified, m_plans[job].source.modified)) continue;
      if (!Holds(job, file, true)) continue;
      m_plans[job].way = JobWay::Move;
      m_plans[job].from = file.file.name;
      file.taken = true;
      return;
    }
  }

  const std::vector<CopyJob>& m_jobs;
  const std::string m_target;
  const CopyCheck m_check;
  const bool m_holdsSongs;
  CTargetDates& m_dates;
  std::vector<JobPlan> m_plans;
  std::vector<bool> m_readable;
  std::vector<bool> m_nameShared;
  std::vector<bool> m_lookAlike;
  std::vector<TargetFile> m_files;
  std::unordered_map<std::string, std::size_t> m_byName;
  std::unordered_multimap<uint64_t, std::size_t> m_bySize;
};

bool IsDigits(const std::string& text, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

bool IsCopyName(const std::string& name) {
  std::size_t numberEnd;
  if (EndsWith(name, "-IPS.MP3") || EndsWith(name, "-MCG.MP3")) numberEnd = name.size() - 8;
  else if (EndsWith(name, ".MP3") || EndsWith(name, ".MCG")) numberEnd = name.size() - 4;
  else return false;
  std::size_t numberStart = !name.empty() && name[0] == '-' ? 1 : 0;
  return numberEnd >= 5 && IsDigits(name, numberStart, numberEnd);
}

std::vector<JobPlan> PlanCopies(const std::vector<CopyJob>& jobs, const char* target, CopyCheck check,
                                bool targetHoldsSongs, CTargetDates& dates) {
  return CCopyPlanner(jobs, target, check, targetHoldsSongs, dates).Plan();
}

}  // namespace valmero
