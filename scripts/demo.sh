#!/usr/bin/env bash
# Builds valmero-cli and runs it on the bundled sample collection.
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

echo "== Disc collection: samples/disc/list.txt -> demo-output/disc"
status=0
"$cli" make --disc --source "$root/samples/disc/list.txt" --target "$out/disc" --list --config-renumber || status=$?
cp mirqlog.txt disc-mirqlog.txt

echo
echo "== What was written:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  demo-output/|')
if [[ -f "$out/disc/LIST.TXT" ]]; then
  echo
  echo "== demo-output/disc/LIST.TXT:"
  tr -d '\r' < "$out/disc/LIST.TXT" | sed 's/^/  /'
fi
echo
echo "== The activity log, demo-output/disc-mirqlog.txt:"
tr -d '\r' < disc-mirqlog.txt | sed 's/^/  /'
exit "$status"
