// valmero-cli: the command-line twin of the desktop program.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/check_command.h"
#include "cli/book_command.h"
#include "cli/cli_options.h"
#include "cli/index_report.h"
#include "cli/make_command.h"
#include "cli/terminal_host.h"
#include "core/song_record.h"
#include "platform/console.h"
#include "platform/log_file.h"

namespace {

// products.cp is read from the folder current at start, as a run reads it.
std::string StartFolder() {
  char folder[valmero::PATH_SIZE] = {};
  valmero::CurrentFolder(folder, sizeof folder);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace valmero;
  std::vector<std::string> args(argv + 1, argv + argc);
  CliRequest request;
  std::string error;
  if (!ParseCommandLine(args, request, error)) {
    std::fprintf(stderr, "valmero-cli: %s\n\n%s", error.c_str(), UsageText());
    return EXIT_USAGE;
  }
  // Relative paths are taken against the folder the program started in.
  MakePathsAbsolute(request);
  switch (request.command) {
    case CliCommand::Help:
      std::fputs(UsageText(), stdout);
      return 0;
    case CliCommand::Version:
      std::printf("valmero-cli %s\n", VALMERO_VERSION_TEXT);
      return 0;
    case CliCommand::Inspect:
      return RunInspect(request.inspectFile.c_str(), stdout, stderr);
    case CliCommand::Book:
      return RunBookCommand(request, StartFolder().c_str(), stderr);
    case CliCommand::Make:
    case CliCommand::Check:
      break;
  }
  // A book that could not be made is a usage error before anything starts.
  if (!request.bookFile.empty() && !CheckBookSettings(BookSettingsOf(request), request.bookFile, error)) {
    std::fprintf(stderr, "valmero-cli: %s\n", error.c_str());
    return 2;
  }
  std::string target = ResolveTarget(request, error);
  if (target.empty() && !error.empty()) {
    std::fprintf(stderr, "valmero-cli: %s\n", error.c_str());
    return EXIT_USAGE;
  }
  if (request.command == CliCommand::Check) return RunCheck(request, target, stdout);
  InstallInterruptAsCancel();
  CTerminalHost host(stdout, stderr, IsTerminal(stderr));
  int status = RunMakeSession(request, target, host, stderr);
  // A run that finished (3: finished with files not copied) has its book.
  if ((status != EXIT_DONE && status != EXIT_INCOMPLETE) || request.bookFile.empty()) return status;
  // The book reads the source again, without a line in the log.
  return RunBookCommand(request, StartFolder().c_str(), stderr) == 0 ? status : EXIT_RUN_FAILED;
}
