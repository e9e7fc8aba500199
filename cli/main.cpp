// valmero-cli: the command-line twin of the desktop program.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/index_report.h"
#include "cli/make_command.h"
#include "cli/terminal_host.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  using namespace valmero;
  std::vector<std::string> args(argv + 1, argv + argc);
  CliRequest request;
  std::string error;
  if (!ParseCommandLine(args, request, error)) {
    std::fprintf(stderr, "valmero-cli: %s\n\n%s", error.c_str(), UsageText());
    return 2;
  }
  switch (request.command) {
    case CliCommand::Help:
      std::fputs(UsageText(), stdout);
      return 0;
    case CliCommand::Version:
      std::printf("valmero-cli %s\n", VALMERO_VERSION);
      return 0;
    case CliCommand::Inspect:
      return RunInspect(request.inspectFile.c_str(), stdout, stderr);
    case CliCommand::Make:
      break;
  }
  std::string target = ResolveTarget(request, error);
  if (target.empty()) {
    std::fprintf(stderr, "valmero-cli: %s\n", error.c_str());
    return 2;
  }
  InstallInterruptAsCancel();
  CTerminalHost host(stdout, stderr, IsTerminal(stderr));
  return RunMakeSession(request, target, host);
}
