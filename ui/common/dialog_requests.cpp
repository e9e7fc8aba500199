#include "ui/common/dialog_requests.h"

#include "platform/atomic_file.h"

namespace valmero {

CheckRequest CheckRequestForDialog(const std::string& source, const std::string& target, const MakeMarks& marks,
                                   const RunOptions& options) {
  CheckRequest request;
  request.source = source;
  request.disc = !marks.sourceDownload && marks.sourceDisc;
  request.target = target;
  request.indexRenumber = marks.indexRenumber != 0;
  request.indexKeep = marks.indexKeep != 0;
  request.listFile = marks.listFile != 0;
  request.copyAll = marks.copyAll != 0;
  request.configRenumber = options.m_bConfigRenumber != 0;
  request.configKeep = options.m_bConfigKeep != 0;
  return request;
}

PreviewRequest BookRequestForDialog(const std::string& source, const MakeMarks& marks, const RunOptions& options) {
  PreviewRequest request;
  request.source = source;
  request.disc = marks.sourceDisc != 0;
  request.renumber = marks.indexRenumber != 0;
  request.jukeList = options.m_bJukeList != 0;
  return request;
}

bool SaveCheckReport(const std::string& path, const std::string& report) {
  CAtomicFile file;
  return file.Create(path.c_str()) && file.Write(report.data(), report.size()) && file.Commit();
}

}  // namespace valmero
