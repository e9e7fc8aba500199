#!/usr/bin/env bash
# Builds everything and runs every test: the suite (with the desktop tests
# under a virtual display), the Windows programs under Wine, each fuzzer
# briefly, and the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --tests

echo "== Build and test"
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default -j2

echo "== Windows programs: cross-built, tested under Wine, compared with Linux"
bash scripts/test-windows.sh

echo "== Fuzzers, briefly"
bash scripts/fuzz.sh 15

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j2
