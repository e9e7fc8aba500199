#include "cli/make_command.h"

#include <chrono>
#include <string>

#include "log/activity_log.h"
#include "run/converter.h"

namespace valmero {

namespace {

int ExitStatus(RunOutcome outcome, const CTerminalHost::Tally& tally, int cancelSignal, bool configNotWritten) {
  // A cancel ends the scan with the error box and the copying with
  // "Finished"; either way the user stopped it, and the signal says how.
  if (tally.cancelled && cancelSignal != 0) return EXIT_SIGNAL_BASE + cancelSignal;
  if (outcome != RunOutcome::Finished) return EXIT_RUN_FAILED;
  if (tally.copiesFailed > 0 || configNotWritten) return EXIT_INCOMPLETE;
  return EXIT_DONE;
}

const char* OutcomeWords(int status) {
  if (status == EXIT_DONE) return "finished";
  if (status == EXIT_RUN_FAILED) return "failed";
  if (status == EXIT_INCOMPLETE) return "finished with failures";
  return "cancelled";
}

}  // namespace

int RunMakeSession(const CliRequest& request, const std::string& target, CTerminalHost& host, std::FILE* summary) {
  auto started = std::chrono::steady_clock::now();
  CConverter converter(host);
  converter.InitializeState();
  converter.LogWelcome();
  converter.m_copyCheck = request.verify ? CopyCheck::Verify : CopyCheck::Quick;
  RunOutcome outcome = converter.OnMake(request.source.c_str(), target.c_str(), request.plan);
  int songs = static_cast<int>(converter.m_songs.size());
  bool indexed = request.plan.WritesIndex() && outcome == RunOutcome::Finished;
  bool configNotWritten = converter.m_bConfigNotWritten;
  std::string logPath = ActivityLogPath();
  converter.Terminate();

  const CTerminalHost::Tally& tally = host.Counts();
  int status = ExitStatus(outcome, tally, host.CancelSignal(), configNotWritten);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::string kept;
  if (tally.filesInPlace > 0 || tally.filesMoved > 0) {
    kept = ", " + std::to_string(tally.filesInPlace) + " already in place, " + std::to_string(tally.filesMoved) +
           " moved";
  }
  std::fprintf(summary, "valmero-cli: %s: %d songs %s, %d dropped, %d files copied, %d copies failed%s%s\n",
               OutcomeWords(status), songs, indexed ? "indexed" : "read", tally.dropped, tally.filesCopied,
               tally.copiesFailed, kept.c_str(), configNotWritten ? ", SCDG.CFG not written" : "");
  std::fprintf(summary, "valmero-cli: log %s, %.2f s\n", logPath.empty() ? "(none)" : logPath.c_str(), seconds);
  std::fflush(summary);
  return status;
}

}  // namespace valmero
