# What the scripts that drive the Windows desktop program share, sourced
# with their arguments (BIN_DIR first): the folders, Wine's prefix, a virtual
# display, a work folder removed at the end, the dialog driver and a Wine
# server of this display alone.
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
bin="$(cd "$1" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$(cd "$bin/.." && pwd)/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_run="$source_dir/scripts/wine-run.sh"

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-desktop-XXXXXX")"
trap 'rm -rf "$work"' EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
driver() { timeout "${limit:-60}" "$wine_run" "$bin/valmero_driver.exe" "$@" </dev/null 2>>"$work/driver.err"; }

# A fresh display: Wine's services of an earlier display are not asked. The
# old server is waited for: a program started while it is still going away
# can hang on it.
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
