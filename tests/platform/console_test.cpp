#include "platform/console.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "support/skip.h"

namespace valmero {
namespace {

// The console shows the run's names in the code page they are written in,
// and has its own code page back afterwards.
TEST(ConsoleTest, CodePageIsTheProgramsForTheRunAndGivenBack) {
  SKIP_OFF_WINDOWS("a terminal shows the bytes as they are written");
#ifdef _WIN32
  // A program started without a console (its output redirected) gets one.
  const bool madeConsole = ::GetConsoleOutputCP() == 0 && ::AllocConsole();
  const UINT before = ::GetConsoleOutputCP();
  if (before == 0) GTEST_SKIP() << "no console can be had here";
  const UINT oem = ::GetOEMCP() != ::GetACP() ? ::GetOEMCP() : 850;
  ASSERT_TRUE(::SetConsoleOutputCP(oem));
  {
    CConsoleCodePage codePage;
    EXPECT_EQ(::GetConsoleOutputCP(), ::GetACP());
  }
  EXPECT_EQ(::GetConsoleOutputCP(), oem);
  ::SetConsoleOutputCP(before);
  if (madeConsole) ::FreeConsole();
#endif
}

}  // namespace
}  // namespace valmero
