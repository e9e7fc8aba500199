#!/usr/bin/env bash
# Builds valmero-cli and runs it on the bundled sample collections: the
# download folder (the main job: index, LIST.TXT and the numbered copies) and
# the disc songlist.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
cmake -S . -B build-demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DVALMERO_BUILD_GUI=OFF \
  -DVALMERO_BUILD_TESTS=OFF >/dev/null
cmake --build build-demo --target valmero-cli >/dev/null
cli=$root/build-demo/bin/valmero-cli

out=$root/demo-output
rm -rf "$out"
mkdir -p "$out"
# The log and products.cp belong to the directory the program starts in.
cp samples/products.cp "$out/" 2>/dev/null || true
cd "$out"

# Exit status 3 means "finished, but some files could not be copied": the
# download sample holds a song without its .MCG companion on purpose.
status=0
run() {
  local code=0
  "$@" || code=$?
  if [[ $code -ne 0 && $code -ne 3 ]]; then status=$code; fi
}

echo "== Before the run: what valmero-cli check says of samples/download"
run "$cli" check --source "$root/samples/download" --target "$out/download"

# Each session empties mirqlog.txt, so each run's log is kept under its own name.
echo
echo "== Download collection: samples/download -> demo-output/download (and its song book)"
run "$cli" make --source "$root/samples/download" --target "$out/download" --list --book "$out/songbook.html"
cp mirqlog.txt download-mirqlog.txt

echo
echo "== Disc collection: samples/disc/list.txt -> demo-output/disc"
run "$cli" make --disc --source "$root/samples/disc/list.txt" --target "$out/disc" --list --config-renumber
cp mirqlog.txt disc-mirqlog.txt
rm -f mirqlog.txt

echo
echo "== What was written:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  demo-output/|')
for run in download disc; do
  if [[ -f "$out/$run/LIST.TXT" ]]; then
    echo
    echo "== demo-output/$run/LIST.TXT:"
    tr -d '\r' < "$out/$run/LIST.TXT" | sed 's/^/  /'
  fi
done
if [[ -f "$out/download/ENGLISH.KVX" ]] && inspected=$("$cli" inspect "$out/download/ENGLISH.KVX" 2>&1); then
  echo
  echo "== valmero-cli inspect demo-output/download/ENGLISH.KVX:"
  printf '%s\n' "$inspected" | sed 's/^/  /'
fi
for run in download disc; do
  echo
  echo "== The activity log, demo-output/$run-mirqlog.txt:"
  tr -d '\r' < "$run-mirqlog.txt" | sed 's/^/  /'
done
exit "$status"
