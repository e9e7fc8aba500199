#!/usr/bin/env bash
# Fails when a folder of the library includes a folder above it. The layers,
# lowest first; sources/ and outputs/ stand side by side and may not include
# each other; the song book (book/) stands on the run. The front ends (cli/,
# ui/) may include everything.
set -euo pipefail
cd "$(dirname "$0")/../.."

declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [log]="log core platform"
  [sources]="sources log core platform"
  [outputs]="outputs log core platform"
  [run]="run sources outputs log core platform"
  [book]="book run sources outputs log core platform"
)

status=0
for layer in "${!allowed[@]}"; do
  while IFS=: read -r file _ include; do
    target=${include#*\"}
    target=${target%%/*}
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file includes $target/, a layer above $layer/"
      status=1
    fi
  done < <(grep -n -H -E '^#include "[a-z_]+/' "$layer"/*.h "$layer"/*.cpp 2>/dev/null || true)
done
[[ $status -eq 0 ]] && echo "layers: every include points down"
exit $status
