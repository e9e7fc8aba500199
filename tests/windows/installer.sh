#!/usr/bin/env bash
# The Windows installer under Wine, the way a user meets it: a silent install
# puts the programs, the Windows help, the licence and the notices into
# Program Files, registers in Apps and Features and adds a Start-menu
# shortcut that starts the desktop program in Documents\VALMERO, where its log
# is written; the installed valmero-cli makes the samples there as the Linux
# program does; a silent uninstall leaves nothing installed and the user's
# folder and files alone.
#   installer.sh MSI BIN_DIR LINUX_CLI      (BIN_DIR: valmero_driver.exe)
# Exit 77 (skipped) when the MSI or the Linux program has not been built.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
msi="$(realpath "$1")" bin="$(realpath "$2")" linux_cli="$(realpath "$3")"
for needed in "$msi" "$linux_cli"; do
  [[ -f "$needed" ]] || { echo "skipped: no $needed (build it first)"; exit 77; }
done
export WINEPREFIX="${WINEPREFIX:-$(cd "$bin/.." && pwd)/wine}"
wine_run="$source_dir/scripts/wine-run.sh"
wine() { timeout 300 "$wine_run" "$@" </dev/null; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

work="$(mktemp -d "${TMPDIR:-/tmp}/valmero-installer-XXXXXX")"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
installer() { wine msiexec "$1" "$(windows_path "$msi")" /qn >/dev/null 2>&1; }

wine cmd.exe /c exit >/dev/null 2>&1 || true
drive_c="$WINEPREFIX/drive_c"
user="$(wine cmd.exe /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
# Wine links Documents to the Linux home: the test's own folder takes its
# place, so that nothing is written outside the Wine prefix.
documents="$drive_c/users/$user/Documents"
if [[ -L "$documents" ]]; then rm "$documents"; fi
mkdir -p "$documents"
folder="$documents/VALMERO"
program_files="$drive_c/Program Files/VALMERO"
# The common Start menu, or the user's where Wine's installer puts it.
shortcuts=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/VALMERO.lnk"
           "$drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/VALMERO.lnk")
trap 'installer /x || true; rm -rf "$work" "$folder"' EXIT
installer /x || true  # what a failed run before may have left
rm -rf "$folder"

installer /i || fail "the silent install ended with $?"
for name in valmero.exe valmero-cli.exe help.htm LICENSE.txt THIRD-PARTY-NOTICES.txt README.txt; do
  [[ -s "$program_files/$name" ]] || fail "not installed: Program Files\\VALMERO\\$name"
done
grep -q 'HKEY_CURRENT_USER' "$program_files/help.htm" && ! grep -q '\.config' "$program_files/help.htm" ||
  fail "the installed help.htm is not the Windows help"
grep -q 'MinGW-w64' "$program_files/THIRD-PARTY-NOTICES.txt" && ! grep -q 'NOT FOUND' "$program_files/THIRD-PARTY-NOTICES.txt" ||
  fail "the notices lack a library's licence"
python3 "$here/resource_types.py" "$program_files/valmero.exe" "$program_files/valmero-cli.exe" ||
  fail "a program lacks its version, icon or manifest"
shortcut=""
for candidate in "${shortcuts[@]}"; do [[ -f "$candidate" ]] && shortcut="$candidate"; done
[[ -n "$shortcut" ]] || fail "no Start-menu shortcut VALMERO.lnk"
strings -el "$shortcut" 2>/dev/null | grep -qiF "C:\\users\\$user\\Documents\\VALMERO" ||
  fail "the shortcut does not start the program in Documents\\VALMERO"
[[ -d "$folder" ]] || fail "Documents\\VALMERO was not created"
wine uninstaller --list 2>/dev/null | grep -q '|||VALMERO ' || fail "not in Apps and Features"
linux_version="$("$linux_cli" --version)"
windows_version="$(wine "$program_files/valmero-cli.exe" --version 2>/dev/null | tr -d '\r')"
[[ "$windows_version" == "$linux_version" ]] ||
  fail "the installed valmero-cli says '$windows_version', the Linux one '$linux_version'"
desktop_version="$(wine "$program_files/valmero.exe" --version 2>/dev/null | tr -d '\r')"
[[ "$desktop_version" == "${linux_version/valmero-cli/valmero}" ]] ||
  fail "the installed valmero.exe says '$desktop_version', the Linux valmero-cli '$linux_version'"

# The samples, made by the installed program in the user's folder and by the
# Linux one: the same files, byte for byte, and the same exit status.
cp "$source_dir/samples/products.cp" "$folder/"
mkdir -p "$work/linux"
cp "$source_dir/samples/products.cp" "$work/linux/"
while read -r name sample options; do
  linux_status=0 windows_status=0
  source="$source_dir/samples/$sample"
  (cd "$work/linux" && "$linux_cli" make --source "$source" --target "$work/linux/$name" $options \
    >/dev/null 2>&1) || linux_status=$?
  (cd "$folder" && wine "$program_files/valmero-cli.exe" make --source "$(windows_path "$source")" \
    --target "C:\\users\\$user\\Documents\\VALMERO\\$name" $options >/dev/null 2>&1) || windows_status=$?
  [[ $linux_status -eq $windows_status ]] || fail "$name: exit $windows_status, on Linux $linux_status"
  diff -r -q "$work/linux/$name" "$folder/$name" || fail "$name: the outputs differ from the Linux run"
  grep -q 'THIS IS "VALMERO"' "$folder/mirqlog.txt" || fail "$name: no log in Documents\\VALMERO"
done <<'SAMPLES'
download download --list --config-renumber --copy-all
disc disc/list.txt --disc --list --config-keep --index keep
SAMPLES

# The shortcut starts the desktop program where it writes its log.
if [[ -n "${DISPLAY:-}" ]] || command -v xvfb-run >/dev/null; then
  echo "earlier log" >"$folder/mirqlog.txt"
  display=()
  [[ -n "${DISPLAY:-}" ]] || display=(xvfb-run -a -s "-screen 0 1024x768x24")
  # Wine's services started without this display would not show the window.
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  # Wine's start cannot wait for a program started through a shortcut: the
  # log says when the program is up and when it has ended.
  timeout 200 "${display[@]}" bash -c '
    wait_for() { for _ in $(seq 60); do grep -q "$1" "$2" 2>/dev/null && return; sleep 1; done; }
    timeout 60 "$1" start "$2" </dev/null >/dev/null 2>&1
    wait_for "THIS IS" "$3"
    for _ in $(seq 10); do timeout 20 "$1" "$4/valmero_driver.exe" exit </dev/null >/dev/null 2>&1 && break; sleep 1; done
    wait_for "terminate VALMERO" "$3"' _ "$wine_run" \
    "$(windows_path "${shortcut#"$drive_c"}" | sed 's/^Z:/C:/')" "$folder/mirqlog.txt" "$bin" || true
  grep -q 'terminate VALMERO' "$folder/mirqlog.txt" ||
    fail "the shortcut did not start the program with its log in Documents\\VALMERO: $(head -3 "$folder/mirqlog.txt")"
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
else
  echo "no display and no xvfb-run: the shortcut is not started"
fi

installer /x || fail "the silent uninstall ended with $?"
[[ ! -e "$program_files" ]] || fail "left behind: $(find "$program_files" | head -3 | tr '\n' ' ')"
for candidate in "${shortcuts[@]}"; do [[ ! -e "$candidate" ]] || fail "left behind: the Start-menu shortcut"; done
wine uninstaller --list 2>/dev/null | grep -q '|||VALMERO ' && fail "still in Apps and Features"
wine reg.exe query 'HKCU\Software\VALMERO\Installer' >/dev/null 2>&1 && fail "left behind: HKCU\\Software\\VALMERO\\Installer"
for name in products.cp mirqlog.txt download/ENGLISH.KVX; do
  [[ -f "$folder/$name" ]] || fail "the uninstall took the user's $name"
done

[[ $failures -eq 0 ]] && echo "the installer installs, runs the samples and uninstalls cleanly"
exit $((failures > 0))
