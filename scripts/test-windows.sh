#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests
# under Wine, in a Wine prefix inside the build folder. Needs the Linux
# build of the default preset for the comparison of the two programs.
set -euo pipefail
cd "$(dirname "$0")/.."

export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
# Wine's services keep open whatever output they were started with: all of
# it goes nowhere, or a pipeline over this script would never end.
stop_wine() { timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; }
trap stop_wine EXIT

cmake --preset windows >/dev/null
cmake --build --preset windows

mkdir -p "$WINEPREFIX"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  timeout 300 "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
  timeout 300 wineserver -w </dev/null >/dev/null 2>&1 || true
fi
wineserver -p </dev/null >/dev/null 2>&1 || true
# The services start with the first program and keep its output open: a
# program that writes nothing starts them before ctest reads any output.
timeout 120 "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

ctest --preset windows

echo "== The zip for Windows users"
unzip -l build-windows/release/valmero-*-windows-x64.zip
