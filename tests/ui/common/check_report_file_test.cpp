#include "ui/common/check_report_file.h"

#include <string>

#include <gtest/gtest.h>

#include "support/fake_dialog_view.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFakeDialogView;
using testing::CTempDir;
using testing::Native;

TEST(CheckReportFileTest, ReportIsSavedWhereChosenOrSaysWhyNot) {
  CTempDir folder;
  CFakeDialogView view;
  const std::string report = "Source: x\n";
  struct Case {
    const char* name;
    std::string chosen;
    bool saved;
    std::size_t messages;
  };
  const Case cases[] = {
      {"saved", folder / "report.txt", true, 0},
      {"cancelled", "", false, 0},
      {"folder missing", folder / Native("none/report.txt"), false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view.events.clear();
    view.file = {c.chosen, 0};
    SaveCheckReportAs(view, report);
    if (c.saved) {
      EXPECT_EQ(testing::ReadFile(c.chosen), report);
    }
    EXPECT_EQ(view.events.size(), 1 + c.messages);
  }
  EXPECT_EQ(view.fileRequests.back().name, "valmero-check.txt");
}

}  // namespace
}  // namespace valmero
