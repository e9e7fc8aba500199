// Running programs through cmd.exe, the shell of Windows.
#include <cstdlib>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero::testing {

// cmd.exe knows no single quotes; a path holds no double quote on Windows.
std::string Quote(const std::string& text) { return "\"" + text + "\""; }

int RunShell(const std::string& command) {
  // cmd /c strips the first and last quote of its line: one more pair keeps
  // the command's own quotes.
  return std::system(("\"" + command + "\"").c_str());
}

namespace {

// The console's line ends are CR LF; the texts the tests expect end with LF.
std::string WithoutCarriageReturns(std::string text) {
  std::string::size_type at = 0;
  while ((at = text.find("\r\n", at)) != std::string::npos) text.erase(at, 1);
  return text;
}

}  // namespace

CliResult RunCli(const std::string& folder, const std::string& args, const std::string&) {
  CliResult result;
  result.status = RunShell("cd /d " + Quote(folder) + " && " + Quote(VALMERO_CLI_PATH) + " " + args + " >" +
                           Quote(folder + "\\.out") + " 2>" + Quote(folder + "\\.err") + " <NUL");
  result.out = WithoutCarriageReturns(ReadFile(folder + "\\.out"));
  result.err = WithoutCarriageReturns(ReadFile(folder + "\\.err"));
  return result;
}

}  // namespace valmero::testing
