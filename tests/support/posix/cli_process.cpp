// Running programs through the POSIX shell.
#include <sys/wait.h>

#include <cstdlib>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero::testing {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int RunShell(const std::string& command) {
  int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

CliResult RunCli(const std::string& folder, const std::string& args, const std::string& prefix) {
  CliResult result;
  result.status = RunShell("cd " + Quote(folder) + " && " + prefix + " " + Quote(VALMERO_CLI_PATH) + " " + args + " >" +
                           Quote(folder + "/.out") + " 2>" + Quote(folder + "/.err") + " </dev/null");
  result.out = ReadFile(folder + "/.out");
  result.err = ReadFile(folder + "/.err");
  return result;
}

}  // namespace valmero::testing
