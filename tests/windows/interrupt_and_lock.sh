#!/usr/bin/env bash
# The Windows command-line program as a user meets it mid-run: a second run
# started on the same target folder is turned away, and Ctrl-C (Wine hands
# the program's SIGINT to its console handlers) cancels the first, which ends
# with status 130 and leaves no temporary copy behind.
#   interrupt_and_lock.sh WINDOWS_CLI_EXE
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
windows_cli="$(realpath "$1")"
wine_run="$source_dir/scripts/wine-run.sh"
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$windows_cli")/.." && pwd)/wine}"
work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-interrupt-XXXXXX")"
trap 'rm -rf "$work"' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
status=0
fail() { echo "FAIL: $*"; status=1; }

# Enough songs that copying them takes seconds under Wine.
mkdir -p "$work/songs" "$work/first" "$work/second"
for i in $(seq -w 1 3000); do
  head -c 20000 /dev/zero >"$work/songs/0$i.mp3"
  head -c 1000 /dev/zero >"$work/songs/0$i.MCG"
done
make_run() {
  (cd "$work/$1" && exec "$wine_run" "$windows_cli" make --source "$(windows_path "$work/songs")" \
    --target "$(windows_path "$work/out")" --copy-all </dev/null >"$work/$1.out" 2>&1)
}

make_run first &
first=$!
for _ in $(seq 600); do
  [[ $(ls "$work/out" 2>/dev/null | wc -l) -ge 20 ]] && break
  sleep 0.1
done
make_run second && second=0 || second=$?
[[ $second -eq 1 ]] || fail "the second run on the same target ended with $second, not 1"
grep -q "target folder is in use : " "$work/second/mirqlog.txt" || fail "the second run's log does not say the target is in use"

program="$(pgrep -f "valmero-cli.exe make" | head -1 || true)"
[[ -n "$program" ]] || fail "the first run ended before it could be interrupted"
[[ -n "$program" ]] && kill -INT "$program"
wait "$first" && first_status=0 || first_status=$?
[[ $first_status -eq 130 ]] || { fail "the interrupted run ended with $first_status, not 130"; cat "$work/first.out"; }
grep -q "Progress Calcelled" "$work/first.out" || fail "the interrupted run did not say it was cancelled"
copied=$(ls "$work/out" | grep -c '^[0-9]*\.MP3$' || true)
[[ $copied -lt 3000 ]] || fail "every song was copied: the interrupt came too late to count"
leftovers=$(ls "$work/out" | grep -c 'vtmp' || true)
[[ $leftovers -eq 0 ]] || fail "$leftovers temporary copies were left"
[[ $status -eq 0 ]] && echo "second run turned away; Ctrl-C cancelled the first after $copied songs, nothing left half done"
exit $status
