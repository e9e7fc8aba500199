#include "ui/common/check_report_file.h"

#include "platform/atomic_file.h"

namespace valmero {

bool SaveCheckReport(const std::string& path, const std::string& report) {
  CAtomicFile file;
  return file.Create(path.c_str()) && file.Write(report.data(), report.size()) && file.Commit();
}

void SaveCheckReportAs(IDialogBoxes& boxes, const std::string& report) {
  FileRequest request;
  request.title = "Save the report as";
  request.kinds = {{"Text files (*.txt)", "*.txt", "txt"}, {"All files", "*", ""}};
  request.name = "valmero-check.txt";
  request.defaultExtension = "txt";
  request.save = true;
  const std::string path = boxes.ChooseFile(request).path;
  if (path.empty()) return;
  if (!SaveCheckReport(path, report)) {
    boxes.ShowMessage("The report could not be saved as\n" + path, "Check source", MessageKind::Error);
  }
}

}  // namespace valmero
