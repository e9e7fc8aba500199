// valmero-cli check: the dry run, as text for a person or JSON for a script.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "run/source_check.h"

namespace valmero {

// Checks the request's source against `target` (empty: none) with
// products.cp from the current directory, prints the report to `out` and
// returns the exit status: 0 nothing to report, 3 findings, 1 the run would
// fail on its source.
int RunCheck(const CliRequest& request, const std::string& target, std::FILE* out);

// The report as one JSON object.
std::string CheckReportJson(const SourceCheckReport& report);

}  // namespace valmero
