#!/usr/bin/env bash
# The Windows valmero-cli (under Wine) against the Linux one on the same
# collections: every output file and copy byte for byte the same, and the
# same log once the time stamps are dropped and Windows paths are read as
# Linux ones; the same HTML song book. Then what only Windows has: a source
# path in other letter case, and target paths of exactly 259 and 260
# characters.
#   compare_cli.sh LINUX_CLI WINDOWS_CLI_EXE
# Exit 77 (skipped) when the Linux program has not been built.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
linux_cli="$(realpath "$1")"
windows_cli="$(realpath "$2")"
wine_run="$source_dir/scripts/wine-run.sh"
if [[ ! -x "$linux_cli" ]]; then
  echo "no Linux valmero-cli at $linux_cli: build the default preset first"
  exit 77
fi
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$windows_cli")/.." && pwd)/wine}"

work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-windows-XXXXXX")"
trap '[[ -n "${KEEP:-}" ]] || rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The Windows form of a Linux path: drive Z: is the Linux root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The log's messages, Windows paths read as Linux ones.
messages() { sed -e 's/^\* [0-9:]* [0-9:]* - //' -e 's/\r$//' -e 's/Z:\\/\//g' -e 's/\\/\//g' "$1"; }

# run_both NAME SOURCE [options]: one session of each program, each in a
# start folder of its own holding the same products.cp.
run_both() {
  local name="$1" source="$2"
  shift 2
  local options=("$@")
  for side in linux windows; do
    mkdir -p "$work/$name/$side/start"
    cp "$source_dir/samples/products.cp" "$work/$name/$side/start/"
  done
  (set +e; cd "$work/$name/linux/start" &&
    "$linux_cli" make --source "$source" --target "$work/$name/linux/out" "${options[@]}" \
      >../stdout 2>../stderr; echo $? >../status)
  (set +e; cd "$work/$name/windows/start" &&
    timeout 300 "$wine_run" "$windows_cli" make --source "$(windows_path "$source")" \
      --target "$(windows_path "$work/$name/windows/out")" "${options[@]}" \
      </dev/null >../stdout 2>../stderr; echo $? >../status)
}

compare() {
  local name="$1"
  local linux="$work/$name/linux" windows="$work/$name/windows"
  [[ "$(cat "$linux/status")" == "$(cat "$windows/status")" ]] ||
    fail "$name: exit status $(cat "$linux/status") on Linux, $(cat "$windows/status") on Windows"
  if ! diff -r -q "$linux/out" "$windows/out" >/dev/null; then
    fail "$name: the outputs differ"
    diff -r -q "$linux/out" "$windows/out" | head -5
  fi
  if ! diff <(messages "$linux/start/mirqlog.txt" | sed "s|$linux/|SIDE/|g") \
            <(messages "$windows/start/mirqlog.txt" | sed "s|$windows/|SIDE/|g") >"$work/$name.logdiff"; then
    fail "$name: the logs differ"
    head -10 "$work/$name.logdiff"
  fi
  grep -q '\\' "$windows/start/mirqlog.txt" || fail "$name: no Windows path in the Windows log"
  echo "$name: $(find "$linux/out" -type f | wc -l) files compared"
}

python3 "$source_dir/bench/make_collection.py" download "$work/generated/songs" 1000 --companions \
  --catalogue "$work/generated/products.cp" >/dev/null
python3 "$source_dir/bench/make_collection.py" songlist "$work/generated-disc" 300 >/dev/null

run_both samples-download "$source_dir/samples/download" --list --config-renumber --copy-all
compare samples-download
run_both samples-disc "$source_dir/samples/disc/list.txt" --disc --list --config-keep --index keep
compare samples-disc
run_both generated-download "$work/generated/songs" --list --config-renumber --copy-all
compare generated-download
run_both generated-disc "$work/generated-disc/list.txt" --disc --list --config-renumber --copy-all
compare generated-disc

# The song book (HTML on both) of the same source: the samples, and
# songlists whose names the book folds, merges and heads (accents, "The",
# Hangul), each in its own code page. Both programs must write it byte for byte.
mkdir -p "$work/book"
python3 - "$work/book" <<'PYTHON'
import os, sys
names = {"cp1252": [("\u00c9dith Piaf", "Non, je ne regrette rien"), ("The Beatles", "Help!"),
                    ("Beatles, The", "Yesterday"), ("Beyonc\u00e9", "Halo"), ("Beyonce", "Crazy in Love"),
                    ("M\u00f6tley Cr\u00fce", "\u00dcber alles"), ("\u00d8ystein", "\u00c7a plane"), ("'Til Tuesday", "Voices")],
         "cp949": [("\uac00\uc218", "\uc0ac\ub791"), ("\ub098\ube44", "\uae4c\uce58"), ("Zed", "\ud558\ub298")]}
for encoding, songs in names.items():
    folder = os.path.join(sys.argv[1], encoding)
    os.makedirs(folder)
    with open(os.path.join(folder, "list.txt"), "wb") as songlist:
        for number, (singer, title) in enumerate(songs, 1):
            songlist.write(("%d|%s|%s\r\n" % (number, title, singer)).encode(encoding))
            for ending in ("mp3", "mcg"):
                open(os.path.join(folder, "%d.%s" % (number, ending)), "wb").close()
PYTHON
compare_books() {
  local name="$1"
  shift
  "$linux_cli" book "$@" --out "$work/book/$name-linux.html" >/dev/null 2>&1 || fail "book $name: the Linux run failed"
  local windows_args=() arg
  for arg in "$@"; do [[ "$arg" == /* ]] && windows_args+=("$(windows_path "$arg")") || windows_args+=("$arg"); done
  timeout 300 "$wine_run" "$windows_cli" book "${windows_args[@]}" --out "$(windows_path "$work/book/$name-windows.html")" \
    </dev/null >/dev/null 2>&1 || fail "book $name: the Windows run failed"
  cmp -s "$work/book/$name-linux.html" "$work/book/$name-windows.html" || fail "book $name: the HTML books differ"
}
compare_books samples --source "$source_dir/samples/download"
compare_books cp1252 --disc --source "$work/book/cp1252/list.txt"
compare_books cp949 --disc --source "$work/book/cp949/list.txt" --encoding CP949

# The source in other letters: the Windows file system finds it all the same.
upper="$(windows_path "$source_dir/samples/download" | tr '[:lower:]' '[:upper:]')"
mkdir -p "$work/mixed/start"
cp "$source_dir/samples/products.cp" "$work/mixed/start/"
status=0
(cd "$work/mixed/start" && timeout 300 "$wine_run" "$windows_cli" make --source "$upper" \
  --target "$(windows_path "$work/mixed/out")" --list --config-renumber --copy-all \
  </dev/null >/dev/null 2>&1) || status=$?
[[ $status -eq $(cat "$work/samples-download/windows/status") ]] ||
  fail "mixed-case source: exit $status, not as with the path as it is spelled"
diff -r -q "$work/samples-download/windows/out" "$work/mixed/out" >/dev/null ||
  fail "mixed-case source: the outputs differ from the run with the path as it is spelled"
grep -q "add data : ${upper//\\/\\\\}\\\\" "$work/mixed/start/mirqlog.txt" ||
  fail "mixed-case source: the log does not name the songs by the path as given"

# A target whose ENGLISH.KVX path is exactly 259 characters works; one more
# character and the run is refused before it makes anything: the error box, exit 1.
for length in 259 260; do
  base="$(windows_path "$work/long$length")"
  folder_length=$((length - ${#base} - 1 - 12))
  target="$base\\$(printf 'd%.0s' $(seq 1 "$folder_length"))"
  kvx="$target\\ENGLISH.KVX"
  [[ ${#kvx} -eq $length ]] || { fail "built a path of ${#kvx} characters, not $length"; continue; }
  mkdir -p "$work/long$length/start"
  cp "$source_dir/samples/products.cp" "$work/long$length/start/"
  status=0
  (cd "$work/long$length/start" && timeout 300 "$wine_run" "$windows_cli" make \
    --source "$(windows_path "$source_dir/samples/download")" --target "$target" \
    --list --config-renumber --copy-all </dev/null >/dev/null 2>&1) || status=$?
  if [[ $length -eq 259 ]]; then
    linux_status=$(cat "$work/samples-download/linux/status")
    [[ $status -eq $linux_status ]] || fail "a 259-character index path: exit $status, on Linux $linux_status"
    cmp -s "$work/long$length/$(printf 'd%.0s' $(seq 1 "$folder_length"))/ENGLISH.KVX" \
      "$work/samples-download/linux/out/ENGLISH.KVX" || fail "a 259-character index path: index differs"
  else
    [[ $status -eq 1 ]] || fail "a 260-character index path: exit $status, not 1"
    # Refused before anything is made: no room for the run's files there.
    grep -q 'target folder path is too long' "$work/long$length/start/mirqlog.txt" ||
      fail "a 260-character index path: no 'target folder path is too long' line"
    [[ ! -e "$work/long$length/$(printf 'd%.0s' $(seq 1 "$folder_length"))" ]] ||
      fail "a 260-character index path: the target folder was made"
  fi
done

[[ $failures -eq 0 ]] && echo "Windows and Linux sessions agree"
exit $((failures > 0))
