// Running the real valmero-cli the way a user or a script does, and reading
// back what it left in a folder.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace valmero::testing {

struct CliResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `text` in single quotes for the shell.
std::string Quote(const std::string& text);

// Runs a shell command; its exit status, or -1 when it did not exit.
int RunShell(const std::string& command);

// Runs valmero-cli with `args` (already quoted where needed) in `folder`,
// with no standard input; standard output and error are captured. `prefix`
// goes before the program: a command that runs it (POSIX shells only).
CliResult RunCli(const std::string& folder, const std::string& args, const std::string& prefix = "");

// The files of a folder by name, with their contents.
using Files = std::map<std::string, std::string>;
Files ReadFolder(const std::string& folder);

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted);

}  // namespace valmero::testing
