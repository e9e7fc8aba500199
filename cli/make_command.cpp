#include "cli/make_command.h"

#include "run/converter.h"

namespace valmero {

int RunMakeSession(const CliRequest& request, const std::string& target, IRunHost& host) {
  CConverter converter(host);
  converter.InitializeState();
  converter.LogWelcome();
  // The boxes that are not re-read at MAKE keep what their clicks stored.
  converter.m_options.m_bConfigRenumber = request.configRenumber ? 1 : 0;
  converter.m_options.m_bConfigKeep = request.configKeep ? 1 : 0;
  converter.m_options.m_bTargetSubfolder = request.subfolder ? 1 : 0;
  RunOutcome outcome = converter.OnMake(request.source.c_str(), target.c_str(), MarksFor(request));
  converter.Terminate();
  return outcome == RunOutcome::Finished ? 0 : 1;
}

}  // namespace valmero
