#include "ui/common/help_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Native;
using testing::WriteFile;

TEST(HelpFileTest, CurrentDirectoryFirstThenBesideTheProgramThenInstalledData) {
  CTempDir root;
  const std::string current = root / "work";
  const std::string program = root / Native("prefix/bin");
  const std::string installed = root / Native("prefix/" VALMERO_HELP_INSTALL_DIR);
  for (const std::string& folder : {current, program, installed}) std::filesystem::create_directories(folder);

  EXPECT_EQ(FindHelpFile(current, program), "");
  WriteFile(installed + Native("/help.htm"), "installed");
  EXPECT_EQ(FindHelpFile(current, program), program + Native("/../") + VALMERO_HELP_INSTALL_DIR + Native("/help.htm"));
  WriteFile(program + Native("/help.htm"), "beside");
  EXPECT_EQ(FindHelpFile(current, program), program + Native("/help.htm"));
  WriteFile(current + Native("/help.htm"), "current");
  EXPECT_EQ(FindHelpFile(current, program), current + Native("/help.htm"));
}

}  // namespace
}  // namespace valmero
