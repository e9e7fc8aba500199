#!/usr/bin/env bash
# The long fuzzing run: every target, one after the other, for a fixed number
# of executions (10 million unless told), each with its seeds and the corpus
# that earlier runs grew. Figures and findings go to build-fuzz/long/.
#   fuzz/long_run.sh [RUNS] [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(file_name id3v1 catalogue songlist)

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null || exit 1
mkdir -p build-fuzz/long
status=0
for name in "${targets[@]}"; do
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  extra=()
  # A songlist line holds at most 259 characters: 512 bytes reach every line
  # rule, and longer inputs only add more lines of the same kinds.
  [[ $name == songlist ]] && extra=(-max_len=512)
  # A catalogue record is a few dozen bytes; past a few records a longer
  # input only repeats them, at the cost of a record's allocation each.
  [[ $name == catalogue ]] && extra=(-max_len=512)
  start=$(date +%s)
  build-fuzz/bin/${name}_fuzzer -runs="$runs" -print_final_stats=1 "${extra[@]}" \
    -artifact_prefix=build-fuzz/long/"$name"- "$work" fuzz/corpus/"$name" >build-fuzz/long/"$name".log 2>&1
  rc=$?
  end=$(date +%s)
  units=$(grep -oP 'number_of_executed_units: \K[0-9]+' build-fuzz/long/"$name".log)
  echo "$name runs=$units seconds=$((end - start)) exit=$rc" | tee -a build-fuzz/long/summary.txt
  [[ $rc -eq 0 ]] || status=1
done
exit $status
