#include "ui/common/option_state.h"

#include "core/song_record.h"
#include "platform/path_separator.h"
#include "run/target_rule.h"

namespace valmero {

bool IsCheckBox(int id) {
  return (id >= ID_JUKE_LIST && id <= ID_MOVE_MP3) || id == ID_TARGET_SUBFOLDER || id == ID_SOURCE_DOWNLOAD ||
         id == ID_SOURCE_DISC || (id >= ID_INDEX_RENUMBER && id <= ID_CONFIG_KEEP);
}

COptionState::COptionState(RunOptions& options)
    : m_options(options), m_disabled{ID_JUKE_LIST, ID_INDEX_FILE, ID_COPY_MP3, ID_MOVE_MP3} {}

void COptionState::ApplyDefaultMarks() {
  SetMark(ID_SOURCE_DOWNLOAD, true);
  SetMark(ID_SOURCE_DISC, m_options.m_bSourceDisc != 0);
  SetMark(ID_TARGET_SUBFOLDER, m_options.m_bTargetSubfolder != 0);
  SetMark(ID_INDEX_RENUMBER, m_options.m_bIndexRenumber != 0);
}

void COptionState::OnClick(int id, bool mark) {
  SetMark(id, mark);
  const int32_t value = mark ? 1 : 0;
  switch (id) {
    case ID_JUKE_LIST: m_options.m_bJukeList = value; break;
    case ID_INDEX_FILE: m_options.m_bIndexFile = value; break;
    case ID_LIST_FILE: m_options.m_bListFile = value; break;
    case ID_COPY_ALL: m_options.m_bCopyAll = value; break;
    case ID_CONFIG_RENUMBER: m_options.m_bConfigRenumber = value; break;
    case ID_CONFIG_KEEP: m_options.m_bConfigKeep = value; break;
    case ID_INDEX_RENUMBER:
      OnExclusive(id, mark, m_options.m_bIndexRenumber, ID_INDEX_KEEP, m_options.m_bIndexKeep);
      break;
    case ID_INDEX_KEEP:
      OnExclusive(id, mark, m_options.m_bIndexKeep, ID_INDEX_RENUMBER, m_options.m_bIndexRenumber);
      break;
    case ID_COPY_MP3: OnExclusive(id, mark, m_options.m_bCopyMp3, ID_MOVE_MP3, m_options.m_bMoveMp3); break;
    case ID_MOVE_MP3: OnExclusive(id, mark, m_options.m_bMoveMp3, ID_COPY_MP3, m_options.m_bCopyMp3); break;
    case ID_SOURCE_DOWNLOAD:
    case ID_SOURCE_DISC: OnSourceKind(id, mark); break;
    case ID_TARGET_SUBFOLDER: OnTargetSubfolder(mark); break;
    default: break;
  }
}

void COptionState::OnExclusive(int id, bool mark, int32_t& flag, int otherId, int32_t& otherFlag) {
  flag = mark ? 1 : 0;
  SetMark(id, mark);
  if (!mark) return;
  otherFlag = 0;
  SetMark(otherId, false);
}

// The two source boxes act as radio buttons that cannot both be off; any
// click on them starts the paths afresh, since a path of one kind means
// nothing to the other.
void COptionState::OnSourceKind(int id, bool mark) {
  const bool disc = id == ID_SOURCE_DISC;
  int32_t& flag = disc ? m_options.m_bSourceDisc : m_options.m_bSourceDownload;
  if (mark) {
    flag = 1;
    if (disc) {
      m_options.m_bSourceDownload = 0;
      SetMark(ID_SOURCE_DOWNLOAD, false);
      m_options.m_bJukeList = 0;
      SetMark(ID_JUKE_LIST, false);
      SetEnabled(ID_JUKE_LIST, false);
    } else {
      m_options.m_bSourceDisc = 0;
      SetMark(ID_SOURCE_DISC, false);
      SetEnabled(ID_JUKE_LIST, true);
    }
  } else {
    flag = 1;
    SetMark(id, true);
  }
  m_sourceText.clear();
  m_targetText.clear();
}

void COptionState::OnTargetSubfolder(bool mark) {
  m_options.m_bTargetSubfolder = mark ? 1 : 0;
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
  m_targetText = SubfolderTarget(source.c_str(), m_options.m_bSourceDisc != 0);
  SetEnabled(ID_SELECT_TARGET, false);
  SetEnabled(ID_TARGET_EDIT, false);
}

void COptionState::ChooseSource(const std::string& path) {
  m_sourceText = path;
  if (m_options.m_bTargetSubfolder) ApplySubfolderRule();
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

MakeMarks COptionState::Marks() const {
  MakeMarks marks;
  marks.sourceDownload = IsChecked(ID_SOURCE_DOWNLOAD) ? 1 : 0;
  marks.sourceDisc = IsChecked(ID_SOURCE_DISC) ? 1 : 0;
  marks.indexRenumber = IsChecked(ID_INDEX_RENUMBER) ? 1 : 0;
  marks.indexKeep = IsChecked(ID_INDEX_KEEP) ? 1 : 0;
  marks.listFile = IsChecked(ID_LIST_FILE) ? 1 : 0;
  marks.copyAll = IsChecked(ID_COPY_ALL) ? 1 : 0;
  return marks;
}

}  // namespace valmero
