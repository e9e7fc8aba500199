#!/usr/bin/env bash
# Fails when a folder includes a folder above it, or when code outside the
# platform layer and the toolkit halves of the desktop programs knows which
# system it runs on. The layers, lowest first; sources/ and outputs/ stand
# side by side and may not include each other; the song book (book/) stands
# on the run; the front ends on everything below them, the two desktop
# programs on ui/common/ and never on each other. Sub-folders belong to
# their folder's layer.
set -euo pipefail
cd "$(dirname "$0")/../.."

library="platform core log sources outputs run book"
declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [log]="log core platform"
  [sources]="sources log core platform"
  [outputs]="outputs log core platform"
  [run]="run sources outputs log core platform"
  [book]="book run sources outputs log core platform"
  [cli]="cli $library"
  [ui/common]="ui/common $library"
  [ui/wx]="ui/wx ui/common $library"
  [ui/win32]="ui/win32 ui/common $library"
)

# The folder an include names: its first component, or two for ui/.
folder_of() {
  local path=$1
  if [[ $path == ui/* ]]; then
    path=${path#ui/}
    echo "ui/${path%%/*}"
  else
    echo "${path%%/*}"
  fi
}

sources_of() { find "$1" \( -name '*.h' -o -name '*.cpp' \) -type f | sort; }

status=0
for layer in "${!allowed[@]}"; do
  while IFS=: read -r file _ include; do
    target=${include#*\"}
    target=$(folder_of "${target%%\"*}")
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file includes $target/, which $layer/ may not"
      status=1
    fi
  done < <(sources_of "$layer" | xargs grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_0-9]+/' || true)
done

# Only platform/ and the toolkit folders may know the system.
system_free="core log sources outputs run book cli ui/common"
while IFS= read -r line; do
  echo "$line: only platform/ (or a toolkit folder of ui/) may know the system"
  status=1
done < <(for folder in $system_free; do sources_of "$folder"; done |
  xargs grep -n -H -i -E '#[[:space:]]*include[[:space:]]*<(unistd\.h|windows\.h|filesystem|fcntl\.h|io\.h|dirent\.h|iconv\.h|sys/[a-z_]+\.h)>|\b_WIN32\b' || true)

[[ $status -eq 0 ]] && echo "layers: every include points down, and only platform/ knows the system"
exit $status
