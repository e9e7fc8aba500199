#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include "platform/path_separator.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

// Help is looked for beside the program: the folder must be the one that
// holds the running program's file (this test program).
TEST(ProgramFolderTest, IsTheFolderOfTheRunningProgram) {
#ifdef _WIN32
  const char* program = VALMERO_SEP "valmero_tests.exe";
#else
  const char* program = VALMERO_SEP "valmero_tests";
#endif
  EXPECT_TRUE(testing::Exists(ProgramFolder() + program)) << ProgramFolder();
}

}  // namespace
}  // namespace valmero
