// Where the program keeps its settings (the popup's place).
#include <gtest/gtest.h>
#include <wx/config.h>
#include <wx/log.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"
#include "ui/wx/index_app.h"

namespace valmero {
namespace {

// Counts the errors the toolkit would show in a box.
class CErrorCount : public wxLog {
 public:
  int errors = 0;

 protected:
  void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override {
    if (level <= wxLOG_Error) ++errors;
  }
};

// An environment variable for the life of the object.
class CEnvironment {
 public:
  CEnvironment(const char* name, const char* value) : m_name(name) {
    const char* previous = std::getenv(name);
    m_bHad = previous != nullptr;
    if (m_bHad) m_previous = previous;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~CEnvironment() {
    if (m_bHad) {
      ::setenv(m_name.c_str(), m_previous.c_str(), 1);
    } else {
      ::unsetenv(m_name.c_str());
    }
  }

 private:
  std::string m_name;
  std::string m_previous;
  bool m_bHad = false;
};

// A home folder the user may not write in (here a file has its name): the
// settings live for the session, and no box of the toolkit says so.
TEST(SettingsTest, HomeThatCannotBeWrittenKeepsNoSettingsAndShowsNoBox) {
  testing::CTempDir dir;
  testing::WriteFile(dir / "home", "a file where the home folder should be");
  CEnvironment home("HOME", (dir / "home").c_str());
  CEnvironment configHome("XDG_CONFIG_HOME", nullptr);
  CErrorCount errors;
  wxLog* previousLog = wxLog::SetActiveTarget(&errors);
  wxConfigBase* previousConfig = wxConfigBase::Set(nullptr);

  const std::string notKept = UseApplicationConfig();
  wxLog::FlushActive();
  wxConfigBase* config = wxConfigBase::Get(false);
  const bool written = config != nullptr && config->Write("X", 5L) && config->Flush();

  delete wxConfigBase::Set(previousConfig);
  wxLog::SetActiveTarget(previousLog);
  EXPECT_EQ(notKept, dir / "home/.config");
  EXPECT_EQ(errors.errors, 0);
  EXPECT_TRUE(written);
  EXPECT_FALSE(testing::Exists(dir / "home/.config"));
}

}  // namespace
}  // namespace valmero
