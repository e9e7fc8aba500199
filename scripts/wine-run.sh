#!/usr/bin/env bash
# Runs a Windows program under Wine with a Wine prefix of its own, inside the
# build folder (never the user's home): WINEPREFIX when set, otherwise
# <build folder>/wine beside the program's bin/ folder.
set -euo pipefail
program="$1"
shift
if [[ -z "${WINEPREFIX:-}" ]]; then
  WINEPREFIX="$(cd "$(dirname "$program")/.." && pwd)/wine"
fi
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
[[ -x "$wine" ]] || wine="$(command -v wine64 || command -v wine)"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  # Wine's services keep the caller's output open: their output goes nowhere,
  # or a pipeline that reads ours would never end.
  (flock 9
   if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
     "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
     wineserver -w </dev/null >/dev/null 2>&1 || true
   fi) 9>"$WINEPREFIX.lock"
fi
wineserver -p </dev/null >/dev/null 2>&1 || true
# Wine starts its services with the first program and they keep that
# program's output open: a first program of no output of its own starts them,
# or whoever reads this program's output (ctest) would wait for them forever.
"$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$program" "$@"
