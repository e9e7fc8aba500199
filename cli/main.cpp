// valmero-cli: the command-line twin of the desktop program.
#include <cstdio>
#include <new>
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
#include "platform/interrupt_removal.h"
#include "platform/log_file.h"

namespace {

using namespace valmero;

// products.cp is read from the folder current at start, as a run reads it.
std::string StartFolder() {
  char folder[PATH_SIZE] = {};
  CurrentFolder(folder, sizeof folder);
  return folder;
}

// A book looks for no cancel: an interrupt ends it, and its temporary goes.
int WriteBook(const CliRequest& request) {
  EndOnInterrupt();
  return RunBookCommand(request, StartFolder().c_str(), stderr);
}

int RunCommandLine(const std::vector<std::string>& args) {
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
      return WriteBook(request);
    case CliCommand::Make:
    case CliCommand::Check:
      break;
  }
  // A book that could not be made is a usage error before anything starts.
  if (!request.bookFile.empty() && !CheckBookSettings(BookSettingsOf(request), request.bookFile, error)) {
    std::fprintf(stderr, "valmero-cli: %s\n", error.c_str());
    return EXIT_USAGE;
  }
  std::string target = ResolveTarget(request, error);
  if (target.empty() && !error.empty()) {
    std::fprintf(stderr, "valmero-cli: %s\n", error.c_str());
    return EXIT_USAGE;
  }
  if (request.command == CliCommand::Check) return RunCheck(request, target, stdout);
  CTerminalHost host(stdout, stderr, IsTerminal(stderr));
  host.TurnInterruptIntoCancel();
  int status = RunMakeSession(request, target, host, stderr);
  // A run that finished (3: finished with files not copied) has its book.
  if ((status != EXIT_DONE && status != EXIT_INCOMPLETE) || request.bookFile.empty()) return status;
  // The book reads the source again, without a line in the log.
  return WriteBook(request) == 0 ? status : EXIT_RUN_FAILED;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything opens a file: a closed standard stream must not be
  // taken by one, and a reader that quits must not end the work.
  OpenClosedStandardStreams();
  IgnoreClosedOutput();
  // Names and tags are written as they are, in the system's code page.
  CConsoleCodePage codePage;
  try {
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    // A run that ran out has said so in its log; this is what came before or after one.
    std::fputs("valmero-cli: not enough memory\n", stderr);
    return EXIT_RUN_FAILED;
  }
}
