#include "ui/common/option_state.h"

#include "core/song_record.h"
#include "platform/path_separator.h"
#include "run/target_rule.h"

namespace valmero {

bool IsCheckBox(int id) {
  return (id >= ID_JUKE_LIST && id <= ID_MOVE_MP3) || id == ID_TARGET_SUBFOLDER || id == ID_SOURCE_DOWNLOAD ||
         id == ID_SOURCE_DISC || (id >= ID_INDEX_RENUMBER && id <= ID_CONFIG_KEEP);
}

COptionState::COptionState() : m_disabled{ID_JUKE_LIST, ID_INDEX_FILE, ID_COPY_MP3, ID_MOVE_MP3} {}

void COptionState::ApplyDefaultMarks() {
  const RunPlan defaults;
  SetMark(ID_SOURCE_DOWNLOAD, true);
  SetMark(ID_SOURCE_DISC, defaults.sourceDisc);
  SetMark(ID_TARGET_SUBFOLDER, false);
  SetMark(ID_INDEX_RENUMBER, defaults.Renumbers());
}

void COptionState::OnClick(int id, bool mark) {
  SetMark(id, mark);
  switch (id) {
    case ID_INDEX_RENUMBER: OnExclusive(id, mark, ID_INDEX_KEEP); break;
    case ID_INDEX_KEEP: OnExclusive(id, mark, ID_INDEX_RENUMBER); break;
    case ID_COPY_MP3: OnExclusive(id, mark, ID_MOVE_MP3); break;
    case ID_MOVE_MP3: OnExclusive(id, mark, ID_COPY_MP3); break;
    case ID_SOURCE_DOWNLOAD:
    case ID_SOURCE_DISC: OnSourceKind(id, mark); break;
    case ID_TARGET_SUBFOLDER: OnTargetSubfolder(mark); break;
    default: break;
  }
}

void COptionState::OnExclusive(int id, bool mark, int otherId) {
  SetMark(id, mark);
  if (mark) SetMark(otherId, false);
}

// The two source boxes act as radio buttons that cannot both be off; any
// click on them starts the paths afresh, since a path of one kind means
// nothing to the other.
void COptionState::OnSourceKind(int id, bool mark) {
  const bool disc = id == ID_SOURCE_DISC;
  SetMark(id, true);
  if (mark) {
    if (disc) {
      SetMark(ID_SOURCE_DOWNLOAD, false);
      SetMark(ID_JUKE_LIST, false);
      SetEnabled(ID_JUKE_LIST, false);
    } else {
      SetMark(ID_SOURCE_DISC, false);
      SetEnabled(ID_JUKE_LIST, true);
    }
  }
  m_sourceText.clear();
  m_targetText.clear();
}

void COptionState::OnTargetSubfolder(bool mark) {
  if (mark) {
    ApplySubfolderRule();
  } else {
    SetEnabled(ID_SELECT_TARGET, true);
    SetEnabled(ID_TARGET_EDIT, true);
  }
}

void COptionState::ApplySubfolderRule() {
  // The rule reads the field the way a 260-byte buffer holds it.
  std::string source = WithNativeSeparators(m_sourceText.substr(0, PATH_SIZE - 1));
  // A target that would not fit a path is refused (left empty) rather than
  // cut into a folder the user never asked for.
  m_targetText = SubfolderTarget(source.c_str(), IsChecked(ID_SOURCE_DISC));
  SetEnabled(ID_SELECT_TARGET, false);
  SetEnabled(ID_TARGET_EDIT, false);
}

void COptionState::ChooseSource(const std::string& path) {
  m_sourceText = path;
  if (IsChecked(ID_TARGET_SUBFOLDER)) ApplySubfolderRule();
}

void COptionState::ChooseTarget(const std::string& path) { m_targetText = path; }

void COptionState::SetEnabled(int id, bool enabled) {
  if (enabled) {
    m_disabled.erase(id);
  } else {
    m_disabled.insert(id);
  }
}

bool COptionState::IsLockedDuringRun(int id) {
  return IsCheckBox(id) || id == ID_MAKE || id == ID_SELECT_SOURCE || id == ID_SELECT_TARGET ||
         id == ID_SOURCE_EDIT || id == ID_TARGET_EDIT || id == ID_EXIT || id == ID_CHECK_SOURCE || id == ID_MAKE_BOOK;
}

bool COptionState::IsChecked(int id) const {
  auto found = m_marks.find(id);
  return found != m_marks.end() && found->second;
}

bool COptionState::IsEnabled(int id) const {
  if (m_disabled.count(id) != 0) return false;
  return !(m_bRunning && IsLockedDuringRun(id));
}

RunPlan COptionState::Plan() const {
  RunPlan plan;
  plan.sourceDownload = IsChecked(ID_SOURCE_DOWNLOAD);
  plan.sourceDisc = IsChecked(ID_SOURCE_DISC);
  plan.index = IsChecked(ID_INDEX_RENUMBER) ? IndexMode::Renumber
               : IsChecked(ID_INDEX_KEEP)   ? IndexMode::Keep
                                            : IndexMode::None;
  plan.listFile = IsChecked(ID_LIST_FILE);
  plan.configRenumber = IsChecked(ID_CONFIG_RENUMBER);
  plan.configKeep = IsChecked(ID_CONFIG_KEEP);
  plan.copyAll = IsChecked(ID_COPY_ALL);
  plan.jukeList = IsChecked(ID_JUKE_LIST);
  return plan;
}

}  // namespace valmero
