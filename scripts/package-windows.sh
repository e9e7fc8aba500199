#!/usr/bin/env bash
# Makes the Windows release files with the windows preset (MinGW-w64 cross
# build): valmero-VERSION-windows-x64.zip and, with wixl installed, the
# installer valmero-VERSION-windows-x64.msi. Both hold valmero.exe,
# valmero-cli.exe, help.htm, README.txt, LICENSE.txt and
# THIRD-PARTY-NOTICES.txt; the programs need only the DLLs every 64-bit
# Windows has.
#   scripts/package-windows.sh [OUTPUT_FOLDER]     (default: the repository)
set -euo pipefail
cd "$(dirname "$0")/.."
output="$(realpath "${1:-.}")"

cmake --preset windows >/dev/null
cmake --build --preset windows
mkdir -p "$output"
for file in build-windows/release/valmero-*-windows-x64.{zip,msi}; do
  [[ -f "$file" ]] || continue
  [[ "$(realpath "$(dirname "$file")")" == "$output" ]] || cp "$file" "$output/"
  echo "$output/$(basename "$file")"
done
