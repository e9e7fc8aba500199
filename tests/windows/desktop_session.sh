#!/usr/bin/env bash
# One session of the Windows desktop program under Wine on a virtual
# display: boxes ticked, paths typed, MAKE pressed, the box answered, Exit;
# then the log and the outputs are checked against the command-line
# program's. A screenshot of the dialog is left in the build folder.
#   desktop_session.sh BIN_DIR       (valmero.exe, valmero_driver.exe, valmero-cli.exe)
set -euo pipefail
source "$(dirname "$0")/desktop_common.sh" "$@"
screenshot="$bin/../desktop_session.png"

mkdir -p "$work/start" "$work/cli"
cp "$source_dir/samples/products.cp" "$work/start/"
cp "$source_dir/samples/products.cp" "$work/cli/"

# What the check says before any run, from the command line.
(cd "$work/cli" && timeout 120 "$wine_run" "$bin/valmero-cli.exe" check \
  --source "$(windows_path "$source_dir/samples/download")" --target "$(windows_path "$work/out")" \
  --list --config-renumber --copy-all </dev/null 2>/dev/null | tr -d '\r' >"$work/check-cli.txt") || true
# The program for HTML pages, as a browser would be: it keeps a copy of what it opens.
opener='HKCR\valmero.test.page'
timeout 60 "$wine_run" reg.exe add 'HKCR\.html' /ve /d valmero.test.page /f </dev/null >/dev/null 2>&1 || true
timeout 60 "$wine_run" reg.exe add "$opener\shell\open\command" /ve /f \
  /d "cmd.exe /c copy \"%1\" \"$(windows_path "$work/opened.html")\"" </dev/null >/dev/null 2>&1 || true

# Inside ctest's own limit, so that a hang is reported with what the driver saw.
(cd "$work/start" && timeout 200 "$wine_run" "$bin/valmero.exe" </dev/null >"$work/program.out" 2>&1) &
program=$!

status=0
driver fill "$(windows_path "$source_dir/samples/download")" "$(windows_path "$work/out")" || status=1
driver layout || status=1
window="$(xdotool search --name '^VALMERO$' 2>/dev/null | head -1 || true)"
python3 "$here/title_image.py" "$window" "$source_dir/ui/win32/art/title.bmp" || status=1
sleep 1
import -window root "$screenshot" 2>/dev/null || true
# The check and the book before the run, of the same paths and boxes.
driver check | tr -d '\r' >"$work/check-desktop.txt" || status=1
driver book "$(windows_path "$work/songbook.html")" || status=1
box="$(limit=120 driver make | tr -d '\r')" || status=1
driver exit || status=1
wait "$program" || { echo "the program ended with $?"; status=1; }
cat "$work/driver.err" >&2

[[ "$box" == "Finished Converting" ]] || { echo "the box said '$box'"; status=1; }
# The free space of the disc changes between the two.
diff <(grep -v '^Free in the target' "$work/check-cli.txt") <(grep -v '^Free in the target' "$work/check-desktop.txt") || { echo "the desktop's check differs from the command line's"; status=1; }
(cd "$work/cli" && timeout 120 "$wine_run" "$bin/valmero-cli.exe" book \
  --source "$(windows_path "$source_dir/samples/download")" --out "$(windows_path "$work/cli-book.html")" --footer "Joe's Bar" \
  </dev/null >/dev/null 2>&1) || true
cmp -s "$work/cli-book.html" "$work/songbook.html" || { echo "the desktop's song book differs from the command line's"; status=1; }
cmp -s "$work/songbook.html" "$work/opened.html" || { echo "the song book was not opened with the program for HTML"; status=1; }
(cd "$work/cli" && timeout 120 "$wine_run" "$bin/valmero-cli.exe" make \
  --source "$(windows_path "$source_dir/samples/download")" --target "$(windows_path "$work/cli-out")" \
  --list --config-renumber --copy-all </dev/null >/dev/null 2>&1) || true
diff -r -q "$work/cli-out" "$work/out" || { echo "the outputs differ from the command-line run's"; status=1; }
# The two sessions' logs once their target folders are given one name.
messages() {
  sed -e 's/^\* [0-9:]* [0-9:]* - //' -e 's/\r$//' "$1" | TARGET="$(windows_path "$2")" awk '
    { while ((at = index($0, ENVIRON["TARGET"])) > 0)
        $0 = substr($0, 1, at - 1) "TARGET" substr($0, at + length(ENVIRON["TARGET"]))
      print }'
}
diff <(messages "$work/cli/mirqlog.txt" "$work/cli-out") <(messages "$work/start/mirqlog.txt" "$work/out") \
  >"$work/logdiff" || true
if [[ -s "$work/logdiff" ]]; then
  echo "the log differs from the command-line session's:"
  cat "$work/logdiff"
  status=1
fi
[[ $status -eq 0 ]] && echo "desktop session: $(ls "$work/out" | wc -l) files, log as the command line's; screenshot $screenshot"
exit $status
