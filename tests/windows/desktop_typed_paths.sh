#!/usr/bin/env bash
# The Windows desktop program under Wine, used the way people type: a
# songlist path typed with forward slashes and the KVX sub-folder box, then
# ESC while the songs are copied. The target is the KVX folder beside the
# songlist (not one at the root of the drive), the check finds every song,
# and ESC is logged, as everywhere else in the program, and cancels.
#   desktop_typed_paths.sh BIN_DIR       (valmero.exe, valmero_driver.exe)
set -euo pipefail
source "$(dirname "$0")/desktop_common.sh" "$@"

mkdir -p "$work/start"
cp -r "$source_dir/samples/disc" "$work/disc"

(cd "$work/start" && timeout 200 "$wine_run" "$bin/valmero.exe" </dev/null >"$work/program.out" 2>&1) &
program=$!

status=0
target="$(driver disc "Z:$work/disc/list.txt" | tr -d '\r')" || status=1
driver check | tr -d '\r' >"$work/check.txt" || status=1
boxes="$(limit=120 driver escape-make | tr -d '\r' | paste -sd '|')" || status=1
driver exit || status=1
wait "$program" || { echo "the program ended with $?"; status=1; }
cat "$work/driver.err" >&2

[[ "$target" == "$(windows_path "$work/disc/KVX")" ]] || { echo "the target shown is '$target'"; status=1; }
grep -q '^Songs found: 5, indexed: 5, dropped: 0$' "$work/check.txt" || { echo "the check says:"; cat "$work/check.txt"; status=1; }
[[ "$boxes" == "Progress Calcelled|Finished Converting" ]] || { echo "the boxes said '$boxes'"; status=1; }
log="$(tr -d '\r' <"$work/start/mirqlog.txt")"
grep -q ' - press esc key$' <<<"$log" || { echo "ESC during the copies was not logged:"; echo "$log"; status=1; }
[[ -f "$work/disc/KVX/ENGLISH.KVX" ]] || { echo "no index in the KVX folder beside the songlist"; status=1; }
copies="$(find "$work/disc/KVX" -name '0*' | wc -l)"
(( copies < 10 )) || { echo "ESC did not stop the copies ($copies files)"; status=1; }
[[ $status -eq 0 ]] && echo "typed paths and ESC: target $target, $copies files copied before the cancel"
exit $status
