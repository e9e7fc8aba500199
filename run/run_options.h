// The option flags of a run, each the state of one check box (0 or 1).
#pragma once

#include <cstdint>

namespace valmero {

struct RunOptions {
  int32_t m_bJukeList = 0;
  int32_t m_bIndexFile = 0;
  int32_t m_bCopyMp3 = 0;
  int32_t m_bMoveMp3 = 0;
  int32_t m_bTargetSubfolder = 0;
  int32_t m_bSourceDownload = 0;
  int32_t m_bSourceDisc = 0;
  int32_t m_bIndexRenumber = 0;
  int32_t m_bIndexKeep = 0;
  int32_t m_bListFile = 0;
  int32_t m_bCopyAll = 0;
  int32_t m_bConfigRenumber = 0;
  int32_t m_bConfigKeep = 0;
};

// The values after start-up: download source, index with new numbers.
RunOptions DefaultRunOptions();

}  // namespace valmero
