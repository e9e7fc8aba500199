#include "cli/check_command.h"

#include <nlohmann/json.hpp>

#include "core/song_record.h"
#include "platform/log_file.h"

namespace valmero {

std::string CheckReportJson(const SourceCheckReport& report) {
  // Keys in the order a person reads them: what, how many, then the
  // findings; "format" changes only when a key changes its meaning or goes.
  using json = nlohmann::ordered_json;
  json object;
  object["format"] = 1;
  object["source"] = report.source;
  object["kind"] = report.disc ? "disc" : "download";
  if (!report.target.empty()) object["target"] = report.target;
  object["encoding"] = report.encoding;
  if (report.runFails || report.takesNothing) object["failure"] = report.failure;
  object["found"] = report.SongsFound();
  object["songs"] = report.songsTaken;
  json dropped = json::array();
  for (const DroppedSong& song : report.dropped) {
    json entry = {{"file", song.file}, {"reason", DropReasonCode(song.reason)}, {"detail", song.detail}};
    if (song.line > 0) entry["line"] = song.line;
    dropped.push_back(std::move(entry));
  }
  object["dropped"] = std::move(dropped);
  json warnings = json::array();
  for (const CheckWarning& warning : report.warnings) {
    json entry = {{"code", WarningCodeName(warning.code)}, {"file", warning.file}, {"detail", warning.detail}};
    if (warning.line > 0) entry["line"] = warning.line;
    if (warning.hasNumber) entry["number"] = warning.number;
    warnings.push_back(std::move(entry));
  }
  object["warnings"] = std::move(warnings);
  if (!report.target.empty()) {
    object["replaced"] = report.replaced;
    object["stale"] = report.stale;
  }
  if (report.copies) object["copy_bytes"] = report.copyBytes;
  if (report.hasTargetFree) object["target_free_bytes"] = report.targetFreeBytes;
  // Texts come converted from the collection's code page; should any byte
  // still not be UTF-8, it shows as U+FFFD rather than making invalid JSON.
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

int RunCheck(const CliRequest& request, const std::string& target, std::FILE* out) {
  char startDir[PATH_SIZE] = {};
  CurrentFolder(startDir, sizeof startDir);
  SourceCheckReport report;
  const std::string encoding = request.checkEncoding.empty() ? DEFAULT_CHECK_ENCODING : request.checkEncoding;
  CheckSource(startDir, request.source, target, request.plan, encoding, report);
  std::string text = request.json ? CheckReportJson(report) + "\n" : FormatCheckReport(report, request.all);
  std::fputs(text.c_str(), out);
  std::fflush(out);
  return CheckExitStatus(report);
}

}  // namespace valmero
