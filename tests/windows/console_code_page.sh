#!/usr/bin/env bash
# The console test of the Windows core suite on a console: Wine gives a
# program one when it runs on a terminal, which script(1) makes. The
# result is read from the test's report (a console's output is drawn, not
# written as it comes).
#   console_code_page.sh VALMERO_TESTS_EXE
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tests_exe="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-console-XXXXXX")"
trap 'rm -rf "$work"' EXIT
report="Z:${work//\//\\}\\report.xml"
timeout 100 script -qfec "$here/../../scripts/wine-run.sh '$tests_exe' --gtest_filter=ConsoleTest.* --gtest_output=xml:'$report'" \
  /dev/null </dev/null >/dev/null 2>&1 || true
grep -q 'tests="1" failures="0" disabled="0" errors="0"' "$work/report.xml" 2>/dev/null &&
  ! grep -q '<skipped' "$work/report.xml" || { echo "the console test did not pass on a console:"; cat "$work/report.xml" 2>/dev/null; exit 1; }
echo "the console shows the run's code page and gets its own back"
