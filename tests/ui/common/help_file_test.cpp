#include "ui/help_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::WriteFile;

TEST(HelpFileTest, CurrentDirectoryFirstThenBesideTheProgramThenInstalledData) {
  CTempDir root;
  const std::string current = root / "work";
  const std::string program = root / "prefix/bin";
  const std::string installed = root / "prefix/" VALMERO_HELP_INSTALL_DIR;
  for (const std::string& folder : {current, program, installed}) std::filesystem::create_directories(folder);

  EXPECT_EQ(FindHelpFile(current, program), "");
  WriteFile(installed + "/help.htm", "installed");
  EXPECT_EQ(FindHelpFile(current, program), program + "/../" VALMERO_HELP_INSTALL_DIR "/help.htm");
  WriteFile(program + "/help.htm", "beside");
  EXPECT_EQ(FindHelpFile(current, program), program + "/help.htm");
  WriteFile(current + "/help.htm", "current");
  EXPECT_EQ(FindHelpFile(current, program), current + "/help.htm");
}

}  // namespace
}  // namespace valmero
