#include "outputs/target_dates.h"

#include "platform/file_stamp.h"

namespace valmero {

namespace {

constexpr int64_t COARSE_DATE_WINDOW = 2000000000;

}  // namespace

bool CTargetDates::IsCoarse() {
  if (!m_asked) {
    m_coarse = !FolderKeepsExactDates(m_target.c_str());
    m_asked = true;
  }
  return m_coarse;
}

bool CTargetDates::Match(int64_t kept, int64_t source) {
  if (kept == source) return true;
  if (kept - source >= COARSE_DATE_WINDOW || source - kept >= COARSE_DATE_WINDOW) return false;
  return IsCoarse();
}

bool CTargetDates::MayLoseDates() { return IsCoarse(); }

void CTargetDates::AfterRename(const std::string& renamed, int64_t date) {
  if (IsCoarse()) SetFileDate(renamed.c_str(), date);
}

}  // namespace valmero
