#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   scripts/fuzz.sh [SECONDS_EACH] [EXTRA LIBFUZZER FLAGS...]
# New inputs go to build-fuzz/corpus/<target>; the seeds in fuzz/corpus stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true

cmake --preset fuzz >/dev/null
# The build's chatter is kept aside; a failed build shows it and stops here,
# and a build that made no fuzzer is a failure too.
mkdir -p build-fuzz
if ! cmake --build --preset fuzz >build-fuzz/build.log 2>&1; then
  tail -40 build-fuzz/build.log
  echo "!! the fuzzers did not build" >&2
  exit 1
fi
shopt -s nullglob
fuzzers=(build-fuzz/bin/*_fuzzer)
if (( ${#fuzzers[@]} == 0 )); then
  echo "!! no fuzzer was built" >&2
  exit 1
fi
status=0
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer" _fuzzer)
  work=build-fuzz/corpus/$name
  mkdir -p "$work" build-fuzz/findings
  seeds=fuzz/corpus/$name
  [[ -d $seeds ]] || seeds=
  echo "== $name: ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$name"- \
       "$@" "$work" $seeds 2>build-fuzz/"$name".log; then
    echo "!! $name found a fault; see build-fuzz/$name.log and build-fuzz/findings/"
    tail -40 build-fuzz/"$name".log
    status=1
  fi
  grep -E 'number_of_executed_units|average_exec_per_sec' build-fuzz/"$name".log | sed 's/^/   /'
done
exit $status
